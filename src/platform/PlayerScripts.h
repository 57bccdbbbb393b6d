#pragma once

#include <QString>

namespace talvo {

// The script texts sent to the two media players. The now-playing manager
// builds them and the script runner recognises them, so both sides take them
// from here. Lines are joined by a single line feed, with none at the end.
struct PlayerScripts
{
    // The state line "<playing|paused>|<title>|<artist>", or "stopped|||".
    static QString stateQuery(const QString &scriptName);
    // The current track's artwork as raw image bytes (Music).
    static QString musicArtwork();
    // The current track's artwork address as text (Spotify).
    static QString spotifyArtwork();
    // One transport command ("playpause", "next track", "previous track").
    static QString command(const QString &target, const QString &command);
};

} // namespace talvo
