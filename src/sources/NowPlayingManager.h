#pragma once

#include "platform/Scheduler.h"
#include "sources/PlayerQueryResult.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class HttpClient;
class PlayerNotifications;
class RunningApplications;
class ScriptRunner;
class WorkQueue;

// What the Spotify or Music player is playing: state, track, artwork, the
// player's icon and name, and a running position. It polls both players every
// 6 s with the state script and listens to their own notifications; both ways
// meet in applyResult(), which also starts the artwork fetch once per track.
// It sends the transport commands of the music card.
//
// Main thread only. Every script (queries, artwork, commands) runs on the
// serial script queue, in order, and hands its outcome back to the main
// thread; a player that takes long to answer delays only that queue.
//
// `duration` and `elapsedTime` are stored in the players' own units
// (milliseconds and seconds); the progress timer advances `elapsedTime` by
// seconds. No view shows them.
class NowPlayingManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(QString songTitle READ songTitle NOTIFY songTitleChanged)
    Q_PROPERTY(QString artistName READ artistName NOTIFY artistNameChanged)
    Q_PROPERTY(QImage albumArt READ albumArt NOTIFY albumArtChanged)
    Q_PROPERTY(bool hasAlbumArt READ hasAlbumArt NOTIFY albumArtChanged)
    Q_PROPERTY(QImage appIcon READ appIcon NOTIFY appIconChanged)
    Q_PROPERTY(bool hasAppIcon READ hasAppIcon NOTIFY appIconChanged)
    Q_PROPERTY(QString appName READ appName NOTIFY appNameChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(double elapsedTime READ elapsedTime NOTIFY elapsedTimeChanged)
    Q_PROPERTY(bool isClosedForCurrentTrack READ isClosedForCurrentTrack NOTIFY isClosedForCurrentTrackChanged)

public:
    struct Player
    {
        QString scriptName;
        QString bundleId;
        QString displayName;
    };
    static const Player kSpotify;
    static const Player kMusic;

    static const QString kMusicNotification;
    static const QString kSpotifyNotification;

    static constexpr Scheduler::Duration kRefreshInterval{6000};
    static constexpr Scheduler::Duration kProgressInterval{1000};
    static constexpr qint64 kMaxArtworkBytes = 8 * 1024 * 1024;
    static constexpr std::chrono::milliseconds kArtworkTimeout{20000};

    // `scriptQueue` is the serial queue every script runs on. Creation runs one
    // refresh() at once and starts the 6 s poll.
    NowPlayingManager(ScriptRunner &scripts, RunningApplications &applications, PlayerNotifications &notifications,
                      HttpClient &http, WorkQueue &scriptQueue, Scheduler &scheduler, QObject *parent = nullptr);
    ~NowPlayingManager() override;

    // QML gets the instance the application built (see QmlInstances.h).
    static NowPlayingManager *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    bool isPlaying() const { return m_isPlaying; }
    QString songTitle() const { return m_songTitle; }
    QString artistName() const { return m_artistName; }
    QImage albumArt() const { return m_albumArt; }
    bool hasAlbumArt() const { return !m_albumArt.isNull(); }
    QImage appIcon() const { return m_appIcon; }
    bool hasAppIcon() const { return !m_appIcon.isNull(); }
    QString appName() const { return m_appName; }
    double duration() const { return m_duration; }
    double elapsedTime() const { return m_elapsedTime; }
    bool isClosedForCurrentTrack() const { return m_isClosedForCurrentTrack; }
    // Player bundle identifier, "|", title of the track whose artwork was last asked for.
    QString artTrackKey() const { return m_artTrackKey; }
    bool isProgressTimerRunning() const { return m_progressTimer.isActive(); }

    // "playpause", "next track" or "previous track", to Spotify when it is the
    // player shown, else to Music; then a refresh().
    Q_INVOKABLE void sendCommand(const QString &command);
    // The user dismissed the now-playing display; a new track brings it back.
    Q_INVOKABLE void closeForCurrentTrack();
    // One poll of both players.
    Q_INVOKABLE void refresh();

    // Runs the state script for one player, unless it is not running (a query
    // never launches a player). Nothing for a player that is not running,
    // stopped, or answered with an error (logged) or nothing usable.
    // Blocks until the player answers; any thread.
    static std::optional<PlayerQueryResult> queryPlayer(ScriptRunner &scripts, const RunningApplications &applications,
                                                        const Player &player);

signals:
    void isPlayingChanged();
    void songTitleChanged();
    void artistNameChanged();
    void albumArtChanged();
    void appIconChanged();
    void appNameChanged();
    void durationChanged();
    void elapsedTimeChanged();
    void isClosedForCurrentTrackChanged();

private:
    struct PollResults
    {
        std::optional<PlayerQueryResult> spotify;
        std::optional<PlayerQueryResult> music;
        QString musicName;
    };
    void choose(const PollResults &results);
    void applyResult(const PlayerQueryResult &result, const QString &displayName, const QString &bundleId);
    void notificationPosted(const QString &name, const QVariantMap &userInfo);
    void restartProgressTimer();
    void advanceProgress();
    void fetchArtwork(const QString &bundleId, const QString &key);
    void fetchMusicArtwork(const QString &key);
    void fetchSpotifyArtwork(const QString &key);
    void downloadSpotifyArtwork(const QUrl &url, const QString &key);
    void setArtworkFor(const QString &key, const QImage &image);
    QString musicDisplayName() const;

    template <typename T>
    void assign(T &field, const T &value, void (NowPlayingManager::*changed)());

    ScriptRunner &m_scripts;
    RunningApplications &m_applications;
    HttpClient &m_http;
    WorkQueue &m_scriptQueue;
    Scheduler &m_scheduler;

    bool m_isPlaying = false;
    QString m_songTitle;
    QString m_artistName;
    QImage m_albumArt;
    QImage m_appIcon;
    QString m_appName;
    double m_duration = 0;
    double m_elapsedTime = 0;
    bool m_isClosedForCurrentTrack = false;

    // The position `elapsed` that held at monotonic instant `atMs`; the
    // progress timer extrapolates from it.
    struct ProgressBase
    {
        qint64 atMs = 0;
        double elapsed = 0;
    } m_progressBase;
    QString m_artTrackKey;
    TimerHandle m_progressTimer;
    TimerHandle m_refreshTimer;
};

} // namespace talvo
