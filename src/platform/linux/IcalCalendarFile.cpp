#include "IcalCalendarFile.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <optional>

namespace talvo {

namespace {

constexpr qint64 kDayMs = 86'400'000;
// A rule that steps by the minute from years ago would otherwise hold the
// loading thread for minutes; occurrences beyond this many steps are dropped.
constexpr int kMaxRuleSteps = 50'000;
// Lengths beyond this many days (10,000 years) are cut to it, which keeps
// every instant the events reach within the range of the time types.
constexpr qint64 kMaxLengthDays = 3'652'425;

// A duration's length in milliseconds, between none and the longest length.
// libical's own conversion counts seconds in an int, which wraps after 68
// years (a calendar file may declare billions of weeks).
qint64 lengthMs(const icaldurationtype &d)
{
    if (d.is_neg)
        return 0;
    const qint64 days = std::min<qint64>(qint64(d.weeks) * 7 + d.days, kMaxLengthDays);
    const qint64 seconds = ((days * 24 + d.hours) * 60 + d.minutes) * 60 + d.seconds;
    return std::min<qint64>(seconds * 1000, kMaxLengthDays * kDayMs);
}

bool overlaps(qint64 startMs, qint64 endMs, qint64 fromMs, qint64 toMs)
{
    // An event lasting no time belongs to the span it starts in.
    return startMs < toMs && (endMs > fromMs || startMs >= fromMs);
}

std::optional<qint64> localDayStartMs(QDate date)
{
    const QDateTime start = date.startOfDay(Qt::LocalTime);
    if (!start.isValid())
        return std::nullopt;
    return start.toMSecsSinceEpoch();
}

// All-day and floating times follow the system time zone; zoned times the
// zone they name.
std::optional<qint64> instantMs(const icaltimetype &t)
{
    if (icaltime_is_null_time(t))
        return std::nullopt;
    const QDate date(t.year, t.month, t.day);
    if (!date.isValid())
        return std::nullopt;
    if (t.is_date)
        return localDayStartMs(date);
    const QTime time(t.hour, t.minute, std::min(t.second, 59));
    if (!time.isValid())
        return std::nullopt;
    if (icaltime_is_utc(t))
        return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    if (t.zone)
        return qint64(icaltime_as_timet_with_zone(t, t.zone)) * 1000;
    const QDateTime local(date, time, Qt::LocalTime);
    if (!local.isValid())
        return std::nullopt;
    return local.toMSecsSinceEpoch();
}

// A zone the system knows by name comes from the system's zone data: it is
// current, and one copy serves every file, where each file's own VTIMEZONE
// would be expanded again (an export repeats it in every event's file). Windows
// zone names, which some mail programs write, are mapped to the system's names.
// Only a zone under a private name is taken from the calendar's definition.
icaltimezone *resolveZone(icalcomponent *calendar, const char *tzid)
{
    if (!tzid || !*tzid)
        return nullptr;
    if (icaltimezone *zone = icaltimezone_get_builtin_timezone(tzid))
        return zone;
    if (icaltimezone *zone = icaltimezone_get_builtin_timezone_from_tzid(tzid))
        return zone;
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(QByteArray(tzid));
    if (!iana.isEmpty()) {
        if (icaltimezone *zone = icaltimezone_get_builtin_timezone(iana.constData()))
            return zone;
    }
    return icalcomponent_get_timezone(calendar, tzid);
}

icaltimetype withZoneOf(icalproperty *property, icalcomponent *calendar, icaltimetype value)
{
    if (icaltime_is_null_time(value) || value.is_date || icaltime_is_utc(value))
        return value;
    if (icalparameter *tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
        if (icaltimezone *zone = resolveZone(calendar, icalparameter_get_tzid(tzid)))
            value.zone = zone;
    }
    return value;
}

icaltimetype propertyTime(icalcomponent *event, icalproperty_kind kind, icalcomponent *calendar)
{
    icalproperty *property = icalcomponent_get_first_property(event, kind);
    if (!property)
        return icaltime_null_time();
    icaltimetype value = icaltime_null_time();
    switch (kind) {
    case ICAL_DTSTART_PROPERTY:
        value = icalproperty_get_dtstart(property);
        break;
    case ICAL_DTEND_PROPERTY:
        value = icalproperty_get_dtend(property);
        break;
    case ICAL_RECURRENCEID_PROPERTY:
        value = icalproperty_get_recurrenceid(property);
        break;
    default:
        break;
    }
    return withZoneOf(property, calendar, value);
}

QString recurrenceKey(bool allDay, const icaltimetype &t, qint64 startMs)
{
    if (allDay)
        return QDate(t.year, t.month, t.day).toString(QStringLiteral("yyyyMMdd"));
    return QDateTime::fromMSecsSinceEpoch(startMs, Qt::UTC).toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

} // namespace

struct IcalCalendarFile::Fixed
{
    QString identifier;
    QString title;
    qint64 startMs = 0;
    qint64 endMs = 0;
    bool allDay = false;
};

struct IcalCalendarFile::Series
{
    struct Extra
    {
        icaltimetype start;
        std::optional<qint64> endMs; // from a period; otherwise the series' length
    };

    QString uid;
    QString title;
    bool allDay = false;
    icaltimetype dtstart;
    qint64 dtstartMs = 0;
    qint64 durationMs = 0;
    int durationDays = 0;
    struct Rule
    {
        icalrecurrencetype rule;
        // A rule with COUNT has to be walked from DTSTART every time (libical
        // cannot jump ahead in it), so its occurrences are listed once, on first
        // use: (start, time as the rule produced it), ascending.
        mutable std::optional<std::vector<std::pair<qint64, icaltimetype>>> counted;
    };
    std::vector<Rule> rules;
    std::vector<Extra> extras;
    QSet<qint64> excluded; // by the original start: EXDATE and overridden occurrences
};

IcalCalendarFile::~IcalCalendarFile()
{
    if (m_root)
        icalcomponent_free(m_root);
}

std::unique_ptr<IcalCalendarFile> IcalCalendarFile::parse(const QByteArray &content, QString *problem)
{
    QByteArray bytes = content;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    icalcomponent *root = bytes.contains("BEGIN:") ? icalparser_parse_string(bytes.constData()) : nullptr;
    std::unique_ptr<IcalCalendarFile> file(new IcalCalendarFile);
    file->m_root = root;
    const icalcomponent_kind kind = root ? icalcomponent_isa(root) : ICAL_NO_COMPONENT;
    if (kind == ICAL_VCALENDAR_COMPONENT) {
        file->addComponents(root, problem);
    } else if (kind == ICAL_XROOT_COMPONENT) {
        for (icalcomponent *calendar = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); calendar;
             calendar = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
            file->addComponents(calendar, problem);
    } else {
        *problem = QStringLiteral("not an iCalendar object");
        return nullptr;
    }
    if (file->m_series.empty()) {
        // Fixed events are plain numbers now; the tree is no longer needed.
        icalcomponent_free(root);
        file->m_root = nullptr;
    }
    return file;
}

void IcalCalendarFile::addComponents(icalcomponent *calendar, QString *problem)
{
    for (icalproperty *p = icalcomponent_get_first_property(calendar, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_ANY_PROPERTY)) {
        QColor color;
        if (icalproperty_isa(p) == ICAL_COLOR_PROPERTY)
            color = parseColor(text(icalproperty_get_color(p)));
        else if (icalproperty_isa(p) == ICAL_X_PROPERTY
                 && qstrcmp(icalproperty_get_x_name(p), "X-APPLE-CALENDAR-COLOR") == 0)
            color = parseColor(text(icalproperty_get_x(p)));
        if (color.isValid() && !m_color.isValid())
            m_color = color;
    }

    auto skip = [&](const QString &reason) {
        if (m_skipped++ == 0)
            *problem = reason;
    };

    // Occurrences moved or changed elsewhere in the file, by UID.
    QHash<QString, QSet<qint64>> overridden;
    for (icalcomponent *event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (const auto ms = instantMs(propertyTime(event, ICAL_RECURRENCEID_PROPERTY, calendar)))
            overridden[text(icalcomponent_get_uid(event))].insert(*ms);
    }

    for (icalcomponent *event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const icaltimetype start = propertyTime(event, ICAL_DTSTART_PROPERTY, calendar);
        const std::optional<qint64> startMs = instantMs(start);
        if (!startMs) {
            skip(QStringLiteral("an event has no usable start"));
            continue;
        }
        const bool allDay = start.is_date;
        const QString uid = text(icalcomponent_get_uid(event));
        const QString title = text(icalcomponent_get_summary(event));

        // The length of the event: all-day events count whole days, so that
        // they keep to midnight when the clocks change.
        qint64 durationMs = 0;
        int durationDays = allDay ? 1 : 0;
        if (icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
            const icaltimetype end = propertyTime(event, ICAL_DTEND_PROPERTY, calendar);
            if (allDay)
                durationDays = int(std::clamp<qint64>(
                    QDate(start.year, start.month, start.day).daysTo(QDate(end.year, end.month, end.day)), 0,
                    kMaxLengthDays));
            else if (const auto endMs = instantMs(end))
                durationMs = std::max<qint64>(0, *endMs - *startMs);
        } else if (icalproperty *duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
            const icaldurationtype d = icalproperty_get_duration(duration);
            if (allDay)
                durationDays = d.is_neg ? 0 : int(std::min<qint64>(qint64(d.weeks) * 7 + d.days, kMaxLengthDays));
            else
                durationMs = lengthMs(d);
        }

        const icaltimetype recurrenceId = propertyTime(event, ICAL_RECURRENCEID_PROPERTY, calendar);
        const bool recurs = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)
                            || icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
        if (!recurs || !icaltime_is_null_time(recurrenceId)) {
            auto fixed = std::make_unique<Fixed>();
            fixed->identifier = uid;
            if (const auto originalMs = instantMs(recurrenceId); originalMs && !uid.isEmpty())
                fixed->identifier += QLatin1Char('/') + recurrenceKey(recurrenceId.is_date, recurrenceId, *originalMs);
            fixed->title = title;
            fixed->startMs = *startMs;
            fixed->allDay = allDay;
            if (allDay) {
                const auto endMs = localDayStartMs(QDate(start.year, start.month, start.day).addDays(durationDays));
                fixed->endMs = endMs ? std::max(*endMs, *startMs) : *startMs;
            } else {
                fixed->endMs = *startMs + durationMs;
            }
            m_order.emplace_back(fixed.get());
            m_fixed.push_back(std::move(fixed));
            continue;
        }

        auto series = std::make_unique<Series>();
        series->uid = uid;
        series->title = title;
        series->allDay = allDay;
        series->dtstart = start;
        series->dtstartMs = *startMs;
        series->durationMs = durationMs;
        series->durationDays = durationDays;
        for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (rule.freq != ICAL_NO_RECURRENCE)
                series->rules.push_back({rule, std::nullopt});
        }
        for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            if (!icaltime_is_null_time(value.period.start)) {
                const icaltimetype periodStart = withZoneOf(p, calendar, value.period.start);
                std::optional<qint64> endMs;
                if (!icaltime_is_null_time(value.period.end))
                    endMs = instantMs(withZoneOf(p, calendar, value.period.end));
                else if (const auto s = instantMs(periodStart))
                    endMs = *s + lengthMs(value.period.duration);
                series->extras.push_back({periodStart, endMs});
            } else {
                series->extras.push_back({withZoneOf(p, calendar, value.time), std::nullopt});
            }
        }
        for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
            if (const auto ms = instantMs(withZoneOf(p, calendar, icalproperty_get_exdate(p))))
                series->excluded.insert(*ms);
        }
        series->excluded.unite(overridden.value(uid));
        m_order.emplace_back(series.get());
        m_series.push_back(std::move(series));
    }
}

void IcalCalendarFile::collect(qint64 fromMs, qint64 toMs, const QColor &color, QList<CalendarEvent> &out) const
{
    for (const Item &item : m_order) {
        if (const Series *const *series = std::get_if<Series *>(&item)) {
            expand(**series, fromMs, toMs, color, out);
            continue;
        }
        const Fixed &event = *std::get<Fixed *>(item);
        if (!overlaps(event.startMs, event.endMs, fromMs, toMs))
            continue;
        out.append(CalendarEvent{event.identifier, event.title,
                                 QDateTime::fromMSecsSinceEpoch(event.startMs, Qt::LocalTime),
                                 QDateTime::fromMSecsSinceEpoch(event.endMs, Qt::LocalTime), event.allDay, color});
    }
}

void IcalCalendarFile::expand(const Series &series, qint64 fromMs, qint64 toMs, const QColor &color,
                              QList<CalendarEvent> &out) const
{
    struct Hit
    {
        qint64 startMs;
        qint64 endMs;
        icaltimetype start;
    };
    std::vector<Hit> hits;
    QSet<qint64> seen;
    auto consider = [&](const icaltimetype &t, std::optional<qint64> startMs, std::optional<qint64> endMs) {
        if (!startMs || seen.contains(*startMs))
            return;
        seen.insert(*startMs);
        if (series.excluded.contains(*startMs))
            return;
        if (!endMs) {
            if (series.allDay) {
                endMs = localDayStartMs(QDate(t.year, t.month, t.day).addDays(series.durationDays));
                if (!endMs)
                    return;
            } else {
                endMs = *startMs + series.durationMs;
            }
        }
        if (overlaps(*startMs, *endMs, fromMs, toMs))
            hits.push_back({*startMs, *endMs, t});
    };

    // DTSTART is always the first occurrence, whether or not the rule produces it.
    consider(series.dtstart, series.dtstartMs, std::nullopt);
    for (const Series::Extra &extra : series.extras)
        consider(extra.start, instantMs(extra.start), extra.endMs);

    // Occurrences that start this long before the window may still reach into
    // it: the event's length, plus any difference between its zone and ours.
    const qint64 skipToMs = fromMs - series.durationMs - qint64(series.durationDays) * kDayMs - 2 * kDayMs;
    auto walk = [&](icalrecur_iterator *iterator, auto &&visit) {
        for (int step = 0; step < kMaxRuleSteps; ++step) {
            icaltimetype t = icalrecur_iterator_next(iterator);
            if (icaltime_is_null_time(t))
                break;
            t.zone = series.dtstart.zone;
            t.is_date = series.dtstart.is_date;
            if (!visit(t, instantMs(t)))
                break;
        }
        icalrecur_iterator_free(iterator);
    };
    for (const Series::Rule &entry : series.rules) {
        const icalrecurrencetype &rule = entry.rule;
        if (!icaltime_is_null_time(rule.until)) {
            if (const auto untilMs = instantMs(rule.until); untilMs && *untilMs < skipToMs)
                continue;
        }
        if (rule.count > 0) {
            if (!entry.counted) {
                entry.counted.emplace();
                if (icalrecur_iterator *iterator = icalrecur_iterator_new(rule, series.dtstart)) {
                    walk(iterator, [&](const icaltimetype &t, std::optional<qint64> startMs) {
                        if (startMs)
                            entry.counted->emplace_back(*startMs, t);
                        return true;
                    });
                }
            }
            auto it = std::lower_bound(entry.counted->begin(), entry.counted->end(), skipToMs,
                                       [](const auto &occurrence, qint64 ms) { return occurrence.first < ms; });
            for (; it != entry.counted->end() && it->first < toMs; ++it)
                consider(it->second, it->first, std::nullopt);
            continue;
        }
        icalrecur_iterator *iterator = icalrecur_iterator_new(rule, series.dtstart);
        if (!iterator)
            continue;
        // Start near the window rather than at DTSTART: a daily event from years
        // ago would otherwise step through every day since. libical lands out of
        // step when jumping ahead in rules finer than a day.
        const bool canSkip = rule.freq >= ICAL_DAILY_RECURRENCE && rule.freq <= ICAL_YEARLY_RECURRENCE
                             && skipToMs > series.dtstartMs;
        if (canSkip) {
            const QDate day = QDateTime::fromMSecsSinceEpoch(skipToMs, Qt::LocalTime).date();
            icaltimetype from = series.dtstart;
            from.year = day.year();
            from.month = day.month();
            from.day = day.day();
            if (!from.is_date)
                from.hour = from.minute = from.second = 0;
            icalrecur_iterator_set_start(iterator, from);
        }
        walk(iterator, [&](const icaltimetype &t, std::optional<qint64> startMs) {
            if (startMs && *startMs >= toMs)
                return false;
            consider(t, startMs, std::nullopt);
            return true;
        });
    }

    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.startMs < b.startMs; });
    for (const Hit &hit : hits) {
        QString identifier = series.uid;
        if (!identifier.isEmpty())
            identifier += QLatin1Char('/') + recurrenceKey(series.allDay, hit.start, hit.startMs);
        out.append(CalendarEvent{identifier, series.title, QDateTime::fromMSecsSinceEpoch(hit.startMs, Qt::LocalTime),
                                 QDateTime::fromMSecsSinceEpoch(hit.endMs, Qt::LocalTime), series.allDay, color});
    }
}

QByteArray IcalCalendarFile::composeNewEvent(const QString &uid, const NewCalendarEvent &event, const QDateTime &now)
{
    icaltimezone *utc = icaltimezone_get_utc_timezone();
    auto at = [utc](const QDateTime &instant) {
        return icaltime_from_timet_with_zone(time_t(instant.toSecsSinceEpoch()), 0, utc);
    };
    icalcomponent *vevent = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(vevent, icalproperty_new_uid(uid.toUtf8().constData()));
    icalcomponent_add_property(vevent, icalproperty_new_dtstamp(at(now)));
    icalcomponent_add_property(vevent, icalproperty_new_created(at(now)));
    icalcomponent_add_property(vevent, icalproperty_new_summary(event.title.toUtf8().constData()));
    icalcomponent_add_property(vevent, icalproperty_new_dtstart(at(event.start)));
    icalcomponent_add_property(vevent, icalproperty_new_dtend(at(event.end)));

    icalcomponent *calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Talvo//Talvo//EN"));
    icalcomponent_add_component(calendar, vevent);

    char *text = icalcomponent_as_ical_string_r(calendar);
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(calendar);
    return bytes;
}

QColor IcalCalendarFile::parseColor(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() == 9 && trimmed.startsWith(QLatin1Char('#'))) {
        // Servers write the alpha last, where QColor would expect it first.
        bool ok = false;
        const uint rgba = trimmed.mid(1).toUInt(&ok, 16);
        if (!ok)
            return {};
        return QColor(int(rgba >> 24), int((rgba >> 16) & 0xFF), int((rgba >> 8) & 0xFF), int(rgba & 0xFF));
    }
    if (trimmed.isEmpty())
        return {};
    const QColor color = QColor::fromString(trimmed);
    return color.isValid() ? color : QColor();
}

} // namespace talvo
