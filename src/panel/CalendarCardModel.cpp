#include "CalendarCardModel.h"

#include "MusicCardModel.h"

#include <algorithm>

namespace talvo {

QString CalendarCardModel::emptyTextFor(const QDateTime &selected, const QDateTime &now, const QLocale &locale)
{
    if (!selected.isValid() || !now.isValid())
        return tr("Nothing for today");
    const QDate day = selected.toLocalTime().date();
    switch (now.toLocalTime().date().daysTo(day)) {
    case 0:
        return tr("Nothing for today");
    case 1:
        return tr("Nothing for tomorrow");
    case -1:
        return tr("Nothing for yesterday");
    default:
        return tr("Nothing for %1").arg(locale.toString(day, QStringLiteral("dddd")));
    }
}

QString CalendarCardModel::startTextFor(const QDateTime &start, bool isAllDay, const QLocale &locale)
{
    if (isAllDay || !start.isValid())
        return {};
    return locale.toString(start.toLocalTime().time(), MusicCardModel::clockFormat(locale));
}

bool CalendarCardModel::isSameDay(const QDateTime &a, const QDateTime &b)
{
    return a.isValid() && b.isValid() && a.toLocalTime().date() == b.toLocalTime().date();
}

void CalendarCardModel::setNow(const QDateTime &now)
{
    if (now == m_now)
        return;
    const bool newDay = !isSameDay(now, m_now);
    m_now = now;
    if (newDay) {
        m_days = WeekDay::stripAround(now, QLocale());
        emit daysChanged();
    }
    emit changed();
}

void CalendarCardModel::setSelectedDate(const QDateTime &date)
{
    if (date == m_selectedDate)
        return;
    m_selectedDate = date;
    emit changed();
}

void CalendarCardModel::setEvents(const QList<NotchEventModel> &events)
{
    const bool same = std::ranges::equal(events, m_events, &NotchEventModel::sameContent);
    if (same)
        return;
    m_events = events;
    emit eventsChanged();
}

QVariantList CalendarCardModel::shownEvents() const
{
    QVariantList rows;
    const QLocale locale;
    for (const NotchEventModel &event : m_events.first(std::min<qsizetype>(m_events.size(), kMaxShownEvents))) {
        rows.append(QVariantMap{{QStringLiteral("id"), event.id},
                                {QStringLiteral("title"), event.title},
                                {QStringLiteral("color"), event.calendarColor},
                                {QStringLiteral("startText"), startTextFor(event.start, event.isAllDay, locale)}});
    }
    return rows;
}

QVariantList CalendarCardModel::daysVariant() const
{
    QVariantList list;
    for (const WeekDay &day : m_days)
        list.append(day.toVariant());
    return list;
}

int CalendarCardModel::selectedIndex() const
{
    for (int i = 0; i < m_days.size(); ++i) {
        if (isSameDay(m_days.at(i).date, m_selectedDate))
            return i;
    }
    return -1;
}

QString CalendarCardModel::monthText() const
{
    return m_now.isValid() ? QLocale().toString(m_now.toLocalTime().date(), QStringLiteral("MMM")) : QString();
}

} // namespace talvo
