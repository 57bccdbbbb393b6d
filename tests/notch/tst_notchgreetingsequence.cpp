#include "fakes/VirtualScheduler.h"
#include "notch/NotchGreetingSequence.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

class TestNotchGreetingSequence : public QObject
{
    Q_OBJECT
private slots:
    void passesEachGreetingOnceAndStaysOnTheLast()
    {
        VirtualScheduler scheduler;
        NotchGreetingSequence greeting(scheduler);
        QCOMPARE(greeting.greetings(),
                 QStringList({"hello", "bonjour", "hola", "ciao", "hallo", "hej", "welcome"}));
        QSignalSpy changed(&greeting, &NotchGreetingSequence::currentIndexChanged);

        greeting.start();
        QCOMPARE(greeting.currentGreeting(), QStringLiteral("hello"));
        QStringList seen;
        for (int ms = 0; ms <= 5000; ms += 100) {
            scheduler.advance(ms == 0 ? 0 : 100);
            if (seen.isEmpty() || seen.last() != greeting.currentGreeting())
                seen.append(greeting.currentGreeting());
            if (ms == 500)
                QCOMPARE(greeting.currentIndex(), 0);
            if (ms == 600)
                QCOMPARE(greeting.currentIndex(), 1);
            if (ms == 3500)
                QCOMPARE(greeting.currentIndex(), 5);
        }
        QCOMPARE(seen, greeting.greetings());
        QCOMPARE(greeting.currentGreeting(), QStringLiteral("welcome"));
        QCOMPARE(changed.count(), 6);
        QCOMPARE(scheduler.pendingCount(), 0);
    }

    void eachShowingStartsAgainAndOldStepsStayQuiet()
    {
        VirtualScheduler scheduler;
        NotchGreetingSequence greeting(scheduler);
        greeting.start();
        scheduler.advance(1000);
        QCOMPARE(greeting.currentIndex(), 1);

        greeting.start(); // shown again while the first showing's steps are pending
        QCOMPARE(greeting.currentIndex(), 0);
        scheduler.advance(300); // the first showing's step to index 2 falls here
        QCOMPARE(greeting.currentIndex(), 0);
        scheduler.advance(300);
        QCOMPARE(greeting.currentIndex(), 1);
        scheduler.advance(3000);
        QCOMPARE(greeting.currentIndex(), 6);
    }

    void aSingleGreetingSchedulesNothing()
    {
        VirtualScheduler scheduler;
        NotchGreetingSequence greeting(scheduler, {QStringLiteral("hi")});
        greeting.start();
        QCOMPARE(scheduler.pendingCount(), 0);
        QCOMPARE(greeting.currentGreeting(), QStringLiteral("hi"));
        NotchGreetingSequence empty(scheduler, {});
        empty.start();
        QCOMPARE(empty.currentGreeting(), QString());
    }

    void stepsOutlivingTheSequenceAreSkipped()
    {
        VirtualScheduler scheduler;
        {
            NotchGreetingSequence greeting(scheduler);
            greeting.start();
        }
        scheduler.advance(5000); // must not touch the destroyed object
        QCOMPARE(scheduler.pendingCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestNotchGreetingSequence)
#include "tst_notchgreetingsequence.moc"
