#include "app/Preferences.h"
#include "fakes/FakeCalendarStore.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "sources/NotchCalendarManager.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

QDateTime at(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute), Qt::LocalTime);
}

CalendarEvent storeEvent(const QString &id, const QString &title, const QDateTime &start, const QDateTime &end,
                    bool allDay = false)
{
    return CalendarEvent{id, title, start, end, allDay, QColor()};
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
    explicit Rig(CalendarAuthorization status = CalendarAuthorization::FullAccess, QJsonObject prefValues = {})
        : storage(std::move(prefValues))
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

} // namespace

class TestNotchCalendarManager : public QObject
{
    Q_OBJECT
private slots:
    void creationGrantsAndLoadsOnlyWithFullAccess_data()
    {
        QTest::addColumn<CalendarAuthorization>("status");
        QTest::addColumn<bool>("granted");
        QTest::newRow("not determined") << CalendarAuthorization::NotDetermined << false;
        QTest::newRow("restricted") << CalendarAuthorization::Restricted << false;
        QTest::newRow("denied") << CalendarAuthorization::Denied << false;
        QTest::newRow("full access") << CalendarAuthorization::FullAccess << true;
        QTest::newRow("write only") << CalendarAuthorization::WriteOnly << false;
    }
    void creationGrantsAndLoadsOnlyWithFullAccess()
    {
        QFETCH(CalendarAuthorization, status);
        QFETCH(bool, granted);
        Rig rig(status);
        rig.store.events = {storeEvent(QStringLiteral("a"), QStringLiteral("Standup"), at(2, 10), at(2, 11))};
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
        QTest::addColumn<CalendarAuthorization>("status");
        QTest::addColumn<CalendarAuthorization>("answer");
        QTest::addColumn<int>("accessRequests");
        QTest::addColumn<int>("folderChoosers");
        QTest::addColumn<bool>("granted");
        QTest::newRow("not determined, then granted")
            << CalendarAuthorization::NotDetermined << CalendarAuthorization::FullAccess << 1 << 0 << true;
        QTest::newRow("not determined, then refused")
            << CalendarAuthorization::NotDetermined << CalendarAuthorization::Denied << 1 << 0 << false;
        QTest::newRow("write only asks again")
            << CalendarAuthorization::WriteOnly << CalendarAuthorization::WriteOnly << 1 << 0 << false;
        QTest::newRow("denied opens the settings")
            << CalendarAuthorization::Denied << CalendarAuthorization::Denied << 0 << 1 << false;
        QTest::newRow("restricted opens the settings")
            << CalendarAuthorization::Restricted << CalendarAuthorization::Restricted << 0 << 1 << false;
        QTest::newRow("full access grants at once")
            << CalendarAuthorization::FullAccess << CalendarAuthorization::FullAccess << 0 << 0 << true;
    }
    void requestAccessFollowsTheStatus()
    {
        QFETCH(CalendarAuthorization, status);
        QFETCH(CalendarAuthorization, answer);
        QFETCH(int, accessRequests);
        QFETCH(int, folderChoosers);
        QFETCH(bool, granted);
        Rig rig(CalendarAuthorization::NotDetermined);
        auto &manager = rig.start();
        rig.store.status = status;
        rig.store.events = {storeEvent(QStringLiteral("a"), QStringLiteral("Standup"), at(2, 10), at(2, 11))};
        QSignalSpy grantedSpy(&manager, &NotchCalendarManager::authorizationGrantedChanged);
        manager.requestAccess();
        rig.store.answerAccessRequest(answer);
        rig.scheduler.runPending();
        QCOMPARE(rig.store.accessRequests, accessRequests);
        QCOMPARE(rig.store.folderChoosers, folderChoosers);
        QCOMPARE(manager.authorizationGranted(), granted);
        QCOMPARE(grantedSpy.count(), granted ? 1 : 0);
        QCOMPARE(manager.events().size(), granted ? 1 : 0);
    }

    void aSecondGrantKeepsOneRefreshTimer()
    {
        Rig rig(CalendarAuthorization::NotDetermined);
        auto &manager = rig.start();
        rig.store.status = CalendarAuthorization::NotDetermined;
        manager.requestAccess();
        rig.store.answerAccessRequest(CalendarAuthorization::FullAccess);
        rig.scheduler.advance(30'000);
        manager.requestAccess(); // already granted: nothing new
        rig.store.status = CalendarAuthorization::WriteOnly;
        manager.requestAccess();
        rig.store.answerAccessRequest(CalendarAuthorization::FullAccess); // restarts the timer
        rig.scheduler.runPending();
        const int loadsAfterGrants = int(rig.store.loadSpans.size());
        rig.scheduler.advance(59'999);
        QCOMPARE(rig.store.loadSpans.size(), loadsAfterGrants);
        rig.scheduler.advance(1);
        QCOMPARE(rig.store.loadSpans.size(), loadsAfterGrants + 1);
        rig.scheduler.advance(NotchCalendarManager::refreshInterval * 3);
        QCOMPARE(rig.store.loadSpans.size(), loadsAfterGrants + 4);
    }

    void aRefusedRequestTakesAccessBack()
    {
        Rig rig;
        auto &manager = rig.start();
        QVERIFY(manager.authorizationGranted());
        rig.store.status = CalendarAuthorization::NotDetermined;
        manager.requestAccess();
        rig.store.answerAccessRequest(CalendarAuthorization::Denied);
        QVERIFY(!manager.authorizationGranted());
    }

    void theDeniedSettingsAddTheChosenFolderToTheSources()
    {
        Rig rig(CalendarAuthorization::Denied,
                QJsonObject{{QStringLiteral("calendarSources"), QJsonArray{QStringLiteral("/gone")}}});
        auto &manager = rig.start();
        QCOMPARE(rig.store.sources, QStringList{QStringLiteral("/gone")});
        manager.requestAccess();
        rig.store.chooseFolder(QStringLiteral("/home/u/.calendars"));
        const QStringList expected{QStringLiteral("/gone"), QStringLiteral("/home/u/.calendars")};
        QCOMPARE(rig.prefs.value(PrefKey::calendarSources), expected);
        QCOMPARE(rig.store.sources, expected);
        // Choosing the same folder again lists it once.
        manager.requestAccess();
        rig.store.chooseFolder(QStringLiteral("/home/u/.calendars"));
        QCOMPARE(rig.prefs.value(PrefKey::calendarSources), expected);
    }

    void changedSourcesReload()
    {
        Rig rig;
        rig.start();
        const auto loads = rig.store.loadSpans.size();
        rig.prefs.setObject(QStringList{QStringLiteral("/cal")}, QStringLiteral("calendarSources"));
        QCOMPARE(rig.store.sources, QStringList{QStringLiteral("/cal")});
        QCOMPARE(rig.store.loadSpans.size(), loads + 1);
        rig.prefs.setBool(true, QStringLiteral("enableGlassUI"));
        QCOMPARE(rig.store.loadSpans.size(), loads + 1);
    }

    void selectTodayFollowsTheClock()
    {
        Rig rig;
        auto &manager = rig.start();
        manager.setSelectedDate(at(20, 0));
        QSignalSpy selected(&manager, &NotchCalendarManager::selectedDateChanged);
        manager.selectToday();
        QCOMPARE(manager.selectedDate(), at(2, 0));
        manager.selectToday();
        QCOMPARE(selected.count(), 1);
        rig.scheduler.advance(15 * 3600 * 1000); // past midnight
        manager.selectToday();
        QCOMPARE(manager.selectedDate(), at(3, 0));
    }

    void eventsChangedOnlyOnARealChange()
    {
        Rig rig;
        rig.store.events = {storeEvent(QStringLiteral("a"), QStringLiteral("Standup"), at(2, 10), at(2, 11))};
        auto &manager = rig.start();
        QSignalSpy changed(&manager, &NotchCalendarManager::eventsChanged);
        rig.scheduler.advance(NotchCalendarManager::refreshInterval);
        QCOMPARE(changed.count(), 0);
        rig.store.events[0].title = QStringLiteral("Stand-up");
        rig.scheduler.advance(NotchCalendarManager::refreshInterval);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(manager.events().first().title, QStringLiteral("Stand-up"));
        QCOMPARE(manager.eventList()->count(), 1);
    }

    void aStoreChangeReloadsOnTheNextTurn()
    {
        Rig rig;
        auto &manager = rig.start();
        rig.store.events = {storeEvent(QStringLiteral("a"), QStringLiteral("Synced"), at(2, 10), at(2, 11))};
        rig.store.changeOutside();
        QVERIFY(manager.events().isEmpty()); // deferred, not inside the store's signal
        rig.scheduler.runPending();
        QCOMPARE(titles(manager.events()), QStringList{QStringLiteral("Synced")});
    }

    void anAnswerToAnOlderFetchIsDropped()
    {
        Rig rig;
        rig.store.holdLoads = true;
        auto &manager = rig.start();
        rig.store.events = {storeEvent(QStringLiteral("a"), QStringLiteral("Monday"), at(2, 10), at(2, 11)),
                            storeEvent(QStringLiteral("b"), QStringLiteral("Tuesday"), at(3, 10), at(3, 11))};
        manager.setSelectedDate(at(3, 0));
        manager.fetchEvents();
        rig.store.answerHeldLoad(1); // Tuesday's answer first
        rig.store.answerHeldLoad(0); // then the stale one for Monday
        QCOMPARE(titles(manager.events()), QStringList{QStringLiteral("Tuesday")});
    }

    void addEventBuildsTheEvent_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("savedTitle");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("14:30 for an hour") << QStringLiteral("Dentist") << at(2, 14, 30) << 60
                                           << QStringLiteral("Dentist") << at(20, 14, 30) << at(20, 15, 30);
        QTest::newRow("title trimmed") << QStringLiteral(" \t Review\n ") << at(2, 8, 5) << 60
                                       << QStringLiteral("Review") << at(20, 8, 5) << at(20, 9, 5);
        QTest::newRow("seconds of the time dropped") << QStringLiteral("Call") << at(2, 11).addSecs(42) << 15
                                                     << QStringLiteral("Call") << at(20, 11) << at(20, 11, 15);
        QTest::newRow("no time means 09:00") << QStringLiteral("Gym") << QDateTime() << 60 << QStringLiteral("Gym")
                                             << at(20, 9) << at(20, 10);
        QTest::newRow("past midnight") << QStringLiteral("Party") << at(2, 23, 30) << 120
                                       << QStringLiteral("Party") << at(20, 23, 30) << at(21, 1, 30);
    }
    void addEventBuildsTheEvent()
    {
        QFETCH(QString, title);
        QFETCH(QDateTime, time);
        QFETCH(int, minutes);
        QFETCH(QString, savedTitle);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        Rig rig;
        auto &manager = rig.start();
        QSignalSpy selected(&manager, &NotchCalendarManager::selectedDateChanged);
        QVERIFY(manager.addEvent(title, at(20, 18), time, minutes));
        QCOMPARE(rig.store.saved.size(), 1);
        QCOMPARE(rig.store.saved[0].title, savedTitle);
        QCOMPARE(rig.store.saved[0].start, start);
        QCOMPARE(rig.store.saved[0].end, end);
        QCOMPARE(manager.selectedDate(), at(20, 0));
        QCOMPARE(selected.count(), 1);
        rig.scheduler.runPending();
        QCOMPARE(titles(manager.events()), QStringList{savedTitle});
    }

    void addEventRefusesBlankTitles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("empty") << QString();
        QTest::newRow("spaces") << QStringLiteral("   ");
        QTest::newRow("tabs and line breaks") << QStringLiteral("\t\n\r\n ");
    }
    void addEventRefusesBlankTitles()
    {
        QFETCH(QString, title);
        Rig rig;
        auto &manager = rig.start();
        QVERIFY(!manager.addEvent(title, at(2, 0), at(2, 14, 30), 60));
        QVERIFY(rig.store.saved.isEmpty());
        QCOMPARE(manager.selectedDate(), at(2, 0));
    }

    void recordsMatchByIdAndFillGaps()
    {
        CalendarEvent a{QStringLiteral("same"), QStringLiteral("One"), at(2, 9), at(2, 10), false, QColor(Qt::red)};
        CalendarEvent b{QStringLiteral("same"), QStringLiteral("Two"), at(3, 9), at(3, 10), true, QColor()};
        const NotchEventModel first = NotchEventModel::fromStore(a);
        const NotchEventModel second = NotchEventModel::fromStore(b);
        QVERIFY(first == second);
        QVERIFY(!first.sameContent(second));
        QCOMPARE(first.calendarColor, QColor(Qt::red));
        QCOMPARE(second.calendarColor, NotchEventModel::defaultCalendarColor());

        CalendarEvent bare{QString(), QString(), at(2, 9), at(2, 10), false, QColor()};
        const NotchEventModel one = NotchEventModel::fromStore(bare);
        const NotchEventModel two = NotchEventModel::fromStore(bare);
        QCOMPARE(one.title, QStringLiteral("Untitled"));
        QCOMPARE(one.id.size(), 36);
        QVERIFY(one != two);
    }

    void destructionStopsTheTimer()
    {
        Rig rig;
        rig.start();
        rig.manager.reset();
        QCOMPARE(rig.scheduler.pendingCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestNotchCalendarManager)
#include "tst_notchcalendarmanager.moc"
