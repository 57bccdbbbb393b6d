#include "fakes/FakeCalendarStore.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "preferences/Preferences.h"
#include "sources/CalendarTime.h"
#include "sources/NotchCalendarManager.h"
#include "sources/NotchEventListModel.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;
using Access = CalendarAuthorization;

namespace {

QDateTime at(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute), Qt::LocalTime);
}

CalendarEvent storeEvent(const QString &id, const QString &title, int day)
{
    return CalendarEvent{id, title, at(day, 10), at(day, 11), false, QColor()};
}

QStringList titles(const QList<NotchEventModel> &events)
{
    QStringList result;
    for (const auto &e : events)
        result << e.title;
    return result;
}

// The manager with a fake store and virtual time; 2 March 2026, 09:00.
struct Rig
{
    explicit Rig(Access status = Access::FullAccess, QJsonObject prefValues = {}) : storage(std::move(prefValues))
    {
        store.status = status;
    }
    NotchCalendarManager &start()
    {
        manager = std::make_unique<NotchCalendarManager>(store, prefs, scheduler);
        scheduler.runPending();
        return *manager;
    }

    VirtualScheduler scheduler;
    FakeCalendarStore store{scheduler};
    MemoryPreferencesStorage storage;
    Preferences prefs{storage};
    std::unique_ptr<NotchCalendarManager> manager;
};

// "a" is an event with id "a"; "a*" the same event with a new title.
QList<NotchEventModel> keyed(const QStringList &keys)
{
    QList<NotchEventModel> list;
    for (const QString &key : keys) {
        NotchEventModel e;
        e.id = key.left(1);
        e.title = key;
        e.start = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        list.append(e);
    }
    return list;
}

QStringList rowTitles(const NotchEventListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.data(model.index(row), NotchEventListModel::TitleRole).toString();
    return result;
}

} // namespace

// The calendar manager with a fake store, the list model it feeds and its local-time helpers.
// The test runs in Europe/Berlin: clocks jump 02:00 -> 03:00 on 29 March 2026
// and fall back 03:00 -> 02:00 on 25 October 2026.
class TestNotchCalendarManager : public QObject
{
    Q_OBJECT
private slots:
    void creationGrantsAndLoadsOnlyWithFullAccess_data()
    {
        QTest::addColumn<Access>("status");
        QTest::addColumn<bool>("granted");
        QTest::newRow("not determined") << Access::NotDetermined << false;
        QTest::newRow("denied") << Access::Denied << false;
        QTest::newRow("full access") << Access::FullAccess << true;
        QTest::newRow("write only") << Access::WriteOnly << false;
    }
    void creationGrantsAndLoadsOnlyWithFullAccess()
    {
        QFETCH(Access, status);
        QFETCH(bool, granted);
        Rig rig(status);
        rig.store.events = {storeEvent(u"a"_s, u"Standup"_s, 2)};
        auto &manager = rig.start();
        QCOMPARE(manager.authorizationGranted(), granted);
        QCOMPARE(manager.selectedDate(), at(2, 0));
        QCOMPARE(manager.events().size(), granted ? 1 : 0);
        // The refresh timer runs only with access.
        rig.scheduler.advance(NotchCalendarManager::refreshInterval);
        QCOMPARE(rig.store.loadSpans.size(), granted ? 2 : 0);
    }

    void requestAccessFollowsTheStatus_data()
    {
        QTest::addColumn<Access>("start");
        QTest::addColumn<Access>("status");
        QTest::addColumn<Access>("answer");
        QTest::addColumn<int>("accessRequests");
        QTest::addColumn<int>("folderChoosers");
        QTest::addColumn<bool>("granted");
        const Access none = Access::NotDetermined;
        QTest::newRow("not determined, then granted") << none << none << Access::FullAccess << 1 << 0 << true;
        QTest::newRow("not determined, then refused") << none << none << Access::Denied << 1 << 0 << false;
        QTest::newRow("write only asks again") << none << Access::WriteOnly << Access::WriteOnly << 1 << 0 << false;
        QTest::newRow("denied opens the settings") << none << Access::Denied << Access::Denied << 0 << 1 << false;
        QTest::newRow("full access grants at once") << none << Access::FullAccess << Access::FullAccess << 0 << 0 << true;
        QTest::newRow("a refusal takes access back") << Access::FullAccess << none << Access::Denied << 1 << 0 << false;
    }
    void requestAccessFollowsTheStatus()
    {
        QFETCH(Access, start);
        QFETCH(Access, status);
        QFETCH(Access, answer);
        QFETCH(bool, granted);
        Rig rig(start);
        auto &manager = rig.start();
        rig.store.status = status;
        rig.store.events = {storeEvent(u"a"_s, u"Standup"_s, 2)};
        QSignalSpy grantedSpy(&manager, &NotchCalendarManager::authorizationGrantedChanged);
        manager.requestAccess();
        rig.store.answerAccessRequest(answer);
        rig.scheduler.runPending();
        QTEST(rig.store.accessRequests, "accessRequests");
        QTEST(rig.store.folderChoosers, "folderChoosers");
        QCOMPARE(manager.authorizationGranted(), granted);
        QCOMPARE(grantedSpy.count(), granted != (start == Access::FullAccess) ? 1 : 0);
        QCOMPARE(manager.events().size(), granted ? 1 : 0);
    }

    void aSecondGrantKeepsOneRefreshTimer()
    {
        Rig rig(Access::NotDetermined);
        auto &manager = rig.start();
        manager.requestAccess();
        rig.store.answerAccessRequest(Access::FullAccess);
        rig.scheduler.advance(30'000);
        manager.requestAccess(); // already granted: nothing new
        rig.store.status = Access::WriteOnly;
        manager.requestAccess();
        rig.store.answerAccessRequest(Access::FullAccess); // restarts the timer
        rig.scheduler.runPending();
        const int loadsAfterGrants = int(rig.store.loadSpans.size());
        rig.scheduler.advance(59'999);
        QCOMPARE(rig.store.loadSpans.size(), loadsAfterGrants);
        rig.scheduler.advance(1);
        QCOMPARE(rig.store.loadSpans.size(), loadsAfterGrants + 1);
        rig.scheduler.advance(NotchCalendarManager::refreshInterval * 3);
        QCOMPARE(rig.store.loadSpans.size(), loadsAfterGrants + 4);
    }

    void theDeniedSettingsAddTheChosenFolderToTheSources()
    {
        Rig rig(Access::Denied, QJsonObject{{u"calendarSources"_s, QJsonArray{u"/gone"_s}}});
        auto &manager = rig.start();
        QCOMPARE(rig.store.sources, QStringList{u"/gone"_s});
        const QStringList expected{u"/gone"_s, u"/home/u/.calendars"_s};
        for (int i = 0; i < 2; ++i) { // choosing the same folder again lists it once
            manager.requestAccess();
            rig.store.chooseFolder(u"/home/u/.calendars"_s);
            QCOMPARE(rig.prefs.value(PrefKey::calendarSources), expected);
            QCOMPARE(rig.store.sources, expected);
        }
    }

    void changedSourcesReload()
    {
        Rig rig;
        rig.start();
        const auto loads = rig.store.loadSpans.size();
        rig.prefs.setObject(QStringList{u"/cal"_s}, u"calendarSources"_s);
        QCOMPARE(rig.store.sources, QStringList{u"/cal"_s});
        QCOMPARE(rig.store.loadSpans.size(), loads + 1);
        rig.prefs.setBool(true, u"enableGlassUI"_s);
        QCOMPARE(rig.store.loadSpans.size(), loads + 1);
    }

    void selectTodayFollowsTheClock()
    {
        Rig rig;
        auto &manager = rig.start();
        manager.setSelectedDate(at(20, 0));
        manager.selectToday();
        QCOMPARE(manager.selectedDate(), at(2, 0));
        rig.scheduler.advance(15 * 3600 * 1000); // past midnight
        manager.selectToday();
        QCOMPARE(manager.selectedDate(), at(3, 0));
    }

    void aStoreChangeReloadsOnTheNextTurn()
    {
        Rig rig;
        auto &manager = rig.start();
        rig.store.events = {storeEvent(u"a"_s, u"Synced"_s, 2)};
        rig.store.changeOutside();
        QVERIFY(manager.events().isEmpty()); // deferred, not inside the store's signal
        rig.scheduler.runPending();
        QCOMPARE(titles(manager.events()), QStringList{u"Synced"_s});
    }

    void anAnswerToAnOlderFetchIsDropped()
    {
        Rig rig;
        rig.store.holdLoads = true;
        auto &manager = rig.start();
        rig.store.events = {storeEvent(u"a"_s, u"Monday"_s, 2), storeEvent(u"b"_s, u"Tuesday"_s, 3)};
        manager.setSelectedDate(at(3, 0));
        manager.fetchEvents();
        rig.store.answerHeldLoad(1); // Tuesday's answer first
        rig.store.answerHeldLoad(0); // then the stale one for Monday
        QCOMPARE(titles(manager.events()), QStringList{u"Tuesday"_s});
    }

    void addEventBuildsTheEvent_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("savedTitle"); // empty: refused
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("14:30 for an hour") << "Dentist" << at(2, 14, 30) << 60 << "Dentist" << at(20, 14, 30)
                                           << at(20, 15, 30);
        QTest::newRow("title trimmed") << " \t Review\n " << at(2, 8, 5) << 60 << "Review" << at(20, 8, 5) << at(20, 9, 5);
        QTest::newRow("seconds of the time dropped")
            << "Call" << at(2, 11).addSecs(42) << 15 << "Call" << at(20, 11) << at(20, 11, 15);
        QTest::newRow("no time means 09:00") << "Gym" << QDateTime() << 60 << "Gym" << at(20, 9) << at(20, 10);
        QTest::newRow("past midnight") << "Party" << at(2, 23, 30) << 120 << "Party" << at(20, 23, 30) << at(21, 1, 30);
        QTest::newRow("blank title") << "\t\n\r\n " << at(2, 14) << 60 << "" << QDateTime() << QDateTime();
    }
    void addEventBuildsTheEvent()
    {
        QFETCH(QString, title);
        QFETCH(QDateTime, time);
        QFETCH(int, minutes);
        QFETCH(QString, savedTitle);
        Rig rig;
        auto &manager = rig.start();
        const bool accepted = !savedTitle.isEmpty();
        QCOMPARE(manager.addEvent(title, at(20, 18), time, minutes), accepted);
        QCOMPARE(rig.store.saved.size(), accepted ? 1 : 0);
        QCOMPARE(manager.selectedDate(), accepted ? at(20, 0) : at(2, 0));
        if (!accepted)
            return;
        QCOMPARE(rig.store.saved[0].title, savedTitle);
        QTEST(rig.store.saved[0].start, "start");
        QTEST(rig.store.saved[0].end, "end");
        rig.scheduler.runPending();
        QCOMPARE(titles(manager.events()), QStringList{savedTitle});
    }

    void recordsMatchByIdAndFillGaps()
    {
        CalendarEvent a{u"same"_s, u"One"_s, at(2, 9), at(2, 10), false, QColor(Qt::red)};
        CalendarEvent b{u"same"_s, u"Two"_s, at(3, 9), at(3, 10), true, QColor()};
        const NotchEventModel first = NotchEventModel::fromStore(a);
        const NotchEventModel second = NotchEventModel::fromStore(b);
        QVERIFY(first == second);
        QVERIFY(!first.sameContent(second));
        QCOMPARE(first.calendarColor, QColor(Qt::red));
        QCOMPARE(second.calendarColor, NotchEventModel::defaultCalendarColor());

        CalendarEvent bare{QString(), QString(), at(2, 9), at(2, 10), false, QColor()};
        const NotchEventModel one = NotchEventModel::fromStore(bare);
        QCOMPARE(one.title, u"Untitled"_s);
        QCOMPARE(one.id.size(), 36);
        QVERIFY(one != NotchEventModel::fromStore(bare));
    }

    void destructionStopsTheTimer()
    {
        Rig rig;
        rig.start();
        rig.manager.reset();
        QCOMPARE(rig.scheduler.pendingCount(), 0);
    }

    void rowsFollowTheListByKey_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("resets");
        QTest::addColumn<int>("dataChanges");
        QTest::newRow("first fill") << QStringList{} << QStringList{"a", "b"} << 0 << 0;
        QTest::newRow("emptied") << QStringList{"a", "b"} << QStringList{} << 0 << 0;
        QTest::newRow("same list") << QStringList{"a", "b"} << QStringList{"a", "b"} << 0 << 0;
        QTest::newRow("reordered") << QStringList{"a", "b", "c"} << QStringList{"c", "a", "b"} << 0 << 0;
        QTest::newRow("insert and remove") << QStringList{"a", "b", "c"} << QStringList{"x", "b", "y"} << 0 << 0;
        QTest::newRow("retitled") << QStringList{"a", "b"} << QStringList{"a", "b*"} << 0 << 1;
        QTest::newRow("retitled and moved") << QStringList{"a", "b"} << QStringList{"b*", "a"} << 0 << 1;
        QTest::newRow("duplicate ids reset") << QStringList{"a"} << QStringList{"a", "a*"} << 1 << 0;
    }
    void rowsFollowTheListByKey()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(int, resets);
        QFETCH(int, dataChanges);
        NotchEventListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setEvents(keyed(before));
        QCOMPARE(rowTitles(model), before);

        // Rows of events that stay must stay the same rows (delegates keep their state).
        QList<QPersistentModelIndex> kept;
        for (int row = 0; row < model.rowCount(); ++row)
            kept << QPersistentModelIndex(model.index(row));
        QSignalSpy resetSpy(&model, &QAbstractItemModel::modelReset);
        QSignalSpy dataSpy(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy countSpy(&model, &NotchEventListModel::countChanged);

        model.setEvents(keyed(after));
        QCOMPARE(rowTitles(model), after);
        QCOMPARE(resetSpy.count(), resets);
        QCOMPARE(dataSpy.count(), dataChanges);
        QCOMPARE(countSpy.count(), before.size() == after.size() ? 0 : 1);
        if (resets == 0) {
            for (int i = 0; i < kept.size(); ++i) {
                const QString id = before.at(i).left(1);
                const bool stays = std::any_of(after.begin(), after.end(), [&](const QString &k) { return k.left(1) == id; });
                QCOMPARE(kept.at(i).isValid(), stays);
                if (stays)
                    QCOMPARE(kept.at(i).data(NotchEventListModel::IdRole).toString(), id);
            }
        }
    }

    void wallClockTimesOnADay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("utc"); // empty: no such instant
        QTest::newRow("winter") << QDate(2026, 3, 2) << 14 << 30 << QStringLiteral("2026-03-02T13:30:00Z");
        QTest::newRow("midnight") << QDate(2026, 3, 2) << 0 << 0 << QStringLiteral("2026-03-01T23:00:00Z");
        QTest::newRow("skipped hour: the first instant after the jump")
            << QDate(2026, 3, 29) << 2 << 30 << QStringLiteral("2026-03-29T01:00:00Z");
        QTest::newRow("just before the jump") << QDate(2026, 3, 29) << 1 << 59 << QStringLiteral("2026-03-29T00:59:00Z");
        QTest::newRow("repeated hour: the first of the two")
            << QDate(2026, 10, 25) << 2 << 30 << QStringLiteral("2026-10-25T00:30:00Z");
        QTest::newRow("after the repeated hour") << QDate(2026, 10, 25) << 3 << 0 << QStringLiteral("2026-10-25T02:00:00Z");
        QTest::newRow("no such hour") << QDate(2026, 3, 2) << 24 << 0 << QString();
        QTest::newRow("no date") << QDate() << 9 << 0 << QString();
    }
    void wallClockTimesOnADay()
    {
        QFETCH(QDate, date);
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(QString, utc);
        const auto result = localDateTimeAt(date, hour, minute);
        QCOMPARE(result.has_value(), !utc.isEmpty());
        if (result)
            QCOMPARE(result->toUTC().toString(Qt::ISODate), utc);
    }

    void startOfDayIsLocalMidnight()
    {
        const QDateTime lateUtc(QDate(2026, 3, 2), QTime(23, 30), Qt::UTC); // 00:30 on the 3rd in Berlin
        QCOMPARE(startOfLocalDay(lateUtc), QDateTime(QDate(2026, 3, 3), QTime(0, 0)));
        QVERIFY(!startOfLocalDay(QDateTime()).isValid());
    }
};

QTEST_GUILESS_MAIN(TestNotchCalendarManager)
#include "tst_notchcalendarmanager.moc"
