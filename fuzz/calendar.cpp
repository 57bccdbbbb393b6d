// Calendar files (.ics), as synchronisation tools and other programs leave
// them in the calendar folders.

#include "FuzzSupport.h"
#include "platform/linux/IcalCalendarFile.h"

#include <QTimeZone>

using namespace talvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString problem;
    const auto file = IcalCalendarFile::parse(fuzz::bytes(data, size), &problem);
    if (!file) {
        FUZZ_CHECK(!problem.isEmpty());
        return 0;
    }
    FUZZ_CHECK(file->skippedEvents() == 0 || !problem.isEmpty());

    // A year, and the day the clocks go forward, asked twice as the card does.
    const QTimeZone zone(QByteArrayLiteral("Europe/Berlin"));
    const QDateTime yearStart(QDate(2026, 1, 1), QTime(0, 0), zone);
    const QDateTime gapDay(QDate(2026, 3, 29), QTime(0, 0), zone);
    const std::pair<QDateTime, QDateTime> windows[] = {
        {yearStart, yearStart.addYears(1)}, {gapDay, gapDay.addDays(1)}, {gapDay, gapDay.addDays(1)}};
    for (const auto &[from, to] : windows) {
        QList<CalendarEvent> events;
        file->collect(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch(), QColor(Qt::red), events);
        for (const CalendarEvent &event : events) {
            FUZZ_CHECK(event.start.isValid() && event.end.isValid());
            FUZZ_CHECK(event.start <= event.end);
            FUZZ_CHECK(event.start < to);
        }
    }
    return 0;
}
