#pragma once

#include "platform/MediaPlayers.h"

#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace talvo {

// What is known of one MPRIS media player on the session bus.
struct MprisPlayer
{
    static inline const QString kBusPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
    static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
    static inline const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
    static inline const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

    QString busName;        // "org.mpris.MediaPlayer2.vlc.instance4711"
    QString owner;          // the unique name that owns busName
    QString identity;       // the player's own name ("VLC media player")
    QString desktopEntry;   // desktop file id without ".desktop"
    QString playbackStatus; // "Playing", "Paused", "Stopped"; empty until known
    QVariantMap metadata;   // plain Qt values (lists and maps, no D-Bus types)

    // Takes the properties of either interface that this record keeps; values
    // must already be plain (see plainValue()). True when the playback status
    // or the metadata changed.
    bool merge(const QVariantMap &properties);

    bool isPlaying() const { return playbackStatus == u"Playing"; }
    // The player's short name: the bus name without the prefix and without an
    // instance suffix ("vlc" for "org.mpris.MediaPlayer2.vlc.instance4711").
    QString shortName() const { return shortName(busName); }
    static QString shortName(const QString &busName);
    bool isSpotify() const { return shortName() == u"spotify"; }

    QString title() const;
    // The first of the artists; players that send a single text are read too.
    QString artist() const;
    // Track length in microseconds; players send any integer type (some a
    // floating point number). Nothing when missing, not a number or negative.
    std::optional<qint64> lengthMicroseconds() const;
    QString album() const;
    QString artUrl() const;
    // What the player states, as the status of the player in `slot`.
    PlayerStatus status(PlayerSlot slot, std::optional<qint64> positionMicroseconds) const;

    // D-Bus containers arrive as QDBusArgument (and variants as QDBusVariant)
    // inside QVariants; this turns them into QVariantMap, QStringList,
    // QVariantList and plain values, recursively.
    static QVariant plainValue(const QVariant &value);
    // Microseconds from a number of any width or sign, or from a double.
    static std::optional<qint64> microseconds(const QVariant &value);
};

} // namespace talvo

Q_DECLARE_METATYPE(talvo::MprisPlayer)
