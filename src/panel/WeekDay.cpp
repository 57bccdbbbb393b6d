#include "WeekDay.h"

namespace talvo {

QList<WeekDay> WeekDay::stripAround(const QDateTime &now, const QLocale &locale)
{
    const QDate today = now.toLocalTime().date();
    QList<WeekDay> days;
    for (int offset = -3; offset <= 3; ++offset) {
        const QDate day = today.addDays(offset);
        if (!day.isValid())
            continue;
        days.append(WeekDay{day.startOfDay(Qt::LocalTime),
                            locale.toString(day, QStringLiteral("ddd")).left(3), day.day(), offset == 0, true});
    }
    return days;
}

QVariantMap WeekDay::toVariant() const
{
    return {{QStringLiteral("date"), date},
            {QStringLiteral("abbr"), abbr},
            {QStringLiteral("number"), number},
            {QStringLiteral("isToday"), isToday},
            {QStringLiteral("isWithinDisplayedMonth"), isWithinDisplayedMonth}};
}

} // namespace talvo
