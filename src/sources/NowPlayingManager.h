#pragma once

#include "platform/MediaPlayers.h"
#include "platform/Scheduler.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class HttpClient;
class WorkQueue;

// What the player in the Spotify or the Other slot is playing: state, track,
// artwork, the player's icon and name, and a running position. It asks both
// players every 6 s and listens to their announcements; both ways meet in
// apply(), which also starts the artwork fetch once per track. It sends the
// transport commands of the music card.
//
// Main thread only. Every call to a player (status, artwork, commands) runs on
// the serial player queue, in order, and hands its outcome back to the main
// thread; a player that takes long to answer delays only that queue.
//
// `duration` is in milliseconds and `elapsedTime` in seconds; the progress
// timer advances `elapsedTime` by seconds. No view shows them.
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
    // The names shown for Spotify, and for another player that has no name of its own.
    static const QString kSpotifyName;
    static const QString kOtherName;

    static constexpr Scheduler::Duration kRefreshInterval{6000};
    static constexpr Scheduler::Duration kProgressInterval{1000};
    static constexpr qint64 kMaxArtworkBytes = 8 * 1024 * 1024;
    static constexpr std::chrono::milliseconds kArtworkTimeout{20000};

    // `playerQueue` is the serial queue every call to a player runs on.
    // Creation runs one refresh() at once and starts the 6 s poll.
    NowPlayingManager(MediaPlayers &players, HttpClient &http, WorkQueue &playerQueue, Scheduler &scheduler,
                      QObject *parent = nullptr);
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
    // "spotify" or "other", "|", title of the track whose artwork was last asked for.
    QString artTrackKey() const { return m_artTrackKey; }
    bool isProgressTimerRunning() const { return m_progressTimer.isActive(); }

    // To Spotify when it is the player shown, else to the other player; then a refresh().
    void sendCommand(PlayerCommand command);
    // "playpause", "next track" or "previous track"; other texts are logged and dropped.
    Q_INVOKABLE void sendCommand(const QString &command);
    // The user dismissed the now-playing display; a new track brings it back.
    Q_INVOKABLE void closeForCurrentTrack();
    // One poll of both players.
    Q_INVOKABLE void refresh();

    // Asks one player for its status, unless none runs in the slot. Nothing
    // for a slot without a player, a stopped player, or an error (logged).
    // Blocks until the player answers; any thread.
    static std::optional<PlayerStatus> queryPlayer(MediaPlayers &players, PlayerSlot slot);

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
        std::optional<PlayerStatus> spotify;
        std::optional<PlayerStatus> other;
        QString otherName;
    };
    void choose(const PollResults &results);
    void apply(const PlayerStatus &status, const QString &displayName);
    void statusChanged(const PlayerStatus &status);
    void restartProgressTimer();
    void advanceProgress();
    void fetchArtwork(PlayerSlot slot, const QString &key);
    void fetchArtworkBytes(const QString &key);
    void fetchArtworkAddress(const QString &key);
    void downloadArtwork(const QUrl &url, const QString &key);
    void setArtworkFor(const QString &key, const QImage &image);
    QString otherDisplayName(const QString &known) const;

    template <typename T>
    void assign(T &field, const T &value, void (NowPlayingManager::*changed)());

    MediaPlayers &m_players;
    HttpClient &m_http;
    WorkQueue &m_playerQueue;
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
    std::optional<PlayerSlot> m_shownSlot; // the slot applied last

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
