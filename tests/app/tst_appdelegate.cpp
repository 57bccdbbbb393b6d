#include "app/AppDelegate.h"
#include "fakes/FakeAppServices.h"
#include "fakes/FakeInputVolume.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "preferences/Preferences.h"
#include "sources/MicManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using Presence = AppDelegate::TaskbarPresence;

namespace {

// Everything a delegate needs, with fakes.
struct Fixture
{
    explicit Fixture(QJsonObject prefsValues = {}, int micVolume = 100) : storage(std::move(prefsValues)), input(micVolume)
    {
        mic = std::make_unique<MicManager>(input, micQueue, scheduler);
        scheduler.runPending();
        delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
            prefs, scheduler, *mic, statusItems, loginItem, windows,
            [this] { journal.add(QStringLiteral("notch.show")); },
            [this] { journal.add(QStringLiteral("updater.start")); }});
    }

    AppJournal journal;
    MemoryPreferencesStorage storage;
    Preferences prefs{storage};
    VirtualScheduler scheduler;
    FakeInputVolume input;
    InlineWorkQueue micQueue;
    FakeStatusItemHost statusItems{journal};
    FakeLoginItemService loginItem{journal};
    FakeAppWindowFactory windows{journal};
    std::unique_ptr<MicManager> mic;
    std::unique_ptr<AppDelegate> delegate;
};

const QJsonObject kOnboarded{{QStringLiteral("hasCompletedOnboarding"), true},
                             {QStringLiteral("didConfigureLaunchAtLoginDefault"), true}};

} // namespace

class TestAppDelegate : public QObject
{
    Q_OBJECT
private slots:
    void startUpRunsInOrder()
    {
        Fixture f({}, 0); // first launch, microphone muted
        f.delegate->applicationDidFinishLaunching();
        QCOMPARE(f.journal.entries, (QStringList{QStringLiteral("notch.show"), QStringLiteral("status.add"),
                                                 QStringLiteral("updater.start"), QStringLiteral("login.register")}));
        QCOMPARE(f.delegate->taskbarPresence(), Presence::Hidden);
        f.scheduler.advance(499);
        QCOMPARE(f.windows.onboardingCreated, 0);
        f.scheduler.advance(1);
        QCOMPARE(f.windows.onboardingCreated, 1);
        QCOMPARE(f.journal.entries.last(), QStringLiteral("onboarding.present"));
        QCOMPARE(f.delegate->taskbarPresence(), Presence::Shown);
    }

    void onboardingOnlyWhileNotCompleted()
    {
        Fixture f(kOnboarded);
        f.delegate->applicationDidFinishLaunching();
        f.scheduler.advance(5000);
        QCOMPARE(f.windows.onboardingCreated, 0);
        QCOMPARE(f.delegate->taskbarPresence(), Presence::Hidden);
    }

    void taskbarPresenceFollowsEveryOpenAndCloseOrder_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("presences"); // after each step: H(idden) or S(hown)
        const auto L = [](std::initializer_list<const char *> items) {
            QStringList list;
            for (const char *item : items)
                list << QString::fromLatin1(item);
            return list;
        };
        QTest::newRow("settings alone") << L({"openSettings", "userClosesSettings"}) << L({"S", "H"});
        QTest::newRow("onboarding alone, finished") << L({"openOnboarding", "finishOnboarding"}) << L({"S", "H"});
        QTest::newRow("settings closed first") << L({"openOnboarding", "openSettings", "userClosesSettings", "finishOnboarding"})
                                               << L({"S", "S", "S", "H"});
        QTest::newRow("onboarding finished first") << L({"openSettings", "openOnboarding", "finishOnboarding", "userClosesSettings"})
                                                   << L({"S", "S", "S", "H"});
        QTest::newRow("onboarding closed by the system") << L({"openOnboarding", "userClosesOnboarding", "openSettings"})
                                                         << L({"S", "H", "S"});
        QTest::newRow("reopen settings") << L({"openSettings", "userClosesSettings", "openSettings"}) << L({"S", "H", "S"});
    }
    void taskbarPresenceFollowsEveryOpenAndCloseOrder()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, presences);
        Fixture f(kOnboarded);
        f.delegate->applicationDidFinishLaunching();
        for (int i = 0; i < steps.size(); ++i) {
            const QString &step = steps[i];
            if (step == u"openSettings")
                f.delegate->showSettings();
            else if (step == u"openOnboarding")
                f.delegate->showOnboarding();
            else if (step == u"userClosesSettings")
                f.windows.lastSettings->closeByUser();
            else if (step == u"userClosesOnboarding")
                f.windows.lastOnboarding->closeByUser();
            else if (step == u"finishOnboarding")
                f.windows.lastOnboarding->onClose();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const Presence expected = presences[i] == u"S" ? Presence::Shown : Presence::Hidden;
            QVERIFY2(f.delegate->taskbarPresence() == expected, qPrintable(QStringLiteral("after step %1").arg(step)));
        }
    }

    void settingsOpenAtMostOnce()
    {
        Fixture f(kOnboarded);
        f.delegate->showSettings();
        f.delegate->showSettings();
        QCOMPARE(f.windows.settingsCreated, 1);
        QCOMPARE(f.windows.lastSettings->presentCount, 2);
        QSignalSpy tab(f.delegate.get(), &AppDelegate::settingsTabRequested);
        f.delegate->showSettingsTab(QStringLiteral("Widgets"));
        QCOMPARE(f.windows.settingsCreated, 1);
        QCOMPARE(tab.first().first().toString(), QStringLiteral("Widgets"));
    }

    void statusItemFollowsMuteAndPreference()
    {
        Fixture f(kOnboarded, 80);
        f.delegate->applicationDidFinishLaunching();
        QVERIFY(!f.delegate->hasStatusItem());

        f.mic->toggleMute();
        f.scheduler.runPending();
        QVERIFY(f.delegate->hasStatusItem());
        QCOMPARE(f.statusItems.lastSymbol, QStringLiteral("mic.slash.fill"));
        QCOMPARE(f.statusItems.lastToolTip, QStringLiteral("Mic Muted"));

        f.prefs.setBool(false, QStringLiteral("showMicMenuBarIcon"));
        QVERIFY(!f.delegate->hasStatusItem());
        QCOMPARE(f.statusItems.liveItems, 0);
        f.prefs.setObject(QStringLiteral("no"), QStringLiteral("showMicMenuBarIcon")); // not a Boolean: shown
        QVERIFY(f.delegate->hasStatusItem());

        f.statusItems.activate();
        f.scheduler.runPending();
        QVERIFY(!f.mic->isMuted());
        QCOMPARE(f.input.volume, 80);
        QVERIFY(!f.delegate->hasStatusItem());
        QCOMPARE(f.statusItems.liveItems, 0);
    }

    void loginItemRegisteredOnFirstLaunchOnly_data()
    {
        QTest::addColumn<bool>("alreadyConfigured");
        QTest::addColumn<LoginItemService::Status>("status");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("registerCalls");
        QTest::newRow("first launch") << false << LoginItemService::Status::NotRegistered << false << 1;
        QTest::newRow("first launch, registration fails") << false << LoginItemService::Status::NotRegistered << true << 1;
        QTest::newRow("first launch, already enabled") << false << LoginItemService::Status::Enabled << false << 0;
        QTest::newRow("later launch, user turned it off") << true << LoginItemService::Status::NotRegistered << false << 0;
    }
    void loginItemRegisteredOnFirstLaunchOnly()
    {
        QFETCH(bool, alreadyConfigured);
        QFETCH(LoginItemService::Status, status);
        QFETCH(bool, fails);
        QFETCH(int, registerCalls);
        QJsonObject values{{QStringLiteral("hasCompletedOnboarding"), true}};
        if (alreadyConfigured)
            values.insert(QStringLiteral("didConfigureLaunchAtLoginDefault"), true);
        Fixture f(values);
        f.loginItem.currentStatus = status;
        if (fails) {
            f.loginItem.failure = QStringLiteral("autostart folder is read-only");
            QTest::ignoreMessage(QtWarningMsg, "Failed to register the login item: autostart folder is read-only");
        }
        f.delegate->applicationDidFinishLaunching();
        QCOMPARE(f.loginItem.registerCount, registerCalls);
        QVERIFY(f.prefs.value(PrefKey::didConfigureLaunchAtLoginDefault));

        // The next launch never registers again, whatever the status.
        f.loginItem.currentStatus = LoginItemService::Status::NotRegistered;
        AppDelegate second(AppDelegate::Services{f.prefs, f.scheduler, *f.mic, f.statusItems, f.loginItem, f.windows, {}, {}});
        second.applicationDidFinishLaunching();
        QCOMPARE(f.loginItem.registerCount, registerCalls);
    }
};

QTEST_GUILESS_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
