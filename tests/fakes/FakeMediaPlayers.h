#pragma once

#include "platform/MediaPlayers.h"

#include <QList>

namespace talvo {

// Two player slots set by the test; records what is asked of them. A slot's
// non-empty error makes that kind of call fail. Tests announce changes with
// announce().
class FakeMediaPlayers final : public MediaPlayers
{
public:
    struct Player
    {
        bool running = false;
        QString name;
        QImage icon;
        PlaybackState state = PlaybackState::Playing;
        QString title = QStringLiteral("Song");
        QString artist = QStringLiteral("Artist");
        QString statusError;
        QString artworkAddress;
        QByteArray artworkBytes;
        QString artworkError;
        QString commandError;
    };
    static PlayerStatus statusOf(PlayerSlot slot, PlaybackState state, const QString &title = {},
                                 const QString &artist = {})
    {
        PlayerStatus status;
        status.slot = slot;
        status.state = state;
        status.title = title;
        status.artist = artist;
        return status;
    }

    struct Command
    {
        PlayerSlot slot;
        PlayerCommand command;
        bool operator==(const Command &) const = default;
    };

    Player &operator[](PlayerSlot slot) { return slot == PlayerSlot::Spotify ? m_spotify : m_other; }
    const Player &operator[](PlayerSlot slot) const { return slot == PlayerSlot::Spotify ? m_spotify : m_other; }

    // The slot's player as a status with the given state and title.
    void announce(PlayerSlot slot, PlaybackState state, const QString &title,
                  std::optional<std::chrono::microseconds> length = {},
                  std::optional<std::chrono::microseconds> position = {})
    {
        PlayerStatus status = statusOf(slot, state, title, QStringLiteral("Artist"));
        status.length = length;
        status.position = position;
        emit statusChanged(status);
    }

    bool isRunning(PlayerSlot slot) const override { return (*this)[slot].running; }
    QString displayName(PlayerSlot slot) const override { return isRunning(slot) ? (*this)[slot].name : QString(); }
    QImage icon(PlayerSlot slot) const override { return isRunning(slot) ? (*this)[slot].icon : QImage(); }

    PlatformResult<PlayerStatus> status(PlayerSlot slot) override
    {
        ++statusAsks;
        const Player &player = (*this)[slot];
        if (!player.statusError.isEmpty())
            return PlatformResult<PlayerStatus>::failure(player.statusError);
        return PlatformResult<PlayerStatus>::success(statusOf(slot, player.state, player.title, player.artist));
    }
    PlatformResult<QString> artworkAddress(PlayerSlot slot) override
    {
        artworkAsks.append(slot);
        const Player &player = (*this)[slot];
        if (!player.artworkError.isEmpty())
            return PlatformResult<QString>::failure(player.artworkError);
        return PlatformResult<QString>::success(player.artworkAddress);
    }
    PlatformResult<QByteArray> artworkBytes(PlayerSlot slot) override
    {
        artworkAsks.append(slot);
        const Player &player = (*this)[slot];
        if (!player.artworkError.isEmpty())
            return PlatformResult<QByteArray>::failure(player.artworkError);
        return PlatformResult<QByteArray>::success(player.artworkBytes);
    }
    PlatformResult<> send(PlayerSlot slot, PlayerCommand command) override
    {
        commands.append({slot, command});
        if (!(*this)[slot].commandError.isEmpty())
            return PlatformResult<>::failure((*this)[slot].commandError);
        return PlatformResult<>::success();
    }

    int statusAsks = 0;
    QList<PlayerSlot> artworkAsks;
    QList<Command> commands;

private:
    Player m_spotify;
    Player m_other;
};

} // namespace talvo
