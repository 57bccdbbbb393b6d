#include "CalendarTime.h"

#include <QTimeZone>

#include <algorithm>

namespace talvo {

QDateTime startOfLocalDay(const QDateTime &instant)
{
    if (!instant.isValid())
        return {};
    return instant.toLocalTime().date().startOfDay(Qt::LocalTime);
}

std::optional<QDateTime> localDateTimeAt(QDate date, int hour, int minute)
{
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QTimeZone zone = QTimeZone::systemTimeZone();
    // Seconds since the epoch if the wall time were UTC; the real instant is
    // this minus the zone's offset at that instant.
    const qint64 wall = QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
    constexpr qint64 day = 86400;
    auto offsetAt = [&zone](qint64 secs) {
        return qint64(zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(secs, Qt::UTC)));
    };
    const qint64 offsets[] = {offsetAt(wall - day), offsetAt(wall + day)};

    std::optional<qint64> first;
    for (qint64 offset : offsets) {
        const qint64 candidate = wall - offset;
        if (offsetAt(candidate) == offset)
            first = first ? std::min(*first, candidate) : candidate;
    }
    if (!first) {
        // Inside a skipped hour: the clocks jumped forward at the transition.
        const QTimeZone::OffsetData transition =
            zone.nextTransition(QDateTime::fromSecsSinceEpoch(wall - day, Qt::UTC));
        if (!transition.atUtc.isValid())
            return std::nullopt;
        first = transition.atUtc.toSecsSinceEpoch();
    }
    return QDateTime::fromSecsSinceEpoch(*first, Qt::LocalTime);
}

} // namespace talvo
