#include "MprisPlayerNotifications.h"

#include "MprisPlayers.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace talvo {

namespace {

QVariantMap commonPayload(const MprisPlayer &player)
{
    QVariantMap payload;
    // MPRIS and the notifications share the three state names.
    payload.insert(QStringLiteral("Player State"),
                   player.playbackStatus.isEmpty() ? QStringLiteral("Stopped") : player.playbackStatus);
    if (const QString title = player.title(); !title.isEmpty())
        payload.insert(QStringLiteral("Name"), title);
    if (const QString artist = player.artist(); !artist.isEmpty())
        payload.insert(QStringLiteral("Artist"), artist);
    return payload;
}

std::optional<double> milliseconds(const MprisPlayer &player)
{
    const auto length = player.lengthMicroseconds();
    return length ? std::optional(double(*length) / 1000.0) : std::nullopt;
}

} // namespace

MprisPlayerNotifications::MprisPlayerNotifications(MprisPlayers &players, QObject *parent)
    : PlayerNotifications(parent), m_players(players)
{
    connect(&players, &MprisPlayers::playerChanged, this, &MprisPlayerNotifications::playerChanged);
    connect(&players, &MprisPlayers::playerAdded, this, [this] { m_musicBusName = currentMusicPlayer(); });
    connect(&players, &MprisPlayers::playerRemoved, this, &MprisPlayerNotifications::playerRemoved);
    m_musicBusName = currentMusicPlayer();
}

QVariantMap MprisPlayerNotifications::musicPayload(const MprisPlayer &player)
{
    QVariantMap payload = commonPayload(player);
    if (const auto length = milliseconds(player))
        payload.insert(QStringLiteral("Total Time"), *length);
    return payload;
}

QVariantMap MprisPlayerNotifications::spotifyPayload(const MprisPlayer &player, std::optional<double> positionSeconds)
{
    QVariantMap payload = commonPayload(player);
    if (const auto length = milliseconds(player))
        payload.insert(QStringLiteral("Duration"), *length);
    if (positionSeconds)
        payload.insert(QStringLiteral("Playing Position"), *positionSeconds);
    return payload;
}

QString MprisPlayerNotifications::currentMusicPlayer() const
{
    const auto music = m_players.player(RunningApplications::kMusic);
    return music ? music->busName : QString();
}

void MprisPlayerNotifications::playerChanged(const QString &busName)
{
    const QList<MprisPlayer> players = m_players.players();
    const auto changed = std::find_if(players.cbegin(), players.cend(),
                                      [&](const MprisPlayer &player) { return player.busName == busName; });
    if (changed == players.cend())
        return;
    if (changed->isSpotify()) {
        const auto spotify = MprisPlayers::choose(players, RunningApplications::kSpotify);
        if (spotify && spotify->busName == busName)
            postSpotify(*changed);
        return;
    }
    const auto music = MprisPlayers::choose(players, RunningApplications::kMusic);
    m_musicBusName = music ? music->busName : QString();
    // Another player's news is not Music's while a different one stands for it.
    if (m_musicBusName == busName)
        emit posted(kMusicPlayerInfo, musicPayload(*changed));
}

void MprisPlayerNotifications::playerRemoved(const MprisPlayer &player)
{
    MprisPlayer gone = player;
    gone.playbackStatus = QStringLiteral("Stopped");
    gone.metadata.clear();
    if (player.isSpotify()) {
        if (!m_players.isRunning(RunningApplications::kSpotify)) {
            ++m_spotifySequence; // a position still on its way is stale now
            emit posted(kSpotifyPlaybackStateChanged, spotifyPayload(gone, std::nullopt));
        }
        return;
    }
    const bool wasMusic = player.busName == m_musicBusName;
    m_musicBusName = currentMusicPlayer();
    if (wasMusic)
        emit posted(kMusicPlayerInfo, musicPayload(gone));
}

void MprisPlayerNotifications::postSpotify(const MprisPlayer &player)
{
    const quint64 sequence = ++m_spotifySequence;
    QDBusMessage ask = QDBusMessage::createMethodCall(player.busName, MprisPlayer::kObjectPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    ask << MprisPlayer::kPlayerInterface << QStringLiteral("Position");
    auto *watcher = new QDBusPendingCallWatcher(m_players.bus().asyncCall(ask, m_players.callTimeoutMs()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, player, sequence] {
        watcher->deleteLater();
        // A newer state of the player is already on its way.
        if (sequence != m_spotifySequence)
            return;
        std::optional<double> position;
        if (!watcher->isError()) {
            const auto microseconds = MprisPlayer::microseconds(MprisPlayer::plainValue(watcher->reply().arguments().value(0)));
            if (microseconds)
                position = double(*microseconds) / 1e6;
        }
        emit posted(kSpotifyPlaybackStateChanged, spotifyPayload(player, position));
    });
}

} // namespace talvo
