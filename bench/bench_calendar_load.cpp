// Loads one day from calendars holding 5,000 events, a tenth of them
// recurring, the way the running program does: the real store on files, its
// work queue, the real scheduler. Reports the first load (every file parsed),
// day switches (files already parsed) and how long the main thread went
// without turning its event loop meanwhile.
//
// Wall-clock times suffer when other programs compete for the processor, so
// processor time of the loading thread is given beside them, and the main
// thread's longest stretch is given both as wall time and as its own
// processor time (which counts only work done on it).

#include "platform/CalendarStore.h"
#include "platform/PreferencesStorage.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/IcalCalendarStore.h"
#include "preferences/Preferences.h"
#include "sources/NotchCalendarManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace talvo;

namespace {

class NoPreferences final : public PreferencesStorage
{
public:
    QJsonObject load() override { return {}; }
    bool save(const QJsonObject &) override { return true; }
};

constexpr int kEvents = 5000;
constexpr int kRecurringEvery = 10; // one in ten recurs
const QDate kToday(2026, 3, 2);

QByteArray stamp(const QDateTime &utc)
{
    return utc.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

QByteArray newYorkZone()
{
    return "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
           "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nDTSTART:19700308T020000\r\n"
           "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
           "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nDTSTART:19701101T020000\r\n"
           "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
}

// Event number `n`: fixed events spread over two years around today; recurring
// ones started up to three years ago, with exclusions and moved occurrences.
QByteArray eventText(int n)
{
    const QByteArray uid = "bench-" + QByteArray::number(n);
    const QDateTime base(kToday, QTime(8, 0), Qt::UTC);
    QByteArray text = "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Event "
                      + QByteArray::number(n) + "\r\nDESCRIPTION:Some notes that a synced event carries along.\r\n"
                      "LOCATION:Room " + QByteArray::number(n % 40) + "\r\n";
    if (n % kRecurringEvery != 0) {
        const QDateTime start = base.addDays((n * 37) % 730 - 365).addSecs(((n * 7) % 20) * 1800);
        if (n % 13 == 0)
            return text + "DTSTART;VALUE=DATE:" + start.date().toString(QStringLiteral("yyyyMMdd")).toLatin1()
                   + "\r\nEND:VEVENT\r\n";
        return text + "DTSTART:" + stamp(start) + "\r\nDTEND:" + stamp(start.addSecs(3600)) + "\r\nEND:VEVENT\r\n";
    }
    const QDateTime start = base.addDays(-((n * 13) % 1095)).addSecs(((n * 3) % 16) * 1800);
    static const char *rules[] = {"FREQ=WEEKLY", "FREQ=DAILY", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH",
                                  "FREQ=MONTHLY;BYDAY=2TU", "FREQ=YEARLY", "FREQ=DAILY;COUNT=400"};
    const int kind = (n / kRecurringEvery) % 6;
    QByteArray local = start.toTimeZone(QTimeZone("America/New_York")).toString(QStringLiteral("yyyyMMdd'T'HHmmss")).toLatin1();
    const bool zoned = n % 3 == 0;
    text += zoned ? "DTSTART;TZID=America/New_York:" + local + "\r\n" : "DTSTART:" + stamp(start) + "\r\n";
    text += "DURATION:PT45M\r\nRRULE:" + QByteArray(rules[kind]) + "\r\n";
    if (!zoned)
        text += "EXDATE:" + stamp(start.addDays(7)) + "," + stamp(start.addDays(14)) + "\r\n";
    text += "END:VEVENT\r\n";
    if (!zoned && kind == 0) {
        text += "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID:"
                + stamp(start.addDays(21)) + "\r\nSUMMARY:Moved\r\nDTSTART:" + stamp(start.addDays(22))
                + "\r\nDURATION:PT1H\r\nEND:VEVENT\r\n";
    }
    return text;
}

QByteArray calendar(const QByteArray &body, bool withZone)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n" + (withZone ? newYorkZone() : QByteArray())
           + body + "END:VCALENDAR\r\n";
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Four calendars: three vdir folders of a sync tool (one event per file) and
// one single file like a desktop's local calendar, holding a fifth of all.
QStringList makeCalendars(const QString &root)
{
    const QStringList folders{root + QStringLiteral("/sync/work"), root + QStringLiteral("/sync/home"),
                              root + QStringLiteral("/sync/shared")};
    for (const QString &folder : folders)
        QDir().mkpath(folder);
    QByteArray local;
    for (int n = 0; n < kEvents; ++n) {
        const QByteArray event = eventText(n);
        if (n % 5 == 4) {
            local += event;
            continue;
        }
        const QString path = folders[n % 3] + QStringLiteral("/bench-%1.ics").arg(n);
        if (!write(path, calendar(event, event.contains("TZID="))))
            return {};
    }
    const QString localFile = root + QStringLiteral("/local.ics");
    if (!write(localFile, calendar(local, true)))
        return {};
    return {root + QStringLiteral("/sync"), localFile};
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The longest gaps between turns of the main event loop while it runs, in
// wall time and in the main thread's own processor time.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_worstWall = std::max(m_worstWall, m_clock.nsecsElapsed() / 1e6);
            const double cpu = threadCpuMs();
            m_worstCpu = std::max(m_worstCpu, cpu - m_lastCpu);
            m_clock.restart();
            m_lastCpu = cpu;
        });
    }
    void start()
    {
        m_clock.start();
        m_lastCpu = threadCpuMs();
        m_timer.start();
    }
    double worstWall() const { return m_worstWall; }
    double worstCpu() const { return m_worstCpu; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_lastCpu = 0;
    double m_worstWall = 0;
    double m_worstCpu = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    const QStringList sources = makeCalendars(dir.path());
    if (sources.isEmpty()) {
        std::fprintf(stderr, "cannot write the calendars in %s\n", qPrintable(dir.path()));
        return 1;
    }
    std::printf("calendars: %d events (%d recurring) in 3 vdir folders and 1 file, written in %lld ms\n", kEvents,
                kEvents / kRecurringEvery, clock.elapsed());

    QtScheduler scheduler;
    SerialWorkQueue queue(QStringLiteral("calendar"));
    NoPreferences storage;
    Preferences preferences(storage);
    preferences.setObject(sources, QString::fromLatin1(PrefKey::calendarSources.name));
    IcalCalendarStore store(scheduler, queue, dir.filePath(QStringLiteral("own")));
    store.setSources(sources);

    StallMeter stalls;
    stalls.start();
    QEventLoop loop;
    // The queue is serial: a job queued after the loads reads the processor
    // time its thread has used so far.
    auto workerCpuMs = [&] {
        double ms = 0;
        queue.dispatch([&] {
            ms = threadCpuMs();
            scheduler.post(&loop, [&] { loop.quit(); });
        });
        loop.exec();
        return ms;
    };
    struct Figure
    {
        double wall;
        double cpu;
    };
    int shown = 0;
    auto loadDay = [&](QDate day) {
        const double cpuBefore = workerCpuMs();
        QElapsedTimer elapsed;
        elapsed.start();
        store.loadEvents(day.startOfDay(), day.addDays(1).startOfDay(), &loop, [&](QList<CalendarEvent> events) {
            shown = int(events.size());
            loop.quit();
        });
        loop.exec();
        const double wall = double(elapsed.nsecsElapsed()) / 1e6;
        return Figure{wall, workerCpuMs() - cpuBefore};
    };

    const Figure first = loadDay(kToday);
    std::printf("first load of a day (every file parsed): %.1f ms (loading thread busy %.1f ms), %d events that day\n",
                first.wall, first.cpu, shown);

    QList<double> walls;
    QList<double> cpus;
    for (int d = 1; d <= 20; ++d) {
        const Figure f = loadDay(kToday.addDays(d * 3 - 30));
        walls << f.wall;
        cpus << f.cpu;
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    std::printf("day switch (files already parsed): median %.1f ms, worst %.1f ms over %d days "
                "(loading thread busy: median %.1f ms, worst %.1f ms)\n",
                walls[walls.size() / 2], walls.last(), int(walls.size()), cpus[cpus.size() / 2], cpus.last());

    // Through the manager, as the widget sees it: from fetchEvents() to the new list.
    NotchCalendarManager manager(store, preferences, scheduler);
    QObject::connect(&manager, &NotchCalendarManager::eventsChanged, &loop, &QEventLoop::quit);
    loop.exec();
    manager.setSelectedDate(QDateTime(kToday.addDays(1), QTime(0, 0)));
    QElapsedTimer elapsed;
    elapsed.start();
    manager.fetchEvents();
    loop.exec();
    std::printf("manager: selected day shown %.1f ms after fetchEvents(), %d events\n",
                double(elapsed.nsecsElapsed()) / 1e6, int(manager.events().size()));
    std::printf("main thread: longest stretch without an event-loop turn %.1f ms wall, %.1f ms of its own work "
                "(target < 50)\n",
                stalls.worstWall(), stalls.worstCpu());
    return 0;
}
