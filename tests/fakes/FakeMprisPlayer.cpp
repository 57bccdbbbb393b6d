#include "FakeMprisPlayer.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace talvo {

namespace {
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
int g_connections = 0;
} // namespace

FakeMprisPlayer::FakeMprisPlayer(QString busAddress, QString busName, QString identity, QString desktopEntry,
                                 QObject *parent)
    : QDBusVirtualObject(parent)
    , m_busAddress(std::move(busAddress))
    , m_busName(std::move(busName))
    , m_identity(std::move(identity))
    , m_desktopEntry(std::move(desktopEntry))
    , m_connectionName(QStringLiteral("fake-mpris-%1").arg(++g_connections))
{
}

FakeMprisPlayer::~FakeMprisPlayer()
{
    quit();
}

bool FakeMprisPlayer::start()
{
    QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, m_connectionName);
    if (!bus.isConnected())
        return false;
    if (!bus.registerVirtualObject(kPath, this, QDBusConnection::SingleNode))
        return false;
    m_started = bus.registerService(m_busName);
    return m_started;
}

void FakeMprisPlayer::quit()
{
    if (!m_started)
        return;
    m_started = false;
    QDBusConnection bus(m_connectionName);
    bus.unregisterService(m_busName);
    bus.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(m_connectionName);
}

void FakeMprisPlayer::setTracks(const QList<Track> &tracks)
{
    m_tracks = tracks;
    m_current = 0;
    announce({{QStringLiteral("Metadata"), metadata()}});
}

void FakeMprisPlayer::setCurrent(int index, bool announceIt)
{
    m_current = index;
    if (announceIt)
        announce({{QStringLiteral("Metadata"), metadata()}});
}

void FakeMprisPlayer::setPlaybackStatus(const QString &status, bool announceIt)
{
    m_status = status;
    if (announceIt)
        announce({{QStringLiteral("PlaybackStatus"), status}});
}

QVariantMap FakeMprisPlayer::metadata() const
{
    if (m_current < 0 || m_current >= m_tracks.size())
        return {};
    const Track &track = m_tracks.at(m_current);
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/talvo/track/%1").arg(m_current))));
    map.insert(QStringLiteral("xesam:title"), track.title);
    map.insert(QStringLiteral("xesam:artist"), track.artists);
    if (track.length.isValid())
        map.insert(QStringLiteral("mpris:length"), track.length);
    if (!track.artUrl.isEmpty())
        map.insert(QStringLiteral("mpris:artUrl"), track.artUrl);
    return map;
}

QVariantMap FakeMprisPlayer::rootProperties() const
{
    QVariantMap properties{{QStringLiteral("Identity"), m_identity}, {QStringLiteral("CanQuit"), false}};
    if (!m_desktopEntry.isEmpty())
        properties.insert(QStringLiteral("DesktopEntry"), m_desktopEntry);
    return properties;
}

QVariantMap FakeMprisPlayer::playerProperties() const
{
    return {{QStringLiteral("PlaybackStatus"), m_status},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Position"), m_position},
            {QStringLiteral("CanGoNext"), true}};
}

void FakeMprisPlayer::announce(const QVariantMap &changed)
{
    if (!m_started)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kProperties, QStringLiteral("PropertiesChanged"));
    if (m_invalidateOnly)
        signal << kPlayer << QVariantMap() << QStringList(changed.keys());
    else
        signal << kPlayer << changed << QStringList();
    QDBusConnection(m_connectionName).send(signal);
}

QString FakeMprisPlayer::introspect(const QString &) const
{
    return {};
}

bool FakeMprisPlayer::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    QString interface = message.interface();
    interface.remove(QStringLiteral("org.mpris.MediaPlayer2."));
    interface.remove(QStringLiteral("org.freedesktop.DBus."));
    m_calls.append(interface + QLatin1Char('.') + message.member());
    if (m_silent)
        return true;

    const QList<QVariant> args = message.arguments();
    if (message.interface() == kProperties) {
        const QVariantMap properties = args.value(0).toString() == kRoot ? rootProperties() : playerProperties();
        if (message.member() == u"GetAll")
            return connection.send(message.createReply(QVariant(properties)));
        if (message.member() == u"Get" && properties.contains(args.value(1).toString()))
            return connection.send(
                message.createReply(QVariant::fromValue(QDBusVariant(properties.value(args.value(1).toString())))));
        return connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                                        QStringLiteral("No such property")));
    }
    if (message.interface() == kPlayer) {
        if (message.member() == u"PlayPause")
            setPlaybackStatus(m_status == u"Playing" ? QStringLiteral("Paused") : QStringLiteral("Playing"));
        else if (message.member() == u"Next")
            setCurrent(std::min(m_current + 1, int(m_tracks.size()) - 1));
        else if (message.member() == u"Previous")
            setCurrent(std::max(m_current - 1, 0));
        else
            return false;
        return connection.send(message.createReply());
    }
    return false;
}

} // namespace talvo
