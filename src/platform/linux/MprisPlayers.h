#pragma once

#include "MprisPlayer.h"

#include <QDBusConnection>
#include <QHash>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <functional>
#include <optional>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace talvo {

// The MPRIS media players on a bus, kept current without ever waiting on one:
// a service watcher sees names come and go, every player is asked for its
// properties once (asynchronously, with a timeout), and PropertiesChanged
// keeps them up to date.
//
// Calls to one player go one at a time (callPlayer(), callPlayerBlocking()):
// a player that takes calls and never answers holds one call of ours until it
// times out, never one per poll and property.
//
// The players in the two slots:
// - Spotify: the player named org.mpris.MediaPlayer2.spotify (with or without
//   an instance suffix);
// - Other: the first other player, a playing one before the rest, then by
//   bus name.
//
// Lives on the main thread and signals there. players(), player(),
// isRunning() and displayName() may be called from any thread; icon() from
// the main thread.
class MprisPlayers final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultCallTimeoutMs = 2000;
    static constexpr int kIconSize = 64;

    explicit MprisPlayers(QDBusConnection bus, int callTimeoutMs = kDefaultCallTimeoutMs, QObject *parent = nullptr);
    ~MprisPlayers() override;

    // Sorted by bus name.
    QList<MprisPlayer> players() const;
    // The player in a slot, if one is running.
    std::optional<MprisPlayer> player(PlayerSlot slot) const;
    static std::optional<MprisPlayer> choose(const QList<MprisPlayer> &players, PlayerSlot slot);

    bool isRunning(PlayerSlot slot) const;
    QString displayName(PlayerSlot slot) const;
    QImage icon(PlayerSlot slot) const;

    QDBusConnection bus() const { return m_bus; }
    int callTimeoutMs() const { return m_callTimeoutMs; }

    // Calls the player owned by `owner` (a unique bus name) once it has
    // answered the calls before; `done` runs on the main thread with the
    // reply (an error message after a failure or a timeout). A call equal to
    // one already waiting replaces it. Main thread only.
    void callPlayer(const QString &owner, const QDBusMessage &message,
                    std::function<void(const QDBusMessage &reply)> done);
    // Calls and waits for the reply, from a thread other than the main one.
    // A call to that player already out is waited for first, up to the call
    // timeout; after that the answer is an error, and nothing is sent.
    QDBusMessage callPlayerBlocking(const QString &owner, const QDBusMessage &message) const;

signals:
    void playerAdded(const QString &busName);
    // The playback status or the metadata became known or changed.
    void playerChanged(const QString &busName);
    // After the player's name lost its owner; `player` is its last state.
    void playerRemoved(const talvo::MprisPlayer &player);

private slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated,
                           const QDBusMessage &message);

private:
    void ownerChanged(const QString &busName, const QString &oldOwner, const QString &newOwner);
    void add(const QString &busName, const QString &owner);
    void remove(const QString &busName);
    void askForProperties(const QString &busName, const QString &owner, const QString &interface);
    void askForProperty(const QString &busName, const QString &owner, const QString &name);
    // Merges into the player if `owner` still owns its name.
    void update(const QString &busName, const QString &owner, const QVariantMap &properties);
    void callAsync(const QDBusMessage &message, std::function<void(const QDBusMessage &reply)> done);
    using Done = std::function<void(const QDBusMessage &reply)>;
    // Sends the next waiting call to the player, or marks its line free.
    void sendNext(const QString &owner);
    // Whether a player's name belongs to `owner`; with m_mutex held.
    bool ownsAPlayer(const QString &owner) const;
    void send(const QString &owner, const QDBusMessage &message, Done done);

    // The calls to one player: whether one is out, and those waiting for it.
    struct CallLine
    {
        bool busy = false;
        QList<std::pair<QDBusMessage, Done>> waiting;
    };

    QDBusConnection m_bus;
    const int m_callTimeoutMs;
    QDBusServiceWatcher *m_watcher = nullptr;
    mutable QMutex m_mutex; // guards m_players and m_lines
    QMap<QString, MprisPlayer> m_players;
    mutable QHash<QString, CallLine> m_lines; // by owner
    mutable QWaitCondition m_lineFreed;
    mutable QHash<QString, QImage> m_icons; // by desktop entry; main thread
};

} // namespace talvo
