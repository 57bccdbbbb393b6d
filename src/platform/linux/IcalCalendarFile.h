#pragma once

#include "platform/CalendarStore.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QStringList>

#include <memory>
#include <variant>
#include <vector>

struct icalcomponent_impl;

namespace talvo {

// One iCalendar file, parsed once with libical and then asked for the events
// of a span of time as often as needed. Fixed events are kept as plain instants;
// recurring ones keep their rules and are expanded per question, so a file can
// serve any day without being parsed again.
//
// Not thread-safe; libical's time-zone data is shared, so all files of a
// process should be parsed and asked from one thread. composeNewEvent() and
// parseColor() touch no shared data and may run anywhere.
class IcalCalendarFile
{
public:
    ~IcalCalendarFile();
    IcalCalendarFile(const IcalCalendarFile &) = delete;
    IcalCalendarFile &operator=(const IcalCalendarFile &) = delete;

    // Nothing when the content is not an iCalendar object at all (`problem`
    // says why). Events that cannot be used (no start, say) are left out and
    // counted in skippedEvents(), with the first reason in `problem`.
    static std::unique_ptr<IcalCalendarFile> parse(const QByteArray &content, QString *problem);

    // Appends the events that overlap [fromMs, toMs) (milliseconds since the
    // epoch), in the file's order, each occurrence of a recurring event in
    // time order where its series stands. `color` becomes every event's calendar colour.
    void collect(qint64 fromMs, qint64 toMs, const QColor &color, QList<CalendarEvent> &out) const;

    // The calendar colour the file declares for itself; invalid when none.
    QColor color() const { return m_color; }
    int skippedEvents() const { return m_skipped; }

    // A complete file holding one new event with the given UID. Times are
    // written in UTC: exact for a single event, and readable by any client.
    static QByteArray composeNewEvent(const QString &uid, const NewCalendarEvent &event, const QDateTime &now);

    // "#RRGGBB", "#RRGGBBAA" (as calendar servers write it), "#RGB" or a CSS
    // colour name; invalid otherwise.
    static QColor parseColor(const QString &text);

private:
    struct Fixed;
    struct Series;
    using Item = std::variant<Fixed *, Series *>;

    IcalCalendarFile() = default;
    void addComponents(icalcomponent_impl *calendar, QString *problem);
    void expand(const Series &series, qint64 fromMs, qint64 toMs, const QColor &color,
                QList<CalendarEvent> &out) const;

    icalcomponent_impl *m_root = nullptr; // kept while recurring events use its time zones
    std::vector<std::unique_ptr<Fixed>> m_fixed;
    std::vector<std::unique_ptr<Series>> m_series;
    std::vector<Item> m_order;
    QColor m_color;
    int m_skipped = 0;
};

} // namespace talvo
