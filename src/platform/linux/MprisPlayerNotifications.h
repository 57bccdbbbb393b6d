#pragma once

#include "MprisPlayer.h"
#include "platform/PlayerNotifications.h"

namespace talvo {

class MprisPlayers;

// Turns what MprisPlayers learns into the two players' notifications:
// a change of playback status or metadata of the player standing for Spotify
// posts "com.spotify.client.PlaybackStateChanged", one of the player standing
// for Music posts "com.apple.Music.playerInfo". Lengths go out in
// milliseconds; Spotify's "Playing Position" (in seconds) is read with a
// property get when the notification is built, since MPRIS never signals it,
// so that notification follows a moment later. When the player behind a
// notification quits, it posts a last one saying "Stopped".
//
// Main thread; never waits on a player.
class MprisPlayerNotifications final : public PlayerNotifications
{
    Q_OBJECT
public:
    explicit MprisPlayerNotifications(MprisPlayers &players, QObject *parent = nullptr);

    // The payloads, from a player's state (and Spotify's position in seconds).
    static QVariantMap musicPayload(const MprisPlayer &player);
    static QVariantMap spotifyPayload(const MprisPlayer &player, std::optional<double> positionSeconds);

private:
    void playerChanged(const QString &busName);
    void playerRemoved(const MprisPlayer &player);
    void postSpotify(const MprisPlayer &player);
    QString currentMusicPlayer() const;

    MprisPlayers &m_players;
    QString m_musicBusName; // the player that last stood for Music
    quint64 m_spotifySequence = 0;
};

} // namespace talvo
