#include "fakes/FileSizeLimit.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/IcalCalendarStore.h"
#include "preferences/Preferences.h"
#include "sources/NotchCalendarManager.h"

#include <QProcess>
#include <QSaveFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

QByteArray calendar(const QByteArray &body, const QByteArray &header = {})
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tests//EN\r\n" + header + body + "END:VCALENDAR\r\n";
}

// One VEVENT; `lines` are its other properties, one per line.
QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &lines)
{
    QByteArray text = "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n";
    if (!summary.isNull())
        text += "SUMMARY:" + summary + "\r\n";
    for (const QByteArray &line : lines.split('\n'))
        if (!line.trimmed().isEmpty())
            text += line.trimmed() + "\r\n";
    return text + "END:VEVENT\r\n";
}

QByteArray newYorkZone(const QByteArray &tzid = "America/New_York")
{
    return "BEGIN:VTIMEZONE\r\nTZID:" + tzid + "\r\n"
           "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\n"
           "DTSTART:19700308T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
           "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\n"
           "DTSTART:19701101T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\n"
           "END:VTIMEZONE\r\n";
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's warnings as "category: message", collected from collectLog() to the test's end.
QStringList g_logged;
QtMessageHandler g_testHandler = nullptr;
void collectLog()
{
    g_testHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        const QString category = QString::fromLatin1(context.category);
        if (type == QtWarningMsg && category.startsWith(u"talvo."))
            g_logged.append(category + QStringLiteral(": ") + message);
    });
}

// "08:00-09:00 Title", or "all-day Title", in local time.
QStringList describe(const QList<NotchEventModel> &events)
{
    QStringList lines;
    for (const auto &e : events)
        lines << (e.isAllDay ? u"all-day "_s
                             : e.start.toLocalTime().toString(u"HH:mm-"_s) + e.end.toLocalTime().toString(u"HH:mm "_s))
                     + e.title;
    return lines;
}

const QDate kMonday(2026, 3, 2);

// The real store on temporary folders, with virtual time and inline loading;
// "now" is Monday 2 March 2026, 09:00, in Berlin.
struct Rig
{
    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString ownFolder() const { return path(u"data/talvo/calendars/personal"_s); }
    void write(const QString &relative, const QByteArray &bytes) { QVERIFY(writeFile(path(relative), bytes)); }
    void list(const QStringList &relatives)
    {
        QStringList paths;
        for (const QString &r : relatives)
            paths << path(r);
        prefs.setObject(paths, u"calendarSources"_s);
    }
    NotchCalendarManager &start()
    {
        manager = std::make_unique<NotchCalendarManager>(store, prefs, scheduler);
        scheduler.runPending();
        return *manager;
    }
    // The events of one day from one calendar file.
    QStringList dayOf(const QByteArray &file, QDate date)
    {
        write(u"cal/events.ics"_s, file);
        list({u"cal"_s});
        start();
        return day(date);
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

} // namespace

class TestIcalCalendarStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { g_logged.clear(); }
    void cleanup()
    {
        if (g_testHandler)
            qInstallMessageHandler(std::exchange(g_testHandler, nullptr));
    }

    void aCalendarThatCannotBeReadHidesNoOther_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing listed, own folder not yet made") << QStringList{} << QStringList{};
        QTest::newRow("a folder and a file") << QStringList{"cal", "local.ics"}
                                             << QStringList{"08:00-08:00 Standup", "11:00-11:00 Lunch"};
        QTest::newRow("a missing folder beside a good one") << QStringList{"gone", "cal"}
                                                            << QStringList{"08:00-08:00 Standup"};
    }
    void aCalendarThatCannotBeReadHidesNoOther()
    {
        QFETCH(QStringList, listed);
        QFETCH(QStringList, expected);
        Rig rig;
        rig.write(u"cal/a.ics"_s, calendar(vevent("a", "Standup", "DTSTART:20260302T070000Z")));
        rig.write(u"local.ics"_s, calendar(vevent("b", "Lunch", "DTSTART:20260302T100000Z")));
        rig.list(listed);
        collectLog();
        auto &manager = rig.start();
        QCOMPARE(rig.store.authorizationStatus(), CalendarAuthorization::FullAccess);
        QVERIFY(manager.authorizationGranted());
        QCOMPARE(rig.day(kMonday), expected);
        const int missing = int(listed.count(u"gone"_s));
        QCOMPARE(int(g_logged.filter(u"gone"_s).size()), missing);
        // The user's own calendar still takes new events.
        QVERIFY(manager.addEvent(u"Review"_s, kMonday.startOfDay(), QDateTime(kMonday, QTime(15, 0)), 60));
        QCOMPARE(rig.day(kMonday).size(), expected.size() + 1);
        QCOMPARE(int(g_logged.filter(u"gone"_s).size()), missing);
    }

    void anUnreadableOwnCalendarIsNoAccess()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every folder");
        Rig rig;
        QVERIFY(QDir().mkpath(rig.ownFolder()));
        QVERIFY(QFile::setPermissions(rig.ownFolder(), QFileDevice::WriteOwner));
        auto &manager = rig.start();
        QCOMPARE(rig.store.authorizationStatus(), CalendarAuthorization::Denied);
        QVERIFY(!manager.authorizationGranted());
        QFile::setPermissions(rig.ownFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // What one calendar file puts on one day: which events overlap it, events
    // in other time zones, and recurrences.
    void theDayListsItsEvents_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all-day before a timed event at 08:00")
            << calendar(vevent("t", "Standup", "DTSTART:20260302T080000\nDTEND:20260302T081500")
                   + vevent("d", "Holiday", "DTSTART;VALUE=DATE:20260302\nDTEND;VALUE=DATE:20260303")) << kMonday
            << QStringList{"all-day Holiday", "08:00-08:15 Standup"};
        QTest::newRow("from 22:00 the day before to 02:00")
            << calendar(vevent("n", "Night shift", "DTSTART:20260301T220000\nDTEND:20260302T020000")) << kMonday
            << QStringList{"22:00-02:00 Night shift"};
        QTest::newRow("ends at midnight: not this day")
            << calendar(vevent("y", "Yesterday", "DTSTART:20260301T200000\nDTEND:20260302T000000")) << kMonday
            << QStringList{};
        QTest::newRow("starts at midnight the day after: not this day")
            << calendar(vevent("m", "Tomorrow", "DTSTART:20260303T000000\nDTEND:20260303T010000")) << kMonday
            << QStringList{};
        QTest::newRow("no end: lasts no time")
            << calendar(vevent("r", "Reminder", "DTSTART:20260302T000000")) << kMonday
            << QStringList{"00:00-00:00 Reminder"};
        QTest::newRow("duration instead of end")
            << calendar(vevent("u", "Workshop", "DTSTART:20260302T130000\nDURATION:PT2H30M")) << kMonday
            << QStringList{"13:00-15:30 Workshop"};
        QTest::newRow("all-day without end lasts its day")
            << calendar(vevent("a", "Birthday", "DTSTART;VALUE=DATE:20260302")) << kMonday
            << QStringList{"all-day Birthday"};
        QTest::newRow("all-day the day before: not this day")
            << calendar(vevent("a", "Sunday", "DTSTART;VALUE=DATE:20260301")) << kMonday
            << QStringList{};
        QTest::newRow("same start: file order kept")
            << calendar(vevent("1", "First", "DTSTART:20260302T100000")
                        + vevent("2", "Second", "DTSTART:20260302T100000")
                        + vevent("0", "Earlier", "DTSTART:20260302T090000"))
            << kMonday
            << QStringList{"09:00-09:00 Earlier", "10:00-10:00 First", "10:00-10:00 Second"};
        QTest::newRow("a task is not an event")
            << calendar("BEGIN:VTODO\r\nUID:todo\r\nSUMMARY:Taxes\r\nDUE:20260302T120000Z\r\nEND:VTODO\r\n")
            << kMonday << QStringList{};

        const QByteArray nine = "DTSTART;TZID=America/New_York:%1T090000\nDTEND;TZID=America/New_York:%1T100000";
        QTest::newRow("New York with its VTIMEZONE")
            << calendar(vevent("ny", "Call", QByteArray(nine).replace("%1", "20260302")), newYorkZone()) << kMonday
            << QStringList{"15:00-16:00 Call"};
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
        QTest::newRow("late in New York is tomorrow here")
            << calendar(vevent("ny", "Late", "DTSTART;TZID=America/New_York:20260301T200000\n"
                                            "DTEND;TZID=America/New_York:20260301T210000"),
                        newYorkZone())
            << kMonday << QStringList{"02:00-03:00 Late"};

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
        QTest::newRow("the excluded week") << weekly << kMonday << QStringList{};
        QTest::newRow("the moved occurrence's old day") << weekly << QDate(2026, 3, 9) << QStringList{};
        QTest::newRow("the moved occurrence's new day")
            << weekly << QDate(2026, 3, 10) << QStringList{"14:00-15:00 Team sync (moved)"};

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

        const QByteArray counted = calendar(vevent("pills", "Pills", "DTSTART:20260305T070000\nDURATION:PT10M\n"
                                                                     "RRULE:FREQ=DAILY;COUNT=30"));
        QTest::newRow("the last of a count") << counted << QDate(2026, 4, 3) << QStringList{"07:00-07:10 Pills"};

        const QByteArray longAgo = calendar(vevent("run", "Run", "DTSTART:20190101T063000\nDTEND:20190101T070000\n"
                                                                 "RRULE:FREQ=DAILY;UNTIL=20260616T235959Z"));
        QTest::newRow("daily since 2019, its last day") << longAgo << QDate(2026, 6, 16) << QStringList{"06:30-07:00 Run"};

        // Lengths of billions of weeks wrap in 32-bit arithmetic.
        QTest::newRow("all-day, weekly, lasting 400 million weeks")
            << calendar(vevent("long", "Forever", "DTSTART;VALUE=DATE:20260223\nDURATION:P400000000W\nRRULE:FREQ=WEEKLY"))
            << kMonday << QStringList{"all-day Forever", "all-day Forever"};
        QTest::newRow("yearly all-day since 1999")
            << calendar(vevent("anniv", "Anniversary", "DTSTART;VALUE=DATE:19990302\nRRULE:FREQ=YEARLY")) << kMonday
            << QStringList{"all-day Anniversary"};
    }
    void theDayListsItsEvents()
    {
        QFETCH(QByteArray, file);
        QFETCH(QDate, date);
        Rig rig;
        QTEST(rig.dayOf(file, date), "expected");
    }

    void aMovedOccurrenceKeepsTheIdOfTheOneItReplaces()
    {
        Rig rig;
        rig.dayOf(calendar(vevent("weekly-1", "Team sync",
                                  "DTSTART:20260105T080000Z\nDTEND:20260105T083000Z\nRRULE:FREQ=WEEKLY")
                           + vevent("weekly-1", "Moved", "RECURRENCE-ID:20260309T080000Z\nDTSTART:20260309T150000Z")),
                  QDate(2026, 3, 9));
        QCOMPARE(rig.manager->events().size(), 1);
        QCOMPARE(rig.manager->events()[0].id, u"weekly-1/20260309T080000Z"_s);
        rig.day(QDate(2026, 3, 16));
        QCOMPARE(rig.manager->events()[0].id, u"weekly-1/20260316T080000Z"_s);
    }

    void eachCalendarHasItsColour_data()
    {
        QTest::addColumn<QString>("calendarPath");
        QTest::addColumn<QByteArray>("colorFile");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QColor>("expected");
        const QColor blue = NotchEventModel::defaultCalendarColor();
        QTest::newRow("folder colour") << "cal/e.ics" << QByteArray("#FF0000\n") << QByteArray() << QColor(255, 0, 0);
        QTest::newRow("unreadable folder colour") << "cal/e.ics" << QByteArray("very red") << QByteArray() << blue;
        QTest::newRow("file colour by name") << "local.ics" << QByteArray() << QByteArray("COLOR:turquoise\r\n")
                                             << QColor(64, 224, 208);
    }
    void eachCalendarHasItsColour()
    {
        QFETCH(QString, calendarPath);
        QFETCH(QByteArray, colorFile);
        QFETCH(QByteArray, header);
        Rig rig;
        rig.write(calendarPath, calendar(vevent("e", "Event", "DTSTART:20260302T100000Z"), header));
        if (!colorFile.isEmpty())
            rig.write(u"cal/color"_s, colorFile);
        rig.list({calendarPath.startsWith(u"cal/") ? u"cal"_s : calendarPath});
        auto &manager = rig.start();
        QCOMPARE(manager.events().size(), 1);
        QTEST(manager.events()[0].calendarColor, "expected");
    }

    void calendarsOfASyncFolderAndDuplicatesAcrossThem()
    {
        Rig rig;
        // A sync tool's layout: one subfolder per calendar.
        rig.write(u"sync/work/a.ics"_s, calendar(vevent("shared", "Review", "DTSTART:20260302T090000Z")));
        rig.write(u"sync/home/b.ics"_s, calendar(vevent("shared", "Review", "DTSTART:20260302T090000Z")));
        rig.write(u"sync/home/c.ics"_s, calendar(vevent("c", "Dinner", "DTSTART:20260302T180000Z")));
        rig.list({u"sync"_s, u"sync/home"_s}); // listed twice: read once
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
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "Skipped malformed calendar file";
        QTest::newRow("event without start")
            << calendar(vevent("s", "Nowhen", "DTEND:20260302T100000Z")) << "Skipped 1 malformed event(s)";
        QTest::newRow("cut off half way")
            << QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART:2026") << "Skipped";
    }
    void malformedFilesAreSkippedAndLoggedOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, logged);
        Rig rig;
        rig.write(u"cal/a-good.ics"_s, calendar(vevent("g", "Good", "DTSTART:20260302T080000Z")));
        rig.write(u"cal/bad.ics"_s, content);
        rig.write(u"cal/z-good.ics"_s, calendar(vevent("h", "Also good", "DTSTART:20260302T090000Z")
                                                + vevent("i", "Fine too", "DTSTART:20260302T100000Z")));
        rig.list({u"cal"_s});
        collectLog();
        auto &manager = rig.start();
        QCOMPARE(describe(manager.events()),
                 (QStringList{"09:00-09:00 Good", "10:00-10:00 Also good", "11:00-11:00 Fine too"}));
        rig.scheduler.advance(NotchCalendarManager::refreshInterval * 2);
        QCOMPARE(g_logged.size(), 1);
        QVERIFY2(g_logged[0].startsWith(u"talvo.calendar: "_s + logged), qPrintable(g_logged[0]));
        QVERIFY(g_logged[0].contains(rig.path(u"cal/bad.ics"_s)));
        // Never repaired or removed behind the user's back.
        QCOMPARE(readFile(rig.path(u"cal/bad.ics"_s)), content);
    }

    void addEventWritesANewFileAndReloads()
    {
        Rig rig;
        const QByteArray theirs = calendar(vevent("theirs", "Standup", "DTSTART:20260320T080000Z"));
        rig.write(u"cal/theirs.ics"_s, theirs);
        rig.list({u"cal"_s});
        auto &manager = rig.start();
        const QDateTime before = QFileInfo(rig.path(u"cal/theirs.ics"_s)).lastModified();

        const QDate chosen(2026, 3, 20);
        QVERIFY(manager.addEvent(u"  Dentist "_s, QDateTime(chosen, QTime(18, 0)), QDateTime(kMonday, QTime(14, 30)), 60));
        QCOMPARE(manager.selectedDate(), chosen.startOfDay());
        rig.scheduler.runPending();
        QCOMPARE(describe(manager.events()), (QStringList{"09:00-09:00 Standup", "14:30-15:30 Dentist"}));

        const QStringList files = QDir(rig.ownFolder()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.size(), 1);
        const QByteArray written = readFile(rig.ownFolder() + u'/' + files[0]);
        const QString uid = files[0].chopped(4);
        QCOMPARE(uid.size(), 36);
        QVERIFY(written.contains("UID:" + uid.toUtf8()));
        QVERIFY(written.contains("SUMMARY:Dentist\r\n"));
        QVERIFY(written.contains("DTSTART:20260320T133000Z"));
        QVERIFY(written.contains("DTEND:20260320T143000Z"));
        // The calendar another program keeps is left as it was.
        QCOMPARE(readFile(rig.path(u"cal/theirs.ics"_s)), theirs);
        QCOMPARE(QFileInfo(rig.path(u"cal/theirs.ics"_s)).lastModified(), before);

        // Each new event is a file of its own.
        QVERIFY(manager.addEvent(u"Dentist"_s, QDateTime(chosen, QTime(0, 0)), QDateTime(kMonday, QTime(14, 30)), 60));
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
        if (how == u"blocked")
            rig.write(u"data/talvo/calendars"_s, "a file where the folder should be");
        else
            QVERIFY(QDir().mkpath(own));
        auto &manager = rig.start();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^addEvent failed: .+"_s));
        const auto add = [&] {
            return manager.addEvent(u"Lunch"_s, QDateTime(QDate(2026, 3, 5), QTime(0, 0)),
                                    QDateTime(kMonday, QTime(12, 0)), 60);
        };
        bool added = true;
        if (how == u"read-only") {
            QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            added = add();
            QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        } else {
            FileSizeLimit limit(16);
            added = add();
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
        rig.write(u"cal/a.ics"_s, calendar(vevent("a", "Standup", "DTSTART:20260302T080000Z")));
        rig.write(u"cal/team/t.ics"_s, calendar(vevent("t", "Retro", "DTSTART:20260302T140000Z")));
        rig.write(u"local.ics"_s, calendar(vevent("l", "Lunch", "DTSTART:20260302T110000Z")));
        rig.list({u"cal"_s, u"local.ics"_s});
        auto &manager = rig.start();
        QCOMPARE(manager.events().size(), 3);
        const int idle = rig.scheduler.pendingCount(); // the refresh timer

        // Another program writes; the watch reports it through the event loop.
        const QString staging = rig.path(u"staging.ics"_s);
        const QByteArray synced = calendar(vevent("s", "Synced", "DTSTART:20260302T120000Z"));
        QStringList expected{"09:00-09:00 Standup", "12:00-12:00 Lunch", "15:00-15:00 Retro"};
        if (how == u"add") {
            QVERIFY(writeFile(staging, synced));
            QCOMPARE(QProcess::execute(u"cp"_s, {staging, rig.path(u"cal/s.ics"_s)}), 0);
            expected.insert(2, u"13:00-13:00 Synced"_s);
        } else if (how == u"replace") {
            QVERIFY(writeFile(staging, calendar(vevent("a", "Stand-up", "DTSTART:20260302T080000Z"))));
            QCOMPARE(QProcess::execute(u"mv"_s, {staging, rig.path(u"cal/a.ics"_s)}), 0);
            expected[0] = u"09:00-09:00 Stand-up"_s;
        } else if (how == u"remove") {
            QCOMPARE(QProcess::execute(u"rm"_s, {rig.path(u"cal/team/t.ics"_s)}), 0);
            expected.removeLast();
        } else {
            QFile file(rig.path(u"local.ics"_s));
            QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
            file.write(calendar(vevent("l", "Lunch", "DTSTART:20260302T110000Z")
                                + vevent("s", "Synced", "DTSTART:20260302T120000Z")));
            file.close();
            expected.insert(2, u"13:00-13:00 Synced"_s);
        }
        QTRY_VERIFY(rig.scheduler.pendingCount() > idle);

        // In virtual time: the reload follows within a second, long before the 60 s tick.
        rig.scheduler.advance(999);
        QCOMPARE(describe(manager.events()), expected);
    }

    void aBurstOfChangesReloadsOnce()
    {
        Rig rig;
        rig.list({u"cal"_s});
        QDir().mkpath(rig.path(u"cal"_s));
        auto &manager = rig.start();
        QSignalSpy changed(&rig.store, &CalendarStore::changed);
        QVERIFY(writeFile(rig.path(u"staging.ics"_s), calendar(vevent("s", "Synced", "DTSTART:20260302T120000Z"))));
        // A sync tool writing twenty files at once.
        QProcess sync;
        sync.setWorkingDirectory(rig.dir.path());
        sync.start(u"sh"_s, {u"-c"_s, u"for i in $(seq 20); do sed \"s/UID:s/UID:s$i/\" staging.ics > cal/.tmp && "
                                     "mv cal/.tmp cal/s$i.ics; done"_s});
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
