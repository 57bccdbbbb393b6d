#pragma once

#include "ArtworkReader.h"
#include "MprisPlayer.h"
#include "ScriptBridge.h"

#include <QHash>

#include <memory>

namespace talvo {

class MprisPlayers;

// The player scripts, carried out over MPRIS on the calling thread:
// - the state query of Spotify or Music answers "<playing|paused>|<title>|
//   <artist>" from PlaybackStatus and Metadata, or "stopped|||";
// - the Spotify artwork script answers the track's mpris:artUrl as text;
// - the Music artwork script answers the bytes of the picture at mpris:artUrl;
// - "tell application "<Spotify|Music>" to <playpause|next track|previous
//   track>" calls PlayPause, Next or Previous.
// Which player is "Spotify" and which is "Music" is MprisPlayers' choice.
// Asking a player that is not running launches nothing: the state query and
// the commands fail, the artwork scripts answer nothing.
//
// Every call waits at most the players' call timeout.
class MprisScriptHandler final : public ScriptBridge::Handler
{
public:
    explicit MprisScriptHandler(std::shared_ptr<const MprisPlayers> players,
                                ArtworkReader::Limits artworkLimits = ArtworkReader::Limits{});
    std::optional<ScriptResult> tryRun(const QString &source) override;

private:
    enum class Action { Query, SpotifyArtwork, MusicArtwork, PlayPause, Next, Previous };
    struct Task
    {
        Action action;
        QString scriptName; // "Spotify" or "Music"
    };

    ScriptResult query(const QString &busName) const;
    ScriptResult artwork(const QString &busName, bool asBytes) const;
    ScriptResult call(const QString &busName, const QString &method) const;
    // The player's current playback status and metadata, or the call's error.
    std::optional<MprisPlayer> playerState(const QString &busName, QString *error) const;

    std::shared_ptr<const MprisPlayers> m_players;
    ArtworkReader::Limits m_artworkLimits;
    QHash<QString, Task> m_tasks; // by exact script text
};

} // namespace talvo
