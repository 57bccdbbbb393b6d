#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QVariantMap>

namespace talvo {

// A media player served on the session bus under its own connection, as an
// MPRIS player: the root and Player interfaces' properties, PropertiesChanged,
// PlayPause, Next and Previous over a small playlist. It can be told to stop
// answering altogether, like a player that hangs.
//
//     FakeMprisPlayer spotify(bus.address(), "org.mpris.MediaPlayer2.spotify", "Spotify", "spotify");
//     spotify.setTracks({{"One", {"Band"}, qlonglong(180000000), "https://..."}});
//     QVERIFY(spotify.start());
//     spotify.setPlaybackStatus("Playing");
//
// Main thread; it answers from the event loop, so a caller blocking the main
// thread on it would wait for its timeout.
class FakeMprisPlayer final : public QDBusVirtualObject
{
    Q_OBJECT
public:
    struct Track
    {
        QString title;
        QStringList artists;
        QVariant length; // microseconds, of whatever integer type the test likes; invalid: none
        QString artUrl;
    };

    // Served on the bus at `busAddress`.
    FakeMprisPlayer(QString busAddress, QString busName, QString identity, QString desktopEntry,
                    QObject *parent = nullptr);
    ~FakeMprisPlayer() override;

    // Takes the bus name; false when the bus is unreachable or the name is taken.
    bool start();
    // Gives the name up and leaves the bus.
    void quit();

    void setTracks(const QList<Track> &tracks);
    // The playlist position changes with Next and Previous.
    void setCurrent(int index, bool announce = true);
    void setPlaybackStatus(const QString &status, bool announce = true);
    void setPosition(const QVariant &microseconds) { m_position = microseconds; }
    // Announces changes only as invalidated property names, without values.
    void setAnnounceByInvalidation(bool on) { m_invalidateOnly = on; }
    // No reply to anything from now on.
    void setSilent(bool silent) { m_silent = silent; }

    QString playbackStatus() const { return m_status; }
    int current() const { return m_current; }
    // Methods called on it, as "Interface.Member" without the common prefix
    // ("Player.Next", "Properties.GetAll").
    QStringList calls() const { return m_calls; }

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    QVariantMap rootProperties() const;
    QVariantMap playerProperties() const;
    QVariantMap metadata() const;
    void announce(const QVariantMap &changed);

    QString m_busAddress;
    QString m_busName;
    QString m_identity;
    QString m_desktopEntry;
    QString m_connectionName;
    QList<Track> m_tracks;
    int m_current = 0;
    QString m_status = QStringLiteral("Stopped");
    QVariant m_position = qlonglong(0);
    bool m_invalidateOnly = false;
    bool m_silent = false;
    bool m_started = false;
    QStringList m_calls;
};

} // namespace talvo
