#include "IcsTestFiles.h"
#include "app/Preferences.h"
#include "fakes/FileSizeLimit.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/IcalCalendarStore.h"
#include "sources/NotchCalendarManager.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace icstest;

namespace {

// "08:00-09:00 Title", or "all-day Title", in local time.
QStringList describe(const QList<NotchEventModel> &events)
{
    QStringList lines;
    for (const auto &e : events) {
        if (e.isAllDay)
            lines << QStringLiteral("all-day ") + e.title;
        else
            lines << e.start.toLocalTime().toString(QStringLiteral("HH:mm")) + QLatin1Char('-')
                         + e.end.toLocalTime().toString(QStringLiteral("HH:mm")) + QLatin1Char(' ') + e.title;
    }
    return lines;
}

// The real store on temporary folders, with virtual time and inline loading;
// "now" is Monday 2 March 2026, 09:00, in Berlin.
struct Rig
{
    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString ownFolder() const { return path(QStringLiteral("data/talvo/calendars/personal")); }
    void write(const QString &relative, const QByteArray &bytes) { QVERIFY(writeFile(path(relative), bytes)); }
    void list(const QStringList &relatives)
    {
        QStringList paths;
        for (const QString &r : relatives)
            paths << path(r);
        prefs.setObject(paths, QStringLiteral("calendarSources"));
    }
    NotchCalendarManager &start()
    {
        manager = std::make_unique<NotchCalendarManager>(store, prefs, scheduler);
        scheduler.runPending();
        return *manager;
    }
    QStringList day(QDate date)
    {
        manager->setSelectedDate(date.startOfDay());
        manager->fetchEvents();
        scheduler.runPending();
        return describe(manager->events());
    }

    QTemporaryDir dir;
    VirtualScheduler scheduler;
    InlineWorkQueue queue;
    MemoryPreferencesStorage storage;
    Preferences prefs{storage};
    IcalCalendarStore store{scheduler, queue, ownFolder()};
    std::unique_ptr<NotchCalendarManager> manager;
};

const QDate kMonday(2026, 3, 2);

} // namespace

class TestIcalCalendarStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void accessIsWhetherTheListedCalendarsCanBeRead_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<CalendarAuthorization>("status");
        QTest::newRow("nothing listed, own folder not yet made") << QStringList{} << CalendarAuthorization::FullAccess;
        QTest::newRow("a folder and a file") << QStringList{"cal", "local.ics"} << CalendarAuthorization::FullAccess;
        QTest::newRow("a missing folder") << QStringList{"cal", "gone"} << CalendarAuthorization::Denied;
    }
    void accessIsWhetherTheListedCalendarsCanBeRead()
    {
        QFETCH(QStringList, listed);
        QFETCH(CalendarAuthorization, status);
        Rig rig;
        rig.write(QStringLiteral("cal/a.ics"), calendar(vevent("a", "Standup", "DTSTART:20260302T080000Z")));
        rig.write(QStringLiteral("local.ics"), calendar(vevent("b", "Lunch", "DTSTART:20260302T110000Z")));
        rig.list(listed);
        auto &manager = rig.start();
        QCOMPARE(rig.store.authorizationStatus(), status);
        QCOMPARE(manager.authorizationGranted(), status == CalendarAuthorization::FullAccess);
    }

    void withoutAccessNothingIsReadOrWritten()
    {
        Rig rig;
        rig.write(QStringLiteral("cal/a.ics"), calendar(vevent("a", "Standup", "DTSTART:20260302T080000Z")));
        rig.list({QStringLiteral("cal"), QStringLiteral("unmounted")});
        auto &manager = rig.start();
        QVERIFY(!manager.authorizationGranted());
        QCOMPARE(rig.day(kMonday), QStringList{});
        QVERIFY(!manager.addEvent(QStringLiteral("Lunch"), kMonday.startOfDay(), QDateTime(kMonday, QTime(12, 0)), 60));
        QVERIFY(!QFileInfo::exists(rig.ownFolder()));
    }

    void theDayListsWhatOverlapsIt_data()
    {
        QTest::addColumn<QByteArray>("events");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all-day before a timed event at 08:00")
            << vevent("t", "Standup", "DTSTART:20260302T080000\nDTEND:20260302T081500")
                   + vevent("d", "Holiday", "DTSTART;VALUE=DATE:20260302\nDTEND;VALUE=DATE:20260303")
            << QStringList{"all-day Holiday", "08:00-08:15 Standup"};
        QTest::newRow("from 22:00 the day before to 02:00")
            << vevent("n", "Night shift", "DTSTART:20260301T220000\nDTEND:20260302T020000")
            << QStringList{"22:00-02:00 Night shift"};
        QTest::newRow("ends at midnight: not this day")
            << vevent("y", "Yesterday", "DTSTART:20260301T200000\nDTEND:20260302T000000") << QStringList{};
        QTest::newRow("starts at midnight the day after: not this day")
            << vevent("m", "Tomorrow", "DTSTART:20260303T000000\nDTEND:20260303T010000") << QStringList{};
        QTest::newRow("no end: lasts no time")
            << vevent("r", "Reminder", "DTSTART:20260302T000000") << QStringList{"00:00-00:00 Reminder"};
        QTest::newRow("duration instead of end")
            << vevent("u", "Workshop", "DTSTART:20260302T130000\nDURATION:PT2H30M") << QStringList{"13:00-15:30 Workshop"};
        QTest::newRow("all-day without end lasts its day")
            << vevent("a", "Birthday", "DTSTART;VALUE=DATE:20260302") << QStringList{"all-day Birthday"};
        QTest::newRow("all-day the day before: not this day")
            << vevent("a", "Sunday", "DTSTART;VALUE=DATE:20260301") << QStringList{};
        QTest::newRow("three all-day days around it")
            << vevent("v", "Trip", "DTSTART;VALUE=DATE:20260301\nDTEND;VALUE=DATE:20260304") << QStringList{"all-day Trip"};
        QTest::newRow("no title") << vevent("x", QByteArray(), "DTSTART:20260302T100000\nDTEND:20260302T110000")
                                  << QStringList{"10:00-11:00 Untitled"};
        QTest::newRow("same start: file order kept")
            << vevent("1", "First", "DTSTART:20260302T100000") + vevent("2", "Second", "DTSTART:20260302T100000")
                   + vevent("0", "Earlier", "DTSTART:20260302T090000")
            << QStringList{"09:00-09:00 Earlier", "10:00-10:00 First", "10:00-10:00 Second"};
        QTest::newRow("a task is not an event")
            << QByteArray("BEGIN:VTODO\r\nUID:todo\r\nSUMMARY:Taxes\r\nDUE:20260302T120000Z\r\nEND:VTODO\r\n")
            << QStringList{};
    }
    void theDayListsWhatOverlapsIt()
    {
        QFETCH(QByteArray, events);
        QFETCH(QStringList, expected);
        Rig rig;
        rig.write(QStringLiteral("cal/events.ics"), calendar(events));
        rig.list({QStringLiteral("cal")});
        rig.start();
        QCOMPARE(rig.day(kMonday), expected);
    }

    void timesInOtherZonesArePlacedAtTheirLocalTime_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("expected");
        const QByteArray nine = "DTSTART;TZID=America/New_York:%1T090000\nDTEND;TZID=America/New_York:%1T100000";
        QTest::newRow("New York with its VTIMEZONE")
            << calendar(vevent("ny", "Call", QByteArray(nine).replace("%1", "20260302")), newYorkZone()) << kMonday
            << QStringList{"15:00-16:00 Call"};
        QTest::newRow("New York after its clocks changed, before ours")
            << calendar(vevent("ny", "Call", QByteArray(nine).replace("%1", "20260309")), newYorkZone())
            << QDate(2026, 3, 9) << QStringList{"14:00-15:00 Call"};
        QTest::newRow("a zone known by name only")
            << calendar(vevent("tk", "Tokyo", "DTSTART;TZID=Asia/Tokyo:20260302T170000\n"
                                             "DTEND;TZID=Asia/Tokyo:20260302T180000"))
            << kMonday << QStringList{"09:00-10:00 Tokyo"};
        QTest::newRow("a private zone name with its definition")
            << calendar(vevent("p", "Call", "DTSTART;TZID=Eastern Time (custom):20260302T090000\n"
                                           "DTEND;TZID=Eastern Time (custom):20260302T100000"),
                        newYorkZone("Eastern Time (custom)"))
            << kMonday << QStringList{"15:00-16:00 Call"};
        QTest::newRow("a Windows zone name without definition")
            << calendar(vevent("w", "Call", "DTSTART;TZID=Eastern Standard Time:20260302T090000\n"
                                           "DTEND;TZID=Eastern Standard Time:20260302T100000"))
            << kMonday << QStringList{"15:00-16:00 Call"};
        QTest::newRow("UTC") << calendar(vevent("u", "Deploy", "DTSTART:20260302T090000Z\nDTEND:20260302T093000Z"))
                             << kMonday << QStringList{"10:00-10:30 Deploy"};
        QTest::newRow("floating time is ours") << calendar(vevent("f", "Gym", "DTSTART:20260302T090000")) << kMonday
                                               << QStringList{"09:00-09:00 Gym"};
        QTest::newRow("late in New York is tomorrow here")
            << calendar(vevent("ny", "Late", "DTSTART;TZID=America/New_York:20260301T200000\n"
                                            "DTEND;TZID=America/New_York:20260301T210000"),
                        newYorkZone())
            << kMonday << QStringList{"02:00-03:00 Late"};
    }
    void timesInOtherZonesArePlacedAtTheirLocalTime()
    {
        QFETCH(QByteArray, file);
        QFETCH(QDate, date);
        QFETCH(QStringList, expected);
        Rig rig;
        rig.write(QStringLiteral("cal/zone.ics"), file);
        rig.list({QStringLiteral("cal")});
        rig.start();
        QCOMPARE(rig.day(date), expected);
    }

    void recurringEventsAreExpandedIntoTheDay_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("expected");
        const QByteArray weekly =
            calendar(vevent("weekly-1", "Team sync",
                            "DTSTART;TZID=Europe/Berlin:20260105T090000\n"
                            "DTEND;TZID=Europe/Berlin:20260105T093000\n"
                            "RRULE:FREQ=WEEKLY;BYDAY=MO\n"
                            "EXDATE;TZID=Europe/Berlin:20260302T090000")
                     + vevent("weekly-1", "Team sync (moved)",
                              "RECURRENCE-ID;TZID=Europe/Berlin:20260309T090000\n"
                              "DTSTART;TZID=Europe/Berlin:20260310T140000\n"
                              "DTEND;TZID=Europe/Berlin:20260310T150000"));
        QTest::newRow("the first occurrence") << weekly << QDate(2026, 1, 5) << QStringList{"09:00-09:30 Team sync"};
        QTest::newRow("before the series") << weekly << QDate(2025, 12, 29) << QStringList{};
        QTest::newRow("an ordinary week") << weekly << QDate(2026, 2, 23) << QStringList{"09:00-09:30 Team sync"};
        QTest::newRow("the excluded week") << weekly << kMonday << QStringList{};
        QTest::newRow("the moved occurrence's old day") << weekly << QDate(2026, 3, 9) << QStringList{};
        QTest::newRow("the moved occurrence's new day")
            << weekly << QDate(2026, 3, 10) << QStringList{"14:00-15:00 Team sync (moved)"};
        QTest::newRow("after our clocks changed") << weekly << QDate(2026, 3, 30) << QStringList{"09:00-09:30 Team sync"};

        const QByteArray newYork =
            calendar(vevent("ny-weekly", "NY call",
                            "DTSTART;TZID=America/New_York:20260204T090000\n"
                            "DTEND;TZID=America/New_York:20260204T100000\n"
                            "RRULE:FREQ=WEEKLY\n"
                            "EXDATE;TZID=America/New_York:20260318T090000,20260325T090000\n"
                            "RDATE;VALUE=PERIOD:20260304T150000Z/20260304T160000Z"),
                     newYorkZone());
        QTest::newRow("New York, before its clocks change, with an extra date")
            << newYork << QDate(2026, 3, 4) << QStringList{"15:00-16:00 NY call", "16:00-17:00 NY call"};
        QTest::newRow("New York, after its change") << newYork << QDate(2026, 3, 11) << QStringList{"14:00-15:00 NY call"};
        QTest::newRow("New York, after both changed") << newYork << QDate(2026, 4, 1) << QStringList{"15:00-16:00 NY call"};
        QTest::newRow("New York, one of two excluded dates") << newYork << QDate(2026, 3, 25) << QStringList{};

        const QByteArray counted = calendar(vevent("pills", "Pills", "DTSTART:20260305T070000\nDURATION:PT10M\n"
                                                                     "RRULE:FREQ=DAILY;COUNT=30"));
        QTest::newRow("the last of a count") << counted << QDate(2026, 4, 3) << QStringList{"07:00-07:10 Pills"};
        QTest::newRow("after the count ran out") << counted << QDate(2026, 4, 4) << QStringList{};

        const QByteArray longAgo = calendar(vevent("run", "Run", "DTSTART:20190101T063000\nDTEND:20190101T070000\n"
                                                                 "RRULE:FREQ=DAILY;UNTIL=20260616T235959Z"));
        QTest::newRow("daily since 2019") << longAgo << QDate(2026, 6, 15) << QStringList{"06:30-07:00 Run"};
        QTest::newRow("its last day") << longAgo << QDate(2026, 6, 16) << QStringList{"06:30-07:00 Run"};
        QTest::newRow("after its end") << longAgo << QDate(2026, 6, 17) << QStringList{};

        QTest::newRow("yearly all-day since 1999")
            << calendar(vevent("anniv", "Anniversary", "DTSTART;VALUE=DATE:19990302\nRRULE:FREQ=YEARLY")) << kMonday
            << QStringList{"all-day Anniversary"};
        // Seven-hour steps from 1 February (UTC): on 2 March at 04, 11 and 18 UTC.
        QTest::newRow("every seven hours")
            << calendar(vevent("backup", "Backup", "DTSTART:20260201T000000Z\nDURATION:PT1H\n"
                                                   "RRULE:FREQ=HOURLY;INTERVAL=7"))
            << kMonday << QStringList{"05:00-06:00 Backup", "12:00-13:00 Backup", "19:00-20:00 Backup"};
        QTest::newRow("monthly on the last weekday")
            << calendar(vevent("m", "Report", "DTSTART:20250131T160000\nRRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"))
            << QDate(2026, 2, 27) << QStringList{"16:00-16:00 Report"};
    }
    void recurringEventsAreExpandedIntoTheDay()
    {
        QFETCH(QByteArray, file);
        QFETCH(QDate, date);
        QFETCH(QStringList, expected);
        Rig rig;
        rig.write(QStringLiteral("cal/series.ics"), file);
        rig.list({QStringLiteral("cal")});
        rig.start();
        QCOMPARE(rig.day(date), expected);
    }

    void aMovedOccurrenceKeepsTheIdOfTheOneItReplaces()
    {
        Rig rig;
        rig.write(QStringLiteral("cal/weekly.ics"),
                  calendar(vevent("weekly-1", "Team sync",
                                 "DTSTART:20260105T080000Z\nDTEND:20260105T083000Z\nRRULE:FREQ=WEEKLY")
                           + vevent("weekly-1", "Moved", "RECURRENCE-ID:20260309T080000Z\nDTSTART:20260309T150000Z")));
        rig.list({QStringLiteral("cal")});
        auto &manager = rig.start();
        rig.day(QDate(2026, 3, 9));
        QCOMPARE(manager.events().size(), 1);
        QCOMPARE(manager.events()[0].title, QStringLiteral("Moved"));
        QCOMPARE(manager.events()[0].id, QStringLiteral("weekly-1/20260309T080000Z"));
        rig.day(QDate(2026, 3, 16));
        QCOMPARE(manager.events()[0].id, QStringLiteral("weekly-1/20260316T080000Z"));
    }

    void eachCalendarHasItsColour_data()
    {
        QTest::addColumn<QString>("calendarPath");
        QTest::addColumn<QByteArray>("colorFile");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QColor>("expected");
        const QColor blue = NotchEventModel::defaultCalendarColor();
        QTest::newRow("folder colour") << "cal/e.ics" << QByteArray("#FF0000\n") << QByteArray() << QColor(255, 0, 0);
        QTest::newRow("folder colour with alpha last") << "cal/e.ics" << QByteArray("#00FF0080") << QByteArray()
                                                      << QColor(0, 255, 0, 128);
        QTest::newRow("unreadable folder colour") << "cal/e.ics" << QByteArray("very red") << QByteArray() << blue;
        QTest::newRow("no colour") << "cal/e.ics" << QByteArray() << QByteArray() << blue;
        QTest::newRow("file colour") << "local.ics" << QByteArray() << QByteArray("X-APPLE-CALENDAR-COLOR:#0000FF\r\n")
                                     << QColor(0, 0, 255);
        QTest::newRow("file colour by name") << "local.ics" << QByteArray() << QByteArray("COLOR:turquoise\r\n")
                                             << QColor(64, 224, 208);
    }
    void eachCalendarHasItsColour()
    {
        QFETCH(QString, calendarPath);
        QFETCH(QByteArray, colorFile);
        QFETCH(QByteArray, header);
        QFETCH(QColor, expected);
        Rig rig;
        rig.write(calendarPath, calendar(vevent("e", "Event", "DTSTART:20260302T100000Z"), header));
        if (!colorFile.isEmpty())
            rig.write(QStringLiteral("cal/color"), colorFile);
        rig.list({calendarPath.startsWith(QLatin1String("cal/")) ? QStringLiteral("cal") : calendarPath});
        auto &manager = rig.start();
        QCOMPARE(manager.events().size(), 1);
        QCOMPARE(manager.events()[0].calendarColor, expected);
    }

    void calendarsOfASyncFolderAndDuplicatesAcrossThem()
    {
        Rig rig;
        // A sync tool's layout: one subfolder per calendar.
        rig.write(QStringLiteral("sync/work/a.ics"), calendar(vevent("shared", "Review", "DTSTART:20260302T090000Z")));
        rig.write(QStringLiteral("sync/home/b.ics"), calendar(vevent("shared", "Review", "DTSTART:20260302T090000Z")));
        rig.write(QStringLiteral("sync/home/c.ics"), calendar(vevent("c", "Dinner", "DTSTART:20260302T180000Z")));
        rig.list({QStringLiteral("sync"), QStringLiteral("sync/home")}); // listed twice: read once
        auto &manager = rig.start();
        QCOMPARE(describe(manager.events()),
                 (QStringList{"10:00-10:00 Review", "10:00-10:00 Review", "19:00-19:00 Dinner"}));
        QVERIFY(manager.events()[0].id != manager.events()[1].id);
    }

    void malformedFilesAreSkippedAndLoggedOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("logged");
        QTest::newRow("plain text") << QByteArray("This is not a calendar.\n") << "Skipped malformed calendar file";
        QTest::newRow("empty") << QByteArray() << "Skipped malformed calendar file";
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "Skipped malformed calendar file";
        QTest::newRow("not a calendar object")
            << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n") << "Skipped malformed calendar file";
        QTest::newRow("event without start")
            << calendar(vevent("s", "Nowhen", "DTEND:20260302T100000Z")) << "Skipped 1 malformed event(s)";
        QTest::newRow("start that is no date")
            << calendar(vevent("s", "Never", "DTSTART:2026-13-45 99:99")) << "Skipped 1 malformed event(s)";
        QTest::newRow("cut off half way")
            << QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART:2026") << "Skipped";
    }
    void malformedFilesAreSkippedAndLoggedOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, logged);
        Rig rig;
        rig.write(QStringLiteral("cal/a-good.ics"), calendar(vevent("g", "Good", "DTSTART:20260302T080000Z")));
        rig.write(QStringLiteral("cal/bad.ics"), content);
        rig.write(QStringLiteral("cal/z-good.ics"),
                  calendar(vevent("h", "Also good", "DTSTART:20260302T090000Z")
                           + vevent("i", "Fine too", "DTSTART:20260302T100000Z")));
        rig.list({QStringLiteral("cal")});
        const QString badPath = rig.path(QStringLiteral("cal/bad.ics"));
        LogCapture log;
        auto &manager = rig.start();
        QCOMPARE(describe(manager.events()),
                 (QStringList{"09:00-09:00 Good", "10:00-10:00 Also good", "11:00-11:00 Fine too"}));
        rig.scheduler.advance(NotchCalendarManager::refreshInterval * 2);
        QCOMPARE(log.lines.size(), 1);
        QVERIFY2(log.lines[0].startsWith(QStringLiteral("[NotchCalendarManager] ") + logged), qPrintable(log.lines[0]));
        QVERIFY(log.lines[0].contains(badPath));
        // Never repaired or removed behind the user's back.
        QCOMPARE(readFile(badPath), content);
    }

    void aListedCalendarThatCannotBeReadIsLoggedOncePerLoss()
    {
        Rig rig;
        rig.write(QStringLiteral("cal/a.ics"), calendar(vevent("a", "Standup", "DTSTART:20260302T080000Z")));
        rig.list({QStringLiteral("cal"), QStringLiteral("usb/cal")});
        LogCapture log;
        auto &manager = rig.start();
        log.lines.clear();
        rig.list({QStringLiteral("cal")});
        manager.requestAccess();
        rig.scheduler.runPending();
        QVERIFY(manager.authorizationGranted());
        rig.list({QStringLiteral("cal"), QStringLiteral("usb/cal")});
        rig.scheduler.advance(NotchCalendarManager::refreshInterval * 3);
        QCOMPARE(describe(manager.events()), QStringList{"09:00-09:00 Standup"});
        QCOMPARE(log.count(QStringLiteral("Cannot read calendar ") + rig.path(QStringLiteral("usb/cal"))), 1);
        QCOMPARE(log.lines.size(), 1);
    }

    void addEventWritesANewFileAndReloads()
    {
        Rig rig;
        const QByteArray theirs = calendar(vevent("theirs", "Standup", "DTSTART:20260320T080000Z"));
        rig.write(QStringLiteral("cal/theirs.ics"), theirs);
        rig.list({QStringLiteral("cal")});
        auto &manager = rig.start();
        const QDateTime before = QFileInfo(rig.path(QStringLiteral("cal/theirs.ics"))).lastModified();

        const QDate chosen(2026, 3, 20);
        QVERIFY(manager.addEvent(QStringLiteral("  Dentist "), QDateTime(chosen, QTime(18, 0)),
                                 QDateTime(kMonday, QTime(14, 30)), 60));
        QCOMPARE(manager.selectedDate(), chosen.startOfDay());
        rig.scheduler.runPending();
        QCOMPARE(describe(manager.events()), (QStringList{"09:00-09:00 Standup", "14:30-15:30 Dentist"}));

        const QStringList files = QDir(rig.ownFolder()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.size(), 1);
        const QByteArray written = readFile(rig.ownFolder() + QLatin1Char('/') + files[0]);
        const QString uid = files[0].chopped(4);
        QCOMPARE(uid.size(), 36);
        QVERIFY(written.contains("UID:" + uid.toUtf8()));
        QVERIFY(written.contains("SUMMARY:Dentist\r\n"));
        QVERIFY(written.contains("DTSTART:20260320T133000Z"));
        QVERIFY(written.contains("DTEND:20260320T143000Z"));
        // The calendar another program keeps is left as it was.
        QCOMPARE(readFile(rig.path(QStringLiteral("cal/theirs.ics"))), theirs);
        QCOMPARE(QFileInfo(rig.path(QStringLiteral("cal/theirs.ics"))).lastModified(), before);

        // Each new event is a file of its own.
        QVERIFY(manager.addEvent(QStringLiteral("Dentist"), QDateTime(chosen, QTime(0, 0)),
                                 QDateTime(kMonday, QTime(14, 30)), 60));
        QCOMPARE(QDir(rig.ownFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void aCalendarThatCannotTakeTheEventFailsWithTheLogLine_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("disk refuses the write") << "size limit";
        QTest::newRow("folder cannot be made") << "blocked";
    }
    void aCalendarThatCannotTakeTheEventFailsWithTheLogLine()
    {
        QFETCH(QString, how);
        Rig rig;
        const QString own = rig.ownFolder();
        if (how == QLatin1String("blocked"))
            rig.write(QStringLiteral("data/talvo/calendars"), "a file where the folder should be");
        else
            QVERIFY(QDir().mkpath(own));
        auto &manager = rig.start();
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^\\[NotchCalendarManager\\] addEvent failed: .+")));
        bool added = true;
        if (how == QLatin1String("read-only")) {
            QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                           | QFileDevice::ExeGroup);
            added = manager.addEvent(QStringLiteral("Lunch"), QDateTime(QDate(2026, 3, 5), QTime(0, 0)),
                                     QDateTime(kMonday, QTime(12, 0)), 60);
            QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        } else {
            FileSizeLimit limit(16);
            added = manager.addEvent(QStringLiteral("Lunch"), QDateTime(QDate(2026, 3, 5), QTime(0, 0)),
                                     QDateTime(kMonday, QTime(12, 0)), 60);
        }
        QVERIFY(!added);
        QCOMPARE(manager.selectedDate(), kMonday.startOfDay());
        if (QFileInfo(own).isDir())
            QCOMPARE(QDir(own).entryList(QDir::Files | QDir::Hidden), QStringList{}); // nothing half written
    }

    void changesByOtherProgramsReloadWithinASecond_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("a file added to a folder") << "add";
        QTest::newRow("a file in a folder replaced") << "replace";
        QTest::newRow("a file in a subfolder removed") << "remove";
        QTest::newRow("a single calendar file edited in place") << "edit";
    }
    void changesByOtherProgramsReloadWithinASecond()
    {
        QFETCH(QString, how);
        Rig rig;
        rig.write(QStringLiteral("cal/a.ics"), calendar(vevent("a", "Standup", "DTSTART:20260302T080000Z")));
        rig.write(QStringLiteral("cal/team/t.ics"), calendar(vevent("t", "Retro", "DTSTART:20260302T140000Z")));
        rig.write(QStringLiteral("local.ics"), calendar(vevent("l", "Lunch", "DTSTART:20260302T110000Z")));
        rig.list({QStringLiteral("cal"), QStringLiteral("local.ics")});
        auto &manager = rig.start();
        QCOMPARE(manager.events().size(), 3);
        const int idle = rig.scheduler.pendingCount(); // the refresh timer

        // Another program writes; the watch reports it through the event loop.
        const QString staging = rig.path(QStringLiteral("staging.ics"));
        QStringList expected{"09:00-09:00 Standup", "12:00-12:00 Lunch", "15:00-15:00 Retro"};
        if (how == QLatin1String("add")) {
            QVERIFY(writeFile(staging, calendar(vevent("s", "Synced", "DTSTART:20260302T120000Z"))));
            QCOMPARE(QProcess::execute(QStringLiteral("cp"), {staging, rig.path(QStringLiteral("cal/s.ics"))}), 0);
            expected.insert(2, QStringLiteral("13:00-13:00 Synced"));
        } else if (how == QLatin1String("replace")) {
            QVERIFY(writeFile(staging, calendar(vevent("a", "Stand-up", "DTSTART:20260302T080000Z"))));
            QCOMPARE(QProcess::execute(QStringLiteral("mv"), {staging, rig.path(QStringLiteral("cal/a.ics"))}), 0);
            expected[0] = QStringLiteral("09:00-09:00 Stand-up");
        } else if (how == QLatin1String("remove")) {
            QCOMPARE(QProcess::execute(QStringLiteral("rm"), {rig.path(QStringLiteral("cal/team/t.ics"))}), 0);
            expected.removeLast();
        } else {
            QFile file(rig.path(QStringLiteral("local.ics")));
            QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
            file.write(calendar(vevent("l", "Lunch", "DTSTART:20260302T110000Z")
                                + vevent("s", "Synced", "DTSTART:20260302T120000Z")));
            file.close();
            expected.insert(2, QStringLiteral("13:00-13:00 Synced"));
        }
        QTRY_VERIFY(rig.scheduler.pendingCount() > idle);

        // In virtual time: the reload follows within a second, long before the 60 s tick.
        rig.scheduler.advance(999);
        QCOMPARE(describe(manager.events()), expected);
    }

    void aBurstOfChangesReloadsOnce()
    {
        Rig rig;
        rig.list({QStringLiteral("cal")});
        QDir().mkpath(rig.path(QStringLiteral("cal")));
        auto &manager = rig.start();
        QSignalSpy changed(&rig.store, &CalendarStore::changed);
        QVERIFY(writeFile(rig.path(QStringLiteral("staging.ics")),
                          calendar(vevent("s", "Synced", "DTSTART:20260302T120000Z"))));
        // A sync tool writing twenty files at once.
        const QString script = QStringLiteral("for i in $(seq 20); do sed \"s/UID:s/UID:s$i/\" staging.ics > cal/.tmp && "
                                              "mv cal/.tmp cal/s$i.ics; done");
        QProcess sync;
        sync.setWorkingDirectory(rig.dir.path());
        sync.start(QStringLiteral("sh"), {QStringLiteral("-c"), script});
        QVERIFY(sync.waitForFinished());
        QCOMPARE(sync.exitCode(), 0);
        QTest::qWait(50); // every file event delivered
        rig.scheduler.advance(999);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(manager.events().size(), 20);
    }
};

QTEST_GUILESS_MAIN(TestIcalCalendarStore)
#include "tst_icalcalendarstore.moc"
