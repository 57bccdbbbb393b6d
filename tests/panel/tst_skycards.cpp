#include "fakes/FakeCalendarStore.h"
#include "fakes/FakeNotchServices.h"
#include "panel/AddEventForm.h"
#include "panel/CalendarCardModel.h"
#include "panel/RainShower.h"
#include "panel/WeatherSceneStyle.h"
#include "panel/WeekDay.h"
#include "sources/NotchCalendarManager.h"

#include <QRandomGenerator>
#include <QTest>

using namespace talvo;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

QDateTime at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// A form on the calendar manager and the notch's view model, with time and
// the calendar store faked.
struct FormRig
{
    FormRig()
    {
        notch.scheduler.setNow(at(2026, 3, 2, 9, 30));
        calendar.requestAccess();
        notch.scheduler.runPending();
        form.setCalendar(&calendar);
        form.setViewModel(&notch.vm);
        form.open(at(2026, 3, 2, 0, 0));
    }

    FakeNotchServices notch;
    FakeCalendarStore store{notch.scheduler};
    NotchCalendarManager calendar{store, notch.preferences, notch.scheduler};
    AddEventForm form{notch.scheduler};
};

} // namespace

// The weather and calendar cards' rules: the sky for a condition, the rain's
// drops and streaks, the week strip, the day texts, the add-event form and the
// window's popup area.
class TestSkyCards : public QObject
{
    Q_OBJECT
private slots:
    void skyFollowsTheConditionExactly_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<WeatherSceneStyle::Scene>("scene");
        QTest::addColumn<QColor>("first");
        QTest::addColumn<QColor>("second");
        const QColor blue = QColor::fromRgbF(0.2f, 0.6f, 0.9f, 0.15f);
        const QColor lightBlue = QColor::fromRgbF(0.4f, 0.8f, 1.0f, 0.15f);
        const QColor dark = QColor::fromRgbF(0.2f, 0.2f, 0.3f, 0.15f);
        const QColor slate = QColor::fromRgbF(0.3f, 0.4f, 0.5f, 0.15f);
        const QColor grey = QColor::fromRgbF(0.4f, 0.5f, 0.6f, 0.15f);
        const QColor lightGrey = QColor::fromRgbF(0.6f, 0.7f, 0.8f, 0.15f);
        using S = WeatherSceneStyle::Scene;
        QTest::newRow("Clear") << "Clear" << S::Sun << blue << lightBlue;
        QTest::newRow("Rain") << "Rain" << S::Rain << dark << slate;
        QTest::newRow("Heavy Rain") << "Heavy Rain" << S::Rain << dark << slate;
        QTest::newRow("Storm") << "Storm" << S::Rain << dark << slate;
        QTest::newRow("Cloudy") << "Cloudy" << S::Clouds << grey << lightGrey;
        QTest::newRow("case differs") << "clear" << S::Clouds << grey << lightGrey;
        QTest::newRow("trailing blank") << "Rain " << S::Clouds << grey << lightGrey;
        QTest::newRow("empty") << "" << S::Clouds << grey << lightGrey;
    }
    void skyFollowsTheConditionExactly()
    {
        QFETCH(QString, condition);
        QFETCH(WeatherSceneStyle::Scene, scene);
        QFETCH(QColor, first);
        QFETCH(QColor, second);
        WeatherSceneStyle style;
        style.setCondition(condition);
        QCOMPARE(style.scene(), scene);
        QCOMPARE(style.firstColor(), first);
        QCOMPARE(style.secondColor(), second);
    }

    void rainDrawsEachFieldOnItsOwnWithinItsRange()
    {
        QRandomGenerator random(7);
        const QList<RainDrop> drops = RainShower::generate(400, random);
        const QList<std::pair<RainDrop::Range, double RainDrop::*>> fields{
            {RainDrop::kX, &RainDrop::x},
            {RainDrop::kLength, &RainDrop::length},
            {RainDrop::kSpeed, &RainDrop::speed},
            {RainDrop::kOpacity, &RainDrop::opacity},
            {RainDrop::kDelay, &RainDrop::delay}};
        auto fraction = [](const RainDrop &drop, const std::pair<RainDrop::Range, double RainDrop::*> &field) {
            return (drop.*field.second - field.first.low) / (field.first.high - field.first.low);
        };
        QSet<QUuid> ids;
        for (const RainDrop &drop : drops) {
            ids.insert(drop.id);
            for (const auto &field : fields) {
                QVERIFY(fraction(drop, field) >= 0);
                QVERIFY(fraction(drop, field) <= 1);
            }
        }
        QCOMPARE(ids.size(), drops.size());
        // Independent draws: no two fields move together.
        for (qsizetype a = 0; a < fields.size(); ++a) {
            for (qsizetype b = a + 1; b < fields.size(); ++b) {
                double sab = 0, sa = 0, sb = 0, saa = 0, sbb = 0;
                for (const RainDrop &drop : drops) {
                    const double fa = fraction(drop, fields[a]), fb = fraction(drop, fields[b]);
                    sa += fa, sb += fb, sab += fa * fb, saa += fa * fa, sbb += fb * fb;
                }
                const double n = double(drops.size());
                const double r = (sab - sa * sb / n) / std::sqrt((saa - sa * sa / n) * (sbb - sb * sb / n));
                QVERIFY2(std::abs(r) < 0.25, qPrintable(QStringLiteral("fields %1 and %2: r = %3").arg(a).arg(b).arg(r)));
            }
        }
    }

    void streakFallsFromAboveToBelowDriftingRight()
    {
        RainDrop drop;
        drop.x = 0.5;
        drop.length = 20;
        const QSizeF area(230, 100);
        QCOMPARE(drop.centre(area, false), QPointF(115 - 12, -20 - 20));
        QCOMPARE(drop.centre(area, true), QPointF(115 + 12, 20 + 100 + 20));
    }

    void showerDrawsOnceAndStartsFallingAfterAMoment()
    {
        VirtualScheduler scheduler;
        QRandomGenerator random(3);
        RainShower shower(scheduler, random);
        shower.start();
        QCOMPARE(shower.count(), RainShower::kDropCount);
        const QList<RainDrop> drops = shower.dropList();
        scheduler.advance(RainShower::kStartDelay.count() - 1);
        QVERIFY(!shower.falling());
        shower.start();
        scheduler.advance(1);
        QVERIFY(shower.falling());
        QCOMPARE(shower.dropList().first().id, drops.first().id);
    }

    void weekStripCentresOnToday_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("mid-month") << at(2026, 6, 17) << QList<int>{14, 15, 16, 17, 18, 19, 20};
        QTest::newRow("month end") << at(2026, 1, 30, 23, 59) << QList<int>{27, 28, 29, 30, 31, 1, 2};
        QTest::newRow("year start") << at(2026, 1, 1, 0, 0) << QList<int>{29, 30, 31, 1, 2, 3, 4};
        // Clocks in Berlin go forward on 29 March and back on 25 October.
        QTest::newRow("spring forward") << at(2026, 3, 28, 1, 30) << QList<int>{25, 26, 27, 28, 29, 30, 31};
        QTest::newRow("fall back") << at(2026, 10, 25, 2, 30) << QList<int>{22, 23, 24, 25, 26, 27, 28};
    }
    void weekStripCentresOnToday()
    {
        QFETCH(QDateTime, now);
        QFETCH(QList<int>, numbers);
        const QList<WeekDay> days = WeekDay::stripAround(now, kEnglish);
        QCOMPARE(days.size(), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(days[i].number, numbers[i]);
            QCOMPARE(days[i].isToday, i == 3);
            QCOMPARE(days[i].date.time(), QTime(0, 0));
            QCOMPARE(days[i].date.date(), now.date().addDays(i - 3));
            QCOMPARE(days[i].abbr, kEnglish.toString(days[i].date.date(), QStringLiteral("ddd")).left(3));
        }
    }

    void dayTextsNameTheDay_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("emptyLine");
        QTest::addColumn<QString>("formDay");
        // Monday 2 March 2026.
        QTest::newRow("today") << 0 << "Nothing for today" << "Today";
        QTest::newRow("tomorrow") << 1 << "Nothing for tomorrow" << "Tomorrow";
        QTest::newRow("yesterday") << -1 << "Nothing for yesterday" << "Yesterday";
        QTest::newRow("in six days") << 6 << "Nothing for Sunday" << "Sunday";
        QTest::newRow("six days ago") << -6 << "Nothing for Tuesday" << "Tuesday";
        QTest::newRow("in ten days") << 10 << "Nothing for Thursday" << "Thu, Mar 12";
        QTest::newRow("a week ago") << -7 << "Nothing for Monday" << "Mon, Feb 23";
    }
    void dayTextsNameTheDay()
    {
        QFETCH(int, offset);
        QFETCH(QString, emptyLine);
        QFETCH(QString, formDay);
        // Late in the evening: the day counts by the calendar, not by 24 hours.
        const QDateTime now = at(2026, 3, 2, 23, 30);
        const QDateTime day = QDate(2026, 3, 2).addDays(offset).startOfDay();
        QCOMPARE(CalendarCardModel::emptyTextFor(day, now, kEnglish), emptyLine);
        QCOMPARE(AddEventForm::dayTextFor(day, now, kEnglish), formDay);
    }

    void eventAreaShowsTheFirstTwo()
    {
        CalendarCardModel model;
        QList<NotchEventModel> events;
        for (const auto &[title, allDay] : {std::pair{"Standup", false}, {"Holiday", true}, {"Lunch", false}})
            events.append(NotchEventModel{QString::fromLatin1(title), QString::fromLatin1(title), at(2026, 3, 2, 9, 5),
                                          at(2026, 3, 2, 10), allDay, Qt::red});
        model.setEvents(events);
        const QVariantList rows = model.shownEvents();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].toMap().value("title"), QVariant("Standup"));
        QCOMPARE(rows[0].toMap().value("startText"), QVariant("09:05"));
        QCOMPARE(rows[1].toMap().value("startText"), QVariant(QString()));
    }

    void defaultTimeIsAnHourAfterTheNextFullHour_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("mid-hour") << at(2026, 3, 2, 14, 35, 20) << at(2026, 3, 2, 16, 0);
        QTest::newRow("on the hour") << at(2026, 3, 2, 14, 0) << at(2026, 3, 2, 15, 0);
        QTest::newRow("just before midnight") << at(2026, 3, 2, 23, 59, 59) << at(2026, 3, 3, 1, 0);
        // 02:00 does not exist on 29 March in Berlin.
        QTest::newRow("clocks go forward") << at(2026, 3, 29, 1, 30) << at(2026, 3, 29, 4, 0);
    }
    void defaultTimeIsAnHourAfterTheNextFullHour()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, expected);
        QCOMPARE(AddEventForm::defaultTime(now), expected);
    }

    void formAddsOnlyWithATitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("saveError");
        QTest::addColumn<bool>("added");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<bool>("openAfter");
        QTest::newRow("title") << "Dentist" << "" << true << "Event added" << false;
        QTest::newRow("blank title") << " \t\n" << "" << false << "" << true;
        QTest::newRow("store fails") << "Dentist" << "disk full" << false << "Couldn't add event" << true;
    }
    void formAddsOnlyWithATitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, saveError);
        QFETCH(bool, added);
        QFETCH(QString, toast);
        QFETCH(bool, openAfter);
        FormRig rig;
        QVERIFY(rig.notch.vm.isForcedOpen());
        QCOMPARE(rig.form.title(), QString());
        QCOMPARE(rig.form.time(), at(2026, 3, 2, 11, 0));
        rig.form.stepDay(1);
        QCOMPARE(rig.form.dayText(), "Tomorrow");
        rig.store.saveError = saveError;
        if (!saveError.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(saveError));
        rig.form.setTitle(title);

        QCOMPARE(rig.form.submit(), added);
        rig.notch.scheduler.runPending();
        QCOMPARE(rig.store.saved.size(), added ? 1 : 0);
        if (added)
            QCOMPARE(rig.store.saved.first().start, at(2026, 3, 3, 11, 0));
        QCOMPARE(rig.notch.vm.toastMessage(), toast);
        if (!toast.isEmpty())
            QCOMPARE(rig.notch.vm.toastStyle(), added ? NotchViewModel::ToastStyle::Success
                                                      : NotchViewModel::ToastStyle::Warning);
        QCOMPARE(rig.form.isOpen(), openAfter);
        QCOMPARE(rig.notch.vm.isForcedOpen(), openAfter);
    }

    void popupTakesPointerAndKeyboard()
    {
        FakeNotchServices notch;
        notch.controller->setForcedOpen(true);
        notch.scheduler.runPending();
        const QRect popup(500, 40, 264, 200);
        notch.controller->setPopupRect(popup);
        QVERIFY(notch.window.inputRegion.contains(popup));
        QVERIFY(notch.window.takesKeyboardFocus);
        notch.controller->setPopupRect({});
        QVERIFY(!notch.window.inputRegion.intersects(QRect(500, 200, 264, 40)));
        QVERIFY(!notch.window.takesKeyboardFocus);
    }
};

QTEST_GUILESS_MAIN(TestSkyCards)
#include "tst_skycards.moc"
