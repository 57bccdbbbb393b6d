#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QVariantMap>

namespace talvo {

// One cell of the calendar card's week strip.
struct WeekDay
{
    // The seven days from three before to three after the day of `now`, each
    // at the start of its day in local time; days the calendar cannot reach
    // are left out.
    static QList<WeekDay> stripAround(const QDateTime &now, const QLocale &locale);

    QVariantMap toVariant() const;
    friend bool operator==(const WeekDay &, const WeekDay &) = default;

    QDateTime date;
    // The first three characters of the locale's short weekday name.
    QString abbr;
    int number = 0;
    bool isToday = false;
    bool isWithinDisplayedMonth = true;
};

} // namespace talvo
