#include "platform/linux/DBusControlBus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

// Collects PropertiesChanged signals seen on a second connection.
class Listener : public QObject
{
    Q_OBJECT
public:
    QList<QVariantMap> changes;

public slots:
    void propertiesChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        changes.append(changed);
    }
};

} // namespace

// The control interface as another program on the session bus sees it.
class TestDBusControlBus : public QObject
{
    Q_OBJECT

    const QString m_service = QStringLiteral("com.talvo.Test.p%1").arg(QCoreApplication::applicationPid());
    QDBusConnection m_probe{QString()};

    QDBusMessage call(const QString &interface, const QString &method, const QList<QVariant> &args)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(m_service, QStringLiteral("/com/talvo/Talvo"),
                                                              interface, method);
        message.setArguments(args);
        // The served object answers on this thread: keep the event loop turning.
        return m_probe.call(message, QDBus::BlockWithGui, 3000);
    }
    QVariant get(const QString &name)
    {
        const QDBusMessage reply = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                        {QStringLiteral("com.talvo.Talvo"), name});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {};
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

private slots:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus");
        // A connection of its own, so that calls really cross the bus.
        m_probe = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("probe"));
        QVERIFY(m_probe.isConnected());
    }

    void publishesReadOnlyValuesAndAnnouncesChanges()
    {
        DBusControlBus bus(m_service);
        bus.publish(QStringLiteral("isHovering"), false);
        QVERIFY(bus.registerInstance());
        bus.publish(QStringLiteral("notchRect"), QVariant::fromValue(QList<double>{867.5, 0, 185, 24}));
        bus.publish(QStringLiteral("activeTab"), QStringLiteral("home"));

        Listener listener;
        QVERIFY(m_probe.connect(m_service, QStringLiteral("/com/talvo/Talvo"),
                                QStringLiteral("org.freedesktop.DBus.Properties"),
                                QStringLiteral("PropertiesChanged"), &listener,
                                SLOT(propertiesChanged(QString, QVariantMap, QStringList))));

        QCOMPARE(get(QStringLiteral("isHovering")), QVariant(false));
        QCOMPARE(get(QStringLiteral("activeTab")), QVariant(QStringLiteral("home")));
        const QVariant rect = get(QStringLiteral("notchRect"));
        QCOMPARE(qdbus_cast<QList<double>>(rect.value<QDBusArgument>()), (QList<double>{867.5, 0, 185, 24}));
        QVERIFY(!get(QStringLiteral("noSuchValue")).isValid());

        const QDBusMessage set = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
                                      {QStringLiteral("com.talvo.Talvo"), QStringLiteral("isHovering"),
                                       QVariant::fromValue(QDBusVariant(true))});
        QCOMPARE(set.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(get(QStringLiteral("isHovering")), QVariant(false));

        bus.publish(QStringLiteral("isHovering"), false); // unchanged: silent
        bus.publish(QStringLiteral("isHovering"), true);
        QTRY_COMPARE(listener.changes.size(), 1);
        QCOMPARE(listener.changes.first(), (QVariantMap{{QStringLiteral("isHovering"), true}}));
        QTest::qWait(100);
        QCOMPARE(listener.changes.size(), 1);
    }

    void describesItselfAndTakesActivationAndGreeting()
    {
        DBusControlBus bus(m_service);
        bus.publish(QStringLiteral("itemCount"), 3);
        QVERIFY(bus.registerInstance());
        const QDBusMessage introspection = call(QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                QStringLiteral("Introspect"), {});
        const QString xml = introspection.arguments().value(0).toString();
        QVERIFY2(xml.contains(QLatin1String("<property name=\"itemCount\" type=\"i\" access=\"read\"/>")),
                 qPrintable(xml));

        QSignalSpy activations(&bus, &ControlBus::activationRequested);
        const QDBusMessage reply = call(QStringLiteral("com.talvo.Talvo"), QStringLiteral("Activate"), {});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(activations.count(), 1);

        QVERIFY2(xml.contains(QLatin1String("<method name=\"ShowGreeting\"/>")), qPrintable(xml));
        QSignalSpy greetings(&bus, &ControlBus::greetingRequested);
        QCOMPARE(call(QStringLiteral("com.talvo.Talvo"), QStringLiteral("ShowGreeting"), {}).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(greetings.count(), 1);
        QCOMPARE(activations.count(), 1);
    }

    void nameIsFreeAgainAfterwards()
    {
        // The instances above released the name when they went away.
        QVERIFY(!m_probe.interface()->isServiceRegistered(m_service).value());
    }
};

QTEST_GUILESS_MAIN(TestDBusControlBus)
#include "tst_dbuscontrolbus.moc"
