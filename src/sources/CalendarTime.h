#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace talvo {

// Wall-clock arithmetic in the system time zone, settled the way a person
// reading a clock expects when daylight-saving time skips or repeats an hour.

// The first instant of the day that `instant` falls on, locally.
QDateTime startOfLocalDay(const QDateTime &instant);

// `hour`:`minute`:00 on `date`, local time. When that time is skipped (the
// clocks jump over it), the first instant after the jump; when it happens
// twice, the first of the two. Nothing for an invalid date or time.
std::optional<QDateTime> localDateTimeAt(QDate date, int hour, int minute);

} // namespace talvo
