#include "sources/CalendarTime.h"

#include <QTest>

using namespace talvo;

// The test runs in Europe/Berlin: clocks jump 02:00 -> 03:00 on 29 March 2026
// and fall back 03:00 -> 02:00 on 25 October 2026.
class TestCalendarTime : public QObject
{
    Q_OBJECT
private slots:
    void wallClockTimesOnADay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("utc"); // empty: no such instant
        QTest::newRow("winter") << QDate(2026, 3, 2) << 14 << 30 << QStringLiteral("2026-03-02T13:30:00Z");
        QTest::newRow("summer") << QDate(2026, 7, 2) << 14 << 30 << QStringLiteral("2026-07-02T12:30:00Z");
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

QTEST_GUILESS_MAIN(TestCalendarTime)
#include "tst_calendartime.moc"
