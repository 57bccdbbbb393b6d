#pragma once

#include <QString>

#include <optional>

namespace talvo {

// A player's answer to the state query.
struct PlayerQueryResult
{
    bool isPlaying = false;
    QString title;
    QString artist;

    bool operator==(const PlayerQueryResult &) const = default;

    // Reads "<state>|<title>|<artist>". Fewer than three parts, or the state
    // "stopped", give nothing. The reply has no escaping, so a title holding
    // "|" is cut there; parts after the third are ignored.
    static std::optional<PlayerQueryResult> parse(const QString &reply);
};

} // namespace talvo
