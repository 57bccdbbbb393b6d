#include "NowPlayingManager.h"

#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/WorkQueue.h"
#include "sources/ArtworkImage.h"
#include "platform/QmlInstances.h"

#include <QUrl>

#include <array>

namespace talvo {

const QString NowPlayingManager::kSpotifyName = QStringLiteral("Spotify");
const QString NowPlayingManager::kOtherName = QStringLiteral("Music");

namespace {

// The transport commands by the names the music card uses.
const std::array<std::pair<PlayerCommand, QLatin1StringView>, 3> kCommandNames{{
    {PlayerCommand::PlayPause, QLatin1StringView("playpause")},
    {PlayerCommand::Next, QLatin1StringView("next track")},
    {PlayerCommand::Previous, QLatin1StringView("previous track")},
}};

QString commandName(PlayerCommand command)
{
    for (const auto &[known, name] : kCommandNames) {
        if (known == command)
            return name;
    }
    return {};
}

// For the log and the artwork key.
QString slotName(PlayerSlot slot)
{
    return slot == PlayerSlot::Spotify ? QStringLiteral("Spotify") : QStringLiteral("the other player");
}

QString slotKey(PlayerSlot slot)
{
    return slot == PlayerSlot::Spotify ? QStringLiteral("spotify") : QStringLiteral("other");
}

double milliseconds(std::optional<std::chrono::microseconds> value)
{
    return value ? double(value->count()) / 1e3 : 0.0;
}

double seconds(std::optional<std::chrono::microseconds> value)
{
    return value ? double(value->count()) / 1e6 : 0.0;
}

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

NowPlayingManager::NowPlayingManager(MediaPlayers &players, HttpClient &http, WorkQueue &playerQueue,
                                     Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_players(players)
    , m_http(http)
    , m_playerQueue(playerQueue)
    , m_scheduler(scheduler)
    , m_progressBase{scheduler.monotonicMs(), 0}
{
    connect(&players, &MediaPlayers::statusChanged, this, &NowPlayingManager::statusChanged);
    refresh();
    m_refreshTimer = m_scheduler.every(kRefreshInterval, this, [this] { m_scheduler.post(this, [this] { refresh(); }); });
}

NowPlayingManager::~NowPlayingManager()
{
    m_refreshTimer.cancel();
    m_progressTimer.cancel();
}

NowPlayingManager *NowPlayingManager::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<NowPlayingManager>(qmlEngine);
}

template <typename T>
void NowPlayingManager::assign(T &field, const T &value, void (NowPlayingManager::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

std::optional<PlayerStatus> NowPlayingManager::queryPlayer(MediaPlayers &players, PlayerSlot slot)
{
    if (!players.isRunning(slot))
        return std::nullopt;
    const PlatformResult<PlayerStatus> result = players.status(slot);
    if (!result.succeeded()) {
        qCWarning(lcNowPlaying).noquote() << QStringLiteral("query of ") + slotName(slot)
                                             + QStringLiteral(" failed: ") + result.error;
        return std::nullopt;
    }
    if (result.value->state == PlaybackState::Stopped)
        return std::nullopt;
    return result.value;
}

void NowPlayingManager::refresh()
{
    MediaPlayers &players = m_players;
    // The job touches only the players, which outlive the queue, never the
    // manager; its result is dropped if the manager is gone by then.
    runOnQueue<PollResults>(
        m_playerQueue, m_scheduler, this,
        [&players] {
            PollResults results;
            results.spotify = queryPlayer(players, PlayerSlot::Spotify);
            results.other = queryPlayer(players, PlayerSlot::Other);
            // Read alongside the query, so the name belongs to the player that answered.
            results.otherName = players.displayName(PlayerSlot::Other);
            return results;
        },
        [this](PollResults results) { choose(results); });
}

QString NowPlayingManager::otherDisplayName(const QString &known) const
{
    return known.isEmpty() ? kOtherName : known;
}

void NowPlayingManager::choose(const PollResults &results)
{
    const QString otherName = otherDisplayName(results.otherName);
    if (results.spotify && results.spotify->isPlaying())
        apply(*results.spotify, kSpotifyName);
    else if (results.other && results.other->isPlaying())
        apply(*results.other, otherName);
    else if (results.spotify)
        apply(*results.spotify, kSpotifyName);
    else if (results.other)
        apply(*results.other, otherName);
}

void NowPlayingManager::apply(const PlayerStatus &status, const QString &displayName)
{
    m_shownSlot = status.slot;
    assign(m_isPlaying, status.isPlaying(), &NowPlayingManager::isPlayingChanged);
    // Players report an empty title or artist between tracks; the last known
    // ones stay on screen meanwhile.
    if (!status.title.isEmpty())
        assign(m_songTitle, status.title, &NowPlayingManager::songTitleChanged);
    if (!status.artist.isEmpty())
        assign(m_artistName, status.artist, &NowPlayingManager::artistNameChanged);
    assign(m_appName, displayName, &NowPlayingManager::appNameChanged);

    const QString key = slotKey(status.slot) + QLatin1Char('|') + status.title;
    if (status.title.isEmpty() || key == m_artTrackKey)
        return;
    assign(m_isClosedForCurrentTrack, false, &NowPlayingManager::isClosedForCurrentTrackChanged);
    m_artTrackKey = key;
    assign(m_appIcon, m_players.icon(status.slot), &NowPlayingManager::appIconChanged);
    fetchArtwork(status.slot, key);
}

void NowPlayingManager::statusChanged(const PlayerStatus &status)
{
    // An announcement without a position starts the progress from zero.
    const double position = seconds(status.position);
    assign(m_duration, milliseconds(status.length), &NowPlayingManager::durationChanged);
    if (status.position)
        assign(m_elapsedTime, position, &NowPlayingManager::elapsedTimeChanged);
    m_progressBase = {m_scheduler.monotonicMs(), position};
    apply(status, status.slot == PlayerSlot::Spotify ? kSpotifyName
                                                      : otherDisplayName(m_players.displayName(PlayerSlot::Other)));
    restartProgressTimer();
}

void NowPlayingManager::restartProgressTimer()
{
    m_progressTimer.cancel();
    if (m_isPlaying)
        m_progressTimer = m_scheduler.every(kProgressInterval, this, [this] { advanceProgress(); });
}

void NowPlayingManager::advanceProgress()
{
    if (!m_isPlaying)
        return;
    double elapsed = m_progressBase.elapsed + double(m_scheduler.monotonicMs() - m_progressBase.atMs) / 1000.0;
    if (m_duration > 0)
        elapsed = std::min(elapsed, m_duration / 1000.0);
    assign(m_elapsedTime, elapsed, &NowPlayingManager::elapsedTimeChanged);
}

void NowPlayingManager::fetchArtwork(PlayerSlot slot, const QString &key)
{
    // Spotify hands out web addresses, fetched here with the shell's HTTP
    // client; the other players' artwork is read by the platform.
    if (slot == PlayerSlot::Spotify)
        fetchArtworkAddress(key);
    else
        fetchArtworkBytes(key);
}

void NowPlayingManager::fetchArtworkBytes(const QString &key)
{
    MediaPlayers &players = m_players;
    runOnQueue<QImage>(
        m_playerQueue, m_scheduler, this,
        [&players] {
            const PlatformResult<QByteArray> result = players.artworkBytes(PlayerSlot::Other);
            if (!result.succeeded()) {
                qCWarning(lcNowPlaying).noquote() << QStringLiteral("artwork of the other player failed: ")
                                                     + result.error;
                return QImage();
            }
            return ArtworkImage::decode(*result.value);
        },
        [this, key](QImage image) { setArtworkFor(key, image); });
}

void NowPlayingManager::fetchArtworkAddress(const QString &key)
{
    MediaPlayers &players = m_players;
    runOnQueue<QString>(
        m_playerQueue, m_scheduler, this,
        [&players] {
            const PlatformResult<QString> result = players.artworkAddress(PlayerSlot::Spotify);
            if (!result.succeeded()) {
                qCWarning(lcNowPlaying).noquote() << QStringLiteral("artwork of Spotify failed: ") + result.error;
                return QString();
            }
            return *result.value;
        },
        [this, key](const QString &address) {
            // No download for a track that is no longer current.
            if (key != m_artTrackKey)
                return;
            const QUrl url(address.trimmed(), QUrl::StrictMode);
            // Only web addresses are fetched: the player's answer must not make
            // the program read local files or talk other protocols.
            if (address.isEmpty() || !isWebAddress(url)) {
                setArtworkFor(key, {});
                return;
            }
            downloadArtwork(url, key);
        });
}

void NowPlayingManager::downloadArtwork(const QUrl &url, const QString &key)
{
    HttpRequest request;
    request.url = url;
    request.maxBodyBytes = kMaxArtworkBytes;
    request.timeout = kArtworkTimeout;
    m_http.get(request, this, [this, key](const HttpResponse &response) {
        if (key != m_artTrackKey)
            return;
        // Whatever went wrong, an answer without a picture falls back to the icon.
        const QByteArray body =
            response.outcome == HttpResponse::Outcome::Completed ? response.body : QByteArray();
        runOnQueue<QImage>(
            m_playerQueue, m_scheduler, this, [body] { return ArtworkImage::decode(body); },
            [this, key](QImage image) { setArtworkFor(key, image); });
    });
}

void NowPlayingManager::setArtworkFor(const QString &key, const QImage &image)
{
    // A late answer for an earlier track must not replace the current artwork.
    if (key != m_artTrackKey)
        return;
    assign(m_albumArt, image.isNull() ? m_appIcon : image, &NowPlayingManager::albumArtChanged);
}

void NowPlayingManager::sendCommand(const QString &command)
{
    for (const auto &[known, name] : kCommandNames) {
        if (command == name) {
            sendCommand(known);
            return;
        }
    }
    qCWarning(lcNowPlaying).noquote() << QStringLiteral("unknown command: ") + command;
}

void NowPlayingManager::sendCommand(PlayerCommand command)
{
    const PlayerSlot slot = m_shownSlot.value_or(PlayerSlot::Other);
    MediaPlayers &players = m_players;
    runOnQueue<bool>(
        m_playerQueue, m_scheduler, this,
        [&players, slot, command] {
            const PlatformResult<> result = players.send(slot, command);
            if (!result.succeeded()) {
                qCWarning(lcNowPlaying).noquote() << commandName(command) + QStringLiteral(" on ") + slotName(slot)
                                                     + QStringLiteral(" failed: ") + result.error;
            }
            return result.succeeded();
        },
        // The queue is serial, so this poll sees the command's effect.
        [this](bool) { refresh(); });
}

void NowPlayingManager::closeForCurrentTrack()
{
    assign(m_isClosedForCurrentTrack, true, &NowPlayingManager::isClosedForCurrentTrackChanged);
}

} // namespace talvo
