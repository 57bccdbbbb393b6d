#include "MprisScriptHandler.h"

#include "MprisPlayers.h"
#include "platform/PlayerScripts.h"

#include <QDBusMessage>

namespace talvo {

namespace {
const QString kSpotify = QStringLiteral("Spotify");
const QString kMusic = QStringLiteral("Music");
} // namespace

MprisScriptHandler::MprisScriptHandler(std::shared_ptr<const MprisPlayers> players,
                                       ArtworkReader::Limits artworkLimits)
    : m_players(std::move(players)), m_artworkLimits(artworkLimits)
{
    m_tasks.insert(PlayerScripts::spotifyArtwork(), {Action::SpotifyArtwork, kSpotify});
    m_tasks.insert(PlayerScripts::musicArtwork(), {Action::MusicArtwork, kMusic});
    for (const QString &name : {kSpotify, kMusic}) {
        m_tasks.insert(PlayerScripts::stateQuery(name), {Action::Query, name});
        m_tasks.insert(PlayerScripts::command(name, QStringLiteral("playpause")), {Action::PlayPause, name});
        m_tasks.insert(PlayerScripts::command(name, QStringLiteral("next track")), {Action::Next, name});
        m_tasks.insert(PlayerScripts::command(name, QStringLiteral("previous track")), {Action::Previous, name});
    }
}

std::optional<ScriptResult> MprisScriptHandler::tryRun(const QString &source)
{
    const auto found = m_tasks.constFind(source);
    if (found == m_tasks.constEnd())
        return std::nullopt;
    const Task task = *found;
    const QString bundleId = task.scriptName == kSpotify ? RunningApplications::kSpotify : RunningApplications::kMusic;
    const auto player = m_players->player(bundleId);
    if (!player) {
        // The artwork scripts check "if it is running" and then answer nothing.
        if (task.action == Action::SpotifyArtwork || task.action == Action::MusicArtwork)
            return ScriptResult::ok(ScriptReply{});
        return ScriptResult::error(task.scriptName + QStringLiteral(" is not running"));
    }
    switch (task.action) {
    case Action::Query:
        return query(player->busName);
    case Action::SpotifyArtwork:
        return artwork(player->busName, false);
    case Action::MusicArtwork:
        return artwork(player->busName, true);
    case Action::PlayPause:
        return call(player->busName, QStringLiteral("PlayPause"));
    case Action::Next:
        return call(player->busName, QStringLiteral("Next"));
    case Action::Previous:
        return call(player->busName, QStringLiteral("Previous"));
    }
    return std::nullopt;
}

std::optional<MprisPlayer> MprisScriptHandler::playerState(const QString &busName, QString *error) const
{
    QDBusMessage ask = QDBusMessage::createMethodCall(busName, MprisPlayer::kObjectPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("GetAll"));
    ask << MprisPlayer::kPlayerInterface;
    const QDBusMessage reply = m_players->bus().call(ask, QDBus::Block, m_players->callTimeoutMs());
    if (reply.type() != QDBusMessage::ReplyMessage) {
        *error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return std::nullopt;
    }
    MprisPlayer state;
    state.busName = busName;
    state.merge(MprisPlayer::plainValue(reply.arguments().value(0)).toMap());
    return state;
}

ScriptResult MprisScriptHandler::query(const QString &busName) const
{
    QString error;
    const auto state = playerState(busName, &error);
    if (!state)
        return ScriptResult::error(error);
    if (state->playbackStatus == u"Stopped")
        return ScriptResult::ok(ScriptReply::fromText(QStringLiteral("stopped|||")));
    const QString status = state->isPlaying() ? QStringLiteral("playing") : QStringLiteral("paused");
    return ScriptResult::ok(
        ScriptReply::fromText(status + QLatin1Char('|') + state->title() + QLatin1Char('|') + state->artist()));
}

ScriptResult MprisScriptHandler::artwork(const QString &busName, bool asBytes) const
{
    QString error;
    const auto state = playerState(busName, &error);
    if (!state)
        return ScriptResult::error(error);
    const QString address = state->artUrl();
    if (address.isEmpty())
        return ScriptResult::ok(ScriptReply{});
    if (!asBytes)
        return ScriptResult::ok(ScriptReply::fromText(address));
    const ArtworkReader::Outcome outcome = ArtworkReader::read(QUrl(address), m_artworkLimits);
    if (!outcome.error.isEmpty())
        return ScriptResult::error(outcome.error);
    return ScriptResult::ok(ScriptReply::fromData(outcome.bytes));
}

ScriptResult MprisScriptHandler::call(const QString &busName, const QString &method) const
{
    const QDBusMessage ask =
        QDBusMessage::createMethodCall(busName, MprisPlayer::kObjectPath, MprisPlayer::kPlayerInterface, method);
    const QDBusMessage reply = m_players->bus().call(ask, QDBus::Block, m_players->callTimeoutMs());
    if (reply.type() != QDBusMessage::ReplyMessage)
        return ScriptResult::error(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
    return ScriptResult::ok(ScriptReply::fromText(QString()));
}

} // namespace talvo
