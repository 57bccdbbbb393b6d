#include "NowPlayingManager.h"

#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/PlayerNotifications.h"
#include "platform/PlayerScripts.h"
#include "platform/RunningApplications.h"
#include "platform/ScriptRunner.h"
#include "platform/WorkQueue.h"
#include "sources/ArtworkImage.h"
#include "ui/QmlInstances.h"

#include <QUrl>

#include <cmath>

namespace talvo {

const NowPlayingManager::Player NowPlayingManager::kSpotify{QStringLiteral("Spotify"), RunningApplications::kSpotify,
                                                            QStringLiteral("Spotify")};
const NowPlayingManager::Player NowPlayingManager::kMusic{QStringLiteral("Music"), RunningApplications::kMusic,
                                                          QStringLiteral("Apple Music")};
const QString NowPlayingManager::kMusicNotification = PlayerNotifications::kMusicPlayerInfo;
const QString NowPlayingManager::kSpotifyNotification = PlayerNotifications::kSpotifyPlaybackStateChanged;

namespace {

const QString kLogPrefix = QStringLiteral("[NowPlayingManager] ");

// Payload values of the wrong type read as empty text or 0.
QString textValue(const QVariantMap &userInfo, const QString &key)
{
    const QVariant value = userInfo.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

double numberValue(const QVariantMap &userInfo, const QString &key)
{
    const QVariant value = userInfo.value(key);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Float:
    case QMetaType::Double: {
        const double number = value.toDouble();
        // A position of infinity would pin the progress for good.
        return std::isfinite(number) ? number : 0.0;
    }
    default:
        return 0.0;
    }
}

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

NowPlayingManager::NowPlayingManager(ScriptRunner &scripts, RunningApplications &applications,
                                     PlayerNotifications &notifications, HttpClient &http, WorkQueue &scriptQueue,
                                     Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_scripts(scripts)
    , m_applications(applications)
    , m_http(http)
    , m_scriptQueue(scriptQueue)
    , m_scheduler(scheduler)
    , m_progressBase{scheduler.monotonicMs(), 0}
{
    connect(&notifications, &PlayerNotifications::posted, this, &NowPlayingManager::notificationPosted);
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

std::optional<PlayerQueryResult> NowPlayingManager::queryPlayer(ScriptRunner &scripts,
                                                                const RunningApplications &applications,
                                                                const Player &player)
{
    if (!applications.isRunning(player.bundleId))
        return std::nullopt;
    const auto script = scripts.createScript(PlayerScripts::stateQuery(player.scriptName));
    if (!script)
        return std::nullopt;
    const ScriptResult result = script->run();
    if (!result.succeeded()) {
        logLine(kLogPrefix + QStringLiteral("query ") + player.scriptName + QStringLiteral(" failed: "),
                result.errorDescription);
        return std::nullopt;
    }
    if (!result.reply->text)
        return std::nullopt;
    return PlayerQueryResult::parse(*result.reply->text);
}

void NowPlayingManager::refresh()
{
    ScriptRunner &scripts = m_scripts;
    RunningApplications &applications = m_applications;
    // The job touches only the services, which outlive the queue, never the
    // manager; its result is dropped if the manager is gone by then.
    runOnQueue<PollResults>(
        m_scriptQueue, m_scheduler, this,
        [&scripts, &applications] {
            PollResults results;
            results.spotify = queryPlayer(scripts, applications, kSpotify);
            results.music = queryPlayer(scripts, applications, kMusic);
            // Read alongside the query, so the name belongs to the player that answered.
            results.musicName = applications.displayName(kMusic.bundleId);
            return results;
        },
        [this](PollResults results) { choose(results); });
}

void NowPlayingManager::choose(const PollResults &results)
{
    const QString musicName = results.musicName.isEmpty() ? kMusic.displayName : results.musicName;
    if (results.spotify && results.spotify->isPlaying)
        applyResult(*results.spotify, kSpotify.displayName, kSpotify.bundleId);
    else if (results.music && results.music->isPlaying)
        applyResult(*results.music, musicName, kMusic.bundleId);
    else if (results.spotify)
        applyResult(*results.spotify, kSpotify.displayName, kSpotify.bundleId);
    else if (results.music)
        applyResult(*results.music, musicName, kMusic.bundleId);
}

void NowPlayingManager::applyResult(const PlayerQueryResult &result, const QString &displayName,
                                    const QString &bundleId)
{
    assign(m_isPlaying, result.isPlaying, &NowPlayingManager::isPlayingChanged);
    // Players report an empty title or artist between tracks; the last known
    // ones stay on screen meanwhile.
    if (!result.title.isEmpty())
        assign(m_songTitle, result.title, &NowPlayingManager::songTitleChanged);
    if (!result.artist.isEmpty())
        assign(m_artistName, result.artist, &NowPlayingManager::artistNameChanged);
    assign(m_appName, displayName, &NowPlayingManager::appNameChanged);

    const QString key = bundleId + QLatin1Char('|') + result.title;
    if (result.title.isEmpty() || key == m_artTrackKey)
        return;
    assign(m_isClosedForCurrentTrack, false, &NowPlayingManager::isClosedForCurrentTrackChanged);
    m_artTrackKey = key;
    assign(m_appIcon, m_applications.icon(bundleId), &NowPlayingManager::appIconChanged);
    fetchArtwork(bundleId, key);
}

QString NowPlayingManager::musicDisplayName() const
{
    const QString name = m_applications.displayName(kMusic.bundleId);
    return name.isEmpty() ? kMusic.displayName : name;
}

void NowPlayingManager::notificationPosted(const QString &name, const QVariantMap &userInfo)
{
    if (userInfo.isEmpty())
        return;
    const bool playing = textValue(userInfo, QStringLiteral("Player State")) == u"Playing";
    const PlayerQueryResult result{playing, textValue(userInfo, QStringLiteral("Name")),
                                   textValue(userInfo, QStringLiteral("Artist"))};
    if (name == kMusicNotification) {
        assign(m_duration, numberValue(userInfo, QStringLiteral("Total Time")), &NowPlayingManager::durationChanged);
        m_progressBase = {m_scheduler.monotonicMs(), 0};
        applyResult(result, musicDisplayName(), kMusic.bundleId);
        restartProgressTimer();
    } else if (name == kSpotifyNotification) {
        const double position = numberValue(userInfo, QStringLiteral("Playing Position"));
        assign(m_duration, numberValue(userInfo, QStringLiteral("Duration")), &NowPlayingManager::durationChanged);
        assign(m_elapsedTime, position, &NowPlayingManager::elapsedTimeChanged);
        m_progressBase = {m_scheduler.monotonicMs(), position};
        applyResult(result, kSpotify.displayName, kSpotify.bundleId);
        restartProgressTimer();
    }
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
        elapsed = std::min(elapsed, m_duration);
    assign(m_elapsedTime, elapsed, &NowPlayingManager::elapsedTimeChanged);
}

void NowPlayingManager::fetchArtwork(const QString &bundleId, const QString &key)
{
    if (bundleId == kSpotify.bundleId)
        fetchSpotifyArtwork(key);
    else
        fetchMusicArtwork(key);
}

void NowPlayingManager::fetchMusicArtwork(const QString &key)
{
    ScriptRunner &scripts = m_scripts;
    runOnQueue<QImage>(
        m_scriptQueue, m_scheduler, this,
        [&scripts] {
            const ScriptResult result = scripts.runScript(PlayerScripts::musicArtwork());
            if (!result.succeeded()) {
                logLine(kLogPrefix + QStringLiteral("Music artwork fetch failed: "), result.errorDescription);
                return QImage();
            }
            return ArtworkImage::decode(result.reply->data);
        },
        [this, key](QImage image) { setArtworkFor(key, image); });
}

void NowPlayingManager::fetchSpotifyArtwork(const QString &key)
{
    ScriptRunner &scripts = m_scripts;
    runOnQueue<QString>(
        m_scriptQueue, m_scheduler, this,
        [&scripts] {
            const ScriptResult result = scripts.runScript(PlayerScripts::spotifyArtwork());
            if (!result.succeeded()) {
                logLine(kLogPrefix + QStringLiteral("Spotify artwork fetch failed: "), result.errorDescription);
                return QString();
            }
            return result.reply->text.value_or(QString());
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
            downloadSpotifyArtwork(url, key);
        });
}

void NowPlayingManager::downloadSpotifyArtwork(const QUrl &url, const QString &key)
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
            m_scriptQueue, m_scheduler, this, [body] { return ArtworkImage::decode(body); },
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
    const QString target = m_appName == kSpotify.displayName ? kSpotify.scriptName : kMusic.scriptName;
    const QString script = PlayerScripts::command(target, command);
    ScriptRunner &scripts = m_scripts;
    runOnQueue<bool>(
        m_scriptQueue, m_scheduler, this,
        [&scripts, script, command, target] {
            const ScriptResult result = scripts.runScript(script);
            if (!result.succeeded()) {
                logLine(kLogPrefix + command + QStringLiteral(" on ") + target + QStringLiteral(" failed: "),
                        result.errorDescription);
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
