#include "platform/ControlCommands.h"
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

// Records the commands that reach it; refuses everything when told to.
class RecordingCommands final : public ControlCommands
{
public:
    QString refusal;
    QStringList calls;

    PlatformResult<> record(const QString &call)
    {
        calls.append(call);
        return refusal.isEmpty() ? PlatformResult<>::success() : PlatformResult<>::failure(refusal);
    }
    PlatformResult<> open(const QString &tab) override { return record(QStringLiteral("open ") + tab); }
    PlatformResult<> collapse() override { return record(QStringLiteral("collapse")); }
    PlatformResult<> addPaths(const QStringList &paths) override
    {
        return record(QStringLiteral("add ") + paths.join(QLatin1Char('|')));
    }
    PlatformResult<> addText(const QString &text) override { return record(QStringLiteral("text ") + text); }
    PlatformResult<> showSettings(const QString &page) override { return record(QStringLiteral("settings ") + page); }
    PlatformResult<> quit() override { return record(QStringLiteral("quit")); }
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

    void commandsReachTheirHandlerOrAnswerWithAnError_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("expected"); // empty: refused before the handler
        QTest::newRow("open") << QStringLiteral("Open") << QVariantList{QStringLiteral("tray")} << QStringLiteral("open tray");
        QTest::newRow("collapse") << QStringLiteral("Collapse") << QVariantList() << QStringLiteral("collapse");
        QTest::newRow("paths") << QStringLiteral("AddPaths") << QVariantList{QStringList{QStringLiteral("/a"), QStringLiteral("/b")}}
                               << QStringLiteral("add /a|/b");
        QTest::newRow("text") << QStringLiteral("AddText") << QVariantList{QStringLiteral("hi")} << QStringLiteral("text hi");
        QTest::newRow("settings") << QStringLiteral("ShowSettings") << QVariantList{QString()} << QStringLiteral("settings ");
        QTest::newRow("quit") << QStringLiteral("Quit") << QVariantList() << QStringLiteral("quit");
        QTest::newRow("wrong argument type") << QStringLiteral("Open") << QVariantList{42} << QString();
        QTest::newRow("missing argument") << QStringLiteral("AddText") << QVariantList() << QString();
    }
    void commandsReachTheirHandlerOrAnswerWithAnError()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, expected);
        DBusControlBus bus(m_service);
        QVERIFY(bus.registerInstance());
        const QString interface = QStringLiteral("com.talvo.Talvo");

        // Not ready yet: an error, never silence.
        QDBusMessage reply = call(interface, method, arguments);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);

        RecordingCommands commands;
        bus.setCommands(&commands);
        reply = call(interface, method, arguments);
        if (expected.isEmpty()) {
            QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
            QVERIFY(commands.calls.isEmpty());
            return;
        }
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(commands.calls, QStringList{expected});

        commands.refusal = QStringLiteral("not today");
        reply = call(interface, method, arguments);
        QCOMPARE(reply.errorName(), QStringLiteral("com.talvo.Talvo.Error.Refused"));
        QCOMPARE(reply.errorMessage(), QStringLiteral("not today"));
    }

    void nameIsFreeAgainAfterwards()
    {
        // The instances above released the name when they went away.
        QVERIFY(!m_probe.interface()->isServiceRegistered(m_service).value());
    }
};

QTEST_GUILESS_MAIN(TestDBusControlBus)
#include "tst_dbuscontrolbus.moc"
