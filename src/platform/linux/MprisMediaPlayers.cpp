#include "MprisMediaPlayers.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

#include <algorithm>

namespace talvo {

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QString slotName(PlayerSlot slot)
{
    return slot == PlayerSlot::Spotify ? QStringLiteral("Spotify") : QStringLiteral("the other player");
}

QString notRunning(PlayerSlot slot)
{
    return slotName(slot) + QStringLiteral(" is not running");
}

QString replyError(const QDBusMessage &reply)
{
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
}

QString methodName(PlayerCommand command)
{
    switch (command) {
    case PlayerCommand::PlayPause:
        return QStringLiteral("PlayPause");
    case PlayerCommand::Next:
        return QStringLiteral("Next");
    case PlayerCommand::Previous:
        return QStringLiteral("Previous");
    }
    return {};
}

} // namespace

MprisMediaPlayers::MprisMediaPlayers(QDBusConnection bus, int callTimeoutMs, ArtworkReader::Limits artworkLimits,
                                     QObject *parent)
    : MediaPlayers(parent), m_players(std::move(bus), callTimeoutMs), m_artworkLimits(artworkLimits)
{
    connect(&m_players, &MprisPlayers::playerChanged, this, &MprisMediaPlayers::playerChanged);
    connect(&m_players, &MprisPlayers::playerAdded, this, [this] { m_otherBusName = otherPlayerName(); });
    connect(&m_players, &MprisPlayers::playerRemoved, this, &MprisMediaPlayers::playerRemoved);
}

bool MprisMediaPlayers::isRunning(PlayerSlot slot) const
{
    return m_players.isRunning(slot);
}

QString MprisMediaPlayers::displayName(PlayerSlot slot) const
{
    return m_players.displayName(slot);
}

QImage MprisMediaPlayers::icon(PlayerSlot slot) const
{
    return m_players.icon(slot);
}

PlatformResult<MprisMediaPlayers::Answer> MprisMediaPlayers::ask(PlayerSlot slot) const
{
    const auto player = m_players.player(slot);
    if (!player)
        return PlatformResult<Answer>::failure(notRunning(slot));
    QDBusMessage ask = QDBusMessage::createMethodCall(player->busName, MprisPlayer::kObjectPath, kPropertiesInterface,
                                                      QStringLiteral("GetAll"));
    ask << MprisPlayer::kPlayerInterface;
    const QDBusMessage reply = m_players.callPlayerBlocking(player->owner, ask);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return PlatformResult<Answer>::failure(replyError(reply));
    const QVariantMap properties = MprisPlayer::plainValue(reply.arguments().value(0)).toMap();
    Answer answer;
    answer.player.busName = player->busName;
    answer.player.merge(properties);
    answer.position = MprisPlayer::microseconds(properties.value(QStringLiteral("Position")));
    return PlatformResult<Answer>::success(std::move(answer));
}

PlatformResult<PlayerStatus> MprisMediaPlayers::status(PlayerSlot slot)
{
    const auto answer = ask(slot);
    if (!answer.succeeded())
        return PlatformResult<PlayerStatus>::failure(answer.error);
    return PlatformResult<PlayerStatus>::success(answer.value->player.status(slot, answer.value->position));
}

PlatformResult<QString> MprisMediaPlayers::artworkAddress(PlayerSlot slot)
{
    if (!m_players.isRunning(slot))
        return PlatformResult<QString>::success();
    const auto answer = ask(slot);
    if (!answer.succeeded())
        return PlatformResult<QString>::failure(answer.error);
    return PlatformResult<QString>::success(answer.value->player.artUrl());
}

PlatformResult<QByteArray> MprisMediaPlayers::artworkBytes(PlayerSlot slot)
{
    const auto address = artworkAddress(slot);
    if (!address.succeeded())
        return PlatformResult<QByteArray>::failure(address.error);
    if (address.value->isEmpty())
        return PlatformResult<QByteArray>::success();
    const ArtworkReader::Outcome outcome = ArtworkReader::read(QUrl(*address.value), m_artworkLimits);
    if (!outcome.error.isEmpty())
        return PlatformResult<QByteArray>::failure(outcome.error);
    return PlatformResult<QByteArray>::success(outcome.bytes);
}

PlatformResult<> MprisMediaPlayers::send(PlayerSlot slot, PlayerCommand command)
{
    const auto player = m_players.player(slot);
    if (!player)
        return PlatformResult<>::failure(notRunning(slot));
    const QDBusMessage call = QDBusMessage::createMethodCall(player->busName, MprisPlayer::kObjectPath,
                                                             MprisPlayer::kPlayerInterface, methodName(command));
    const QDBusMessage reply = m_players.callPlayerBlocking(player->owner, call);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return PlatformResult<>::failure(replyError(reply));
    return PlatformResult<>::success();
}

QString MprisMediaPlayers::otherPlayerName() const
{
    const auto other = m_players.player(PlayerSlot::Other);
    return other ? other->busName : QString();
}

void MprisMediaPlayers::playerChanged(const QString &busName)
{
    const QList<MprisPlayer> players = m_players.players();
    const auto changed = std::find_if(players.cbegin(), players.cend(),
                                      [&](const MprisPlayer &player) { return player.busName == busName; });
    if (changed == players.cend())
        return;
    if (changed->isSpotify()) {
        const auto spotify = MprisPlayers::choose(players, PlayerSlot::Spotify);
        if (spotify && spotify->busName == busName)
            announceSpotify(*changed);
        return;
    }
    const auto other = MprisPlayers::choose(players, PlayerSlot::Other);
    m_otherBusName = other ? other->busName : QString();
    // News of a player that does not stand in the slot is not announced.
    if (m_otherBusName == busName)
        emit statusChanged(changed->status(PlayerSlot::Other, std::nullopt));
}

void MprisMediaPlayers::playerRemoved(const MprisPlayer &player)
{
    PlayerStatus stopped;
    if (player.isSpotify()) {
        if (m_players.isRunning(PlayerSlot::Spotify))
            return;
        ++m_spotifySequence; // a position still on its way is stale now
        stopped.slot = PlayerSlot::Spotify;
    } else {
        const bool wasOther = player.busName == m_otherBusName;
        m_otherBusName = otherPlayerName();
        if (!wasOther)
            return;
        stopped.slot = PlayerSlot::Other;
    }
    emit statusChanged(stopped);
}

void MprisMediaPlayers::announceSpotify(const MprisPlayer &player)
{
    const quint64 sequence = ++m_spotifySequence;
    QDBusMessage ask = QDBusMessage::createMethodCall(player.busName, MprisPlayer::kObjectPath, kPropertiesInterface,
                                                      QStringLiteral("Get"));
    ask << MprisPlayer::kPlayerInterface << QStringLiteral("Position");
    m_players.callPlayer(player.owner, ask, [this, player, sequence](const QDBusMessage &reply) {
        // A newer state of the player is already on its way.
        if (sequence != m_spotifySequence)
            return;
        std::optional<qint64> position;
        if (reply.type() == QDBusMessage::ReplyMessage)
            position = MprisPlayer::microseconds(MprisPlayer::plainValue(reply.arguments().value(0)));
        emit statusChanged(player.status(PlayerSlot::Spotify, position));
    });
}

} // namespace talvo
