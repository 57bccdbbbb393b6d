#pragma once

#include "platform/PlatformResult.h"

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

namespace talvo {

// The two players the program follows: Spotify, and one other media player.
enum class PlayerSlot { Spotify, Other };

enum class PlaybackState { Stopped, Paused, Playing };

enum class PlayerCommand { PlayPause, Next, Previous };

// A player's state, as asked for or as the player announced it.
struct PlayerStatus
{
    PlayerSlot slot = PlayerSlot::Other;
    PlaybackState state = PlaybackState::Stopped;
    QString title; // empty between tracks
    QString artist;
    QString album;
    std::optional<std::chrono::microseconds> length;
    std::optional<std::chrono::microseconds> position;

    bool isPlaying() const { return state == PlaybackState::Playing; }
    bool operator==(const PlayerStatus &) const = default;
};

} // namespace talvo

Q_DECLARE_METATYPE(talvo::PlayerStatus)

namespace talvo {

// The media players behind the two slots.
//
// isRunning() and displayName() may be called on any thread and answer from
// what is already known; icon() is for the main thread. The asking calls
// block until the player answers (bounded in time) and may run on any thread:
// they belong on a work queue. None of them ever launches a player.
// statusChanged() is delivered on the main thread.
class MediaPlayers : public QObject
{
    Q_OBJECT
public:
    explicit MediaPlayers(QObject *parent = nullptr) : QObject(parent) { qRegisterMetaType<talvo::PlayerStatus>(); }

    virtual bool isRunning(PlayerSlot slot) const = 0;
    // The player's own name; empty when none runs or it has none.
    virtual QString displayName(PlayerSlot slot) const = 0;
    // Null when none runs or it has none.
    virtual QImage icon(PlayerSlot slot) const = 0;

    // Fails when no player runs in the slot.
    virtual PlatformResult<PlayerStatus> status(PlayerSlot slot) = 0;
    // The current track's artwork address as the player gives it; empty when
    // it has none or no player runs in the slot.
    virtual PlatformResult<QString> artworkAddress(PlayerSlot slot) = 0;
    // The bytes of that artwork (regular local files and http(s) only, bounded
    // in size and time); empty when there is none or no player runs.
    virtual PlatformResult<QByteArray> artworkBytes(PlayerSlot slot) = 0;
    // Fails when no player runs in the slot.
    virtual PlatformResult<> send(PlayerSlot slot, PlayerCommand command) = 0;

signals:
    // The playback state or the track of the player in a slot changed. When
    // that player quits, a last one says Stopped, with no track.
    void statusChanged(const talvo::PlayerStatus &status);
};

} // namespace talvo
