#include "fakes/PrivateBus.h"
#include "platform/linux/ScreenColorSampler.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTest>

using namespace talvo;

namespace {

// The desktop portal's colour picker: answers each request with `response`
// and, when it is 0, the colour (red, green, blue in 0..1).
class FakeScreenshotPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    explicit FakeScreenshotPortal(QDBusConnection connection) : m_connection(std::move(connection)) {}

    uint response = 0;
    QList<double> color;
    int requests = 0;

public slots:
    QDBusObjectPath PickColor(const QString &, const QVariantMap &options, const QDBusMessage &message)
    {
        ++requests;
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        QVariantMap results;
        if (color.size() == 3) {
            QDBusArgument rgb;
            rgb.beginStructure();
            rgb << color[0] << color[1] << color[2];
            rgb.endStructure();
            results.insert(QStringLiteral("color"), QVariant::fromValue(rgb));
        }
        QMetaObject::invokeMethod(this, [this, path, results] {
            QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            signal << response << results;
            m_connection.send(signal);
        }, Qt::QueuedConnection);
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_connection;
};

} // namespace

// The portal side of the screen colour sampler (its own overlay is covered by
// the whole-program tests).
class TestScreenColorSampler : public QObject
{
    Q_OBJECT
    PrivateBus m_bus;

private slots:
    void initTestCase()
    {
        QVERIFY2(m_bus.start(), qPrintable(m_bus.error()));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toUtf8());
    }

    void portalAnswers_data()
    {
        QTest::addColumn<uint>("response");
        QTest::addColumn<QList<double>>("color");
        QTest::addColumn<QString>("picked");
        QTest::newRow("picked") << 0u << QList<double>{0.1875, 0.4392, 0.7529} << "#3070C0";
        QTest::newRow("out of range is clamped") << 0u << QList<double>{1.5, -0.2, 1.0} << "#FF00FF";
        QTest::newRow("cancelled") << 1u << QList<double>{} << "";
    }
    void portalAnswers()
    {
        QFETCH(uint, response);
        QFETCH(QList<double>, color);
        QFETCH(QString, picked);
        QDBusConnection portalConnection = m_bus.connect(QStringLiteral("portal %1").arg(QTest::currentDataTag()));
        FakeScreenshotPortal portal(portalConnection);
        portal.response = response;
        portal.color = color;
        QVERIFY(portalConnection.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                                QDBusConnection::ExportAllSlots));
        QVERIFY(portalConnection.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

        ScreenColorSampler sampler;
        bool done = false;
        std::optional<QColor> result;
        sampler.sample([&](std::optional<QColor> color) {
            done = true;
            result = color;
        });
        QTRY_VERIFY(done);
        QCOMPARE(portal.requests, 1);
        QCOMPARE(result ? result->name().toUpper() : QString(), picked);
        portalConnection.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
};

QTEST_MAIN(TestScreenColorSampler)
#include "tst_screencolorsampler.moc"
