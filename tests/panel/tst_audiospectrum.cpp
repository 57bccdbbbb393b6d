#include "fakes/VirtualScheduler.h"
#include "panel/AudioSpectrum.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {
// Hands out the given values in turn, then repeats the last.
struct Sequence
{
    QList<qreal> values;
    int next = 0;
    qreal operator()() { return values.at(std::min(next++, int(values.size()) - 1)); }
};

const QList<qreal> kIdle(AudioSpectrum::kBarCount, AudioSpectrum::kIdleScale);
} // namespace

class TestAudioSpectrum : public QObject
{
    Q_OBJECT
private slots:
    void playingStepsEveryInterval()
    {
        VirtualScheduler scheduler;
        auto sequence = std::make_shared<Sequence>(Sequence{{0.0, 1.0, 0.5, 0.25, 1.0, 1.0, 0.0}});
        AudioSpectrum spectrum(scheduler, [sequence] { return (*sequence)(); });
        QCOMPARE(spectrum.scales(), kIdle);
        QSignalSpy stepped(&spectrum, &AudioSpectrum::scalesChanged);

        spectrum.setPlaying(true);
        // The first step runs at once; draws map [0, 1] onto [0.3, 1].
        const QList<qreal> expected{0.3, 1.0, 0.65, 0.475, 1.0};
        for (int i = 0; i < AudioSpectrum::kBarCount; ++i)
            QVERIFY(qFuzzyCompare(spectrum.scales().at(i), expected.at(i)));
        scheduler.advance(AudioSpectrum::kStepInterval.count() - 1);
        QCOMPARE(stepped.count(), 1);
        scheduler.advance(1);
        QCOMPARE(stepped.count(), 2);
        QCOMPARE(spectrum.scales().first(), 1.0);
        QCOMPARE(spectrum.scales().at(1), 0.3);
    }

    void oneTimerAtMost_data()
    {
        QTest::addColumn<QList<bool>>("calls");
        QTest::addColumn<int>("timers");
        QTest::newRow("true twice") << QList<bool>{true, true} << 1;
        QTest::newRow("true, false, true") << QList<bool>{true, false, true} << 1;
    }
    void oneTimerAtMost()
    {
        QFETCH(QList<bool>, calls);
        QFETCH(int, timers);
        VirtualScheduler scheduler;
        AudioSpectrum spectrum(scheduler, [] { return 0.5; });
        for (bool playing : std::as_const(calls))
            spectrum.setPlaying(playing);
        QCOMPARE(scheduler.pendingCount(), timers);
        QCOMPARE(spectrum.isAnimating(), timers == 1);
    }

    void stoppingDropsEveryBarToIdle()
    {
        VirtualScheduler scheduler;
        AudioSpectrum spectrum(scheduler, [] { return 1.0; });
        QSignalSpy animating(&spectrum, &AudioSpectrum::animatingChanged);
        spectrum.setPlaying(true);
        scheduler.advance(1000);
        QCOMPARE(spectrum.scales(), QList<qreal>(AudioSpectrum::kBarCount, 1.0));
        spectrum.setPlaying(false);
        QCOMPARE(spectrum.scales(), kIdle);
        QVERIFY(!spectrum.isAnimating());
        QCOMPARE(animating.count(), 2);
        QSignalSpy stepped(&spectrum, &AudioSpectrum::scalesChanged);
        scheduler.advance(10000);
        QCOMPARE(stepped.count(), 0);
    }

    void withoutASchedulerItStaysStill()
    {
        AudioSpectrum spectrum;
        spectrum.setPlaying(true);
        QVERIFY(spectrum.isPlaying());
        QVERIFY(!spectrum.isAnimating());
        QCOMPARE(spectrum.scales(), kIdle);
    }
};

QTEST_GUILESS_MAIN(TestAudioSpectrum)
#include "tst_audiospectrum.moc"
