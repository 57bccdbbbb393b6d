#pragma once

#include "ArtworkReader.h"
#include "MprisPlayers.h"
#include "platform/MediaPlayers.h"

namespace talvo {

// The two player slots over MPRIS, on the players MprisPlayers finds.
//
// Asking (status, artwork, transport) calls the player on the calling thread
// and waits at most the players' call timeout. A change of playback status or
// metadata of the player in a slot is announced: the other player's at once,
// without a position; Spotify's with its position, read with a property get
// when the change is seen (MPRIS never signals the position), so it follows a
// moment later. When the player in a slot quits (and, for Spotify, no other
// instance runs), a last announcement says Stopped. Announcing never waits on
// a player.
class MprisMediaPlayers final : public MediaPlayers
{
    Q_OBJECT
public:
    explicit MprisMediaPlayers(QDBusConnection bus, int callTimeoutMs = MprisPlayers::kDefaultCallTimeoutMs,
                               ArtworkReader::Limits artworkLimits = ArtworkReader::Limits{}, QObject *parent = nullptr);

    const MprisPlayers &players() const { return m_players; }

    bool isRunning(PlayerSlot slot) const override;
    QString displayName(PlayerSlot slot) const override;
    QImage icon(PlayerSlot slot) const override;

    PlatformResult<PlayerStatus> status(PlayerSlot slot) override;
    PlatformResult<QString> artworkAddress(PlayerSlot slot) override;
    PlatformResult<QByteArray> artworkBytes(PlayerSlot slot) override;
    PlatformResult<> send(PlayerSlot slot, PlayerCommand command) override;

private:
    // The player's state and position as it answers now.
    struct Answer
    {
        MprisPlayer player;
        std::optional<qint64> position;
    };
    PlatformResult<Answer> ask(PlayerSlot slot) const;

    void playerChanged(const QString &busName);
    void playerRemoved(const MprisPlayer &player);
    void announceSpotify(const MprisPlayer &player);
    QString otherPlayerName() const;

    MprisPlayers m_players;
    ArtworkReader::Limits m_artworkLimits;
    QString m_otherBusName; // the player that last stood in the Other slot
    quint64 m_spotifySequence = 0; // a position on its way is stale once this moved on
};

} // namespace talvo
