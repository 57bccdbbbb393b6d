#include "CalendarFiles.h"
#include "E2eDesktop.h"
#include "fakes/LoopbackHttpServer.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace talvo;
using namespace talvo::e2e;

namespace {

const QRectF kCollapsed(867.5, 0, 185, 24);
const QPoint kHotZone(960, 5);
const QPoint kAway(960, 700);
const QRect kWindowFrame(530, 0, 860, 250);
// With music, weather and calendar: the weather card and the calendar card
// on the 1920 × 1080 screen.
const QRect kWeatherCard(845, 40, 230, 100);
const QRect kCalendarCard(1108, 40, 250, 100);
const QPoint kAddEvent(1338, 121);
// The week strip's cell for tomorrow (today is the fourth of seven).
const QPoint kTomorrow(1282, 74);

QByteArray forecast(int code)
{
    return QStringLiteral(R"({"current":{"temperature_2m":12.3,"apparent_temperature":9.6,"weather_code":%1}})")
        .arg(code)
        .toUtf8();
}

// Pixels whose colour differs clearly from pure grey: a tinted sky.
int tintedPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 6 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

// The weather and calendar cards of the real program on a private desktop: a
// forecast from a loopback service, events from the user's calendar folder,
// and a new event typed into the form.
class TestCardDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;
    LoopbackHttpServer m_forecast;

    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }
    QString dataHome() const { return m_desktop->environment().value(QStringLiteral("XDG_DATA_HOME")); }
    QString calendarFolder() const { return dataHome() + QStringLiteral("/talvo/calendars/personal"); }

    QImage shoot(const QString &name, const QRect &area = kWindowFrame)
    {
        QTest::qWait(900);
        return m_desktop->shoot(area, name);
    }

    bool open() { return m_desktop->openPanel(kAway, kHotZone); }

    bool setFrameless(bool frameless)
    {
        QProcess *prefs = m_desktop->startProgram(
            QStringLiteral(TALVO_BINARY), {QStringLiteral("prefs"), QStringLiteral("set"), QStringLiteral("--bool"),
                                           QStringLiteral("enableFramelessWidgets"),
                                           frameless ? QStringLiteral("true") : QStringLiteral("false")});
        return prefs->waitForFinished(10000) && prefs->exitCode() == 0;
    }

    // Starts the program on a fresh desktop; `prepare` runs before it starts.
    void launch(const std::function<void()> &prepare = {})
    {
        m_desktop = std::make_unique<E2eDesktop>(
            E2eDesktop::Options{QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW)});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->setEnvironmentValue(QStringLiteral("TALVO_FORECAST_URL"), m_forecast.url().toString());
        if (prepare)
            prepare();
        m_desktop->movePointer(kAway);
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), kCollapsed, 15000);
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr");
        QVERIFY(m_forecast.listen());
    }
    void cleanup()
    {
        if (QTest::currentTestFailed() && m_talvo)
            qInfo().noquote() << m_talvo->readAllStandardOutput().right(3000);
        m_talvo = nullptr;
        m_desktop.reset();
    }

    void weatherCardShowsTheForecastsScene_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("name");
        QTest::newRow("clear") << 0 << "sun" << "clear";
        QTest::newRow("cloudy") << 2 << "clouds" << "cloudy";
        QTest::newRow("rain") << 63 << "rain" << "rain";
    }
    void weatherCardShowsTheForecastsScene()
    {
        QFETCH(int, code);
        QFETCH(QString, scene);
        QFETCH(QString, name);
        m_forecast.setReply(QStringLiteral("/v1/forecast"), LoopbackHttpServer::Reply::json(forecast(code)));
        launch();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(setFrameless(false));
        QVERIFY(open());
        QTRY_COMPARE_WITH_TIMEOUT(state("panelWeatherTemperature"), QVariant(QStringLiteral("12°C")), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelWeatherScene"), QVariant(scene), 3000);
        const QImage framed = shoot(QStringLiteral("weather-%1-framed").arg(name), kWeatherCard);
        QVERIFY2(tintedPixels(framed, framed.rect()) > 500, "no sky behind the framed card");

        // Frameless: the same values without a scene.
        QVERIFY(setFrameless(true));
        QTRY_COMPARE_WITH_TIMEOUT(state("panelWeatherScene"), QVariant(QString()), 3000);
        const QImage frameless = shoot(QStringLiteral("weather-%1-frameless").arg(name), kWeatherCard);
        QVERIFY2(tintedPixels(frameless, frameless.rect()) < tintedPixels(framed, framed.rect()) / 2,
                 "a sky behind the frameless card");
        QCOMPARE(state("panelWeatherTemperature"), QVariant(QStringLiteral("12°C")));
    }

    void calendarCardListsChoosesAndAdds()
    {
        const QDate today = QDate::currentDate();
        if (QTime::currentTime() > QTime(23, 55))
            QSKIP("too close to midnight");
        launch([&] {
            QVERIFY(QDir().mkpath(calendarFolder()));
            const QList<std::pair<QString, int>> events{
                {QStringLiteral("Breakfast"), 8}, {QStringLiteral("Review"), 13}, {QStringLiteral("Gym"), 18}};
            for (const auto &[title, hour] : events) {
                QFile file(calendarFolder() + QStringLiteral("/%1.ics").arg(title));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(icsEvent(title, title, QDateTime(today, QTime(hour, 0))));
            }
        });
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        QTRY_COMPARE_WITH_TIMEOUT(state("panelCalendarEvents"), QVariant(QStringLiteral("Breakfast\nReview")), 5000);
        shoot(QStringLiteral("calendar-events"), kCalendarCard.adjusted(-16, -8, 16, 8));

        // Tomorrow has nothing yet.
        m_desktop->click(kTomorrow);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelCalendarEmpty"), QVariant(QStringLiteral("Nothing for tomorrow")), 3000);
        QCOMPARE(state("panelCalendarEvents"), QVariant(QString()));

        // A new event through the form, typed on the keyboard.
        const int filesBefore = int(QDir(calendarFolder()).entryList({QStringLiteral("*.ics")}).size());
        m_desktop->click(kAddEvent);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelCalendarFormOpen"), QVariant(true), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isForcedOpen"), QVariant(true), 3000);
        shoot(QStringLiteral("calendar-form"));
        // The form holds the notch open while the pointer is away.
        m_desktop->movePointer(QPoint(200, 900));
        QTest::qWait(600);
        QVERIFY(state("panelPresent").toBool());
        m_desktop->movePointer(kCalendarCard.center());
        for (char key : QByteArray("standup"))
            typeKey(quint32(key));
        typeKey(0xff0d); // Return
        QTRY_COMPARE_WITH_TIMEOUT(state("toastMessage"), QVariant(QStringLiteral("Event added")), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelCalendarFormOpen"), QVariant(false), 3000);
        QCOMPARE(QDir(calendarFolder()).entryList({QStringLiteral("*.ics")}).size(), filesBefore + 1);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelCalendarEvents"), QVariant(QStringLiteral("standup")), 3000);
        QCOMPARE(state("isForcedOpen"), QVariant(false));
        shoot(QStringLiteral("calendar-added"));
    }

private:
    void typeKey(quint32 keysym)
    {
        m_desktop->pressKey(keysym);
        m_desktop->releaseKey(keysym);
        QTest::qWait(30);
    }
};

QTEST_GUILESS_MAIN(TestCardDesktop)
#include "tst_carddesktop.moc"
