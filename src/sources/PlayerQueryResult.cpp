#include "PlayerQueryResult.h"

#include <QStringList>

namespace talvo {

std::optional<PlayerQueryResult> PlayerQueryResult::parse(const QString &reply)
{
    const QStringList parts = reply.split(QLatin1Char('|'));
    if (parts.size() < 3 || parts.at(0) == u"stopped")
        return std::nullopt;
    return PlayerQueryResult{parts.at(0) == u"playing", parts.at(1), parts.at(2)};
}

} // namespace talvo
