#include "DBusControlBus.h"

#include "platform/ControlCommands.h"
#include "platform/Log.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QThreadPool>

namespace talvo {

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QString path()
{
    return QString::fromLatin1(DBusControlBus::kPath);
}
QString interfaceName()
{
    return QString::fromLatin1(DBusControlBus::kInterface);
}

QString signatureOf(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool: return QStringLiteral("b");
    case QMetaType::Int: return QStringLiteral("i");
    case QMetaType::LongLong: return QStringLiteral("x");
    case QMetaType::Double: return QStringLiteral("d");
    case QMetaType::QString: return QStringLiteral("s");
    case QMetaType::QStringList: return QStringLiteral("as");
    default: break;
    }
    if (value.metaType() == QMetaType::fromType<QList<double>>())
        return QStringLiteral("ad");
    return QStringLiteral("v");
}

// The commands: name, argument signature, and the call on ControlCommands.
struct Command
{
    const char *name;
    const char *signature;
    PlatformResult<> (*run)(ControlCommands &, const QList<QVariant> &);
};

const Command kCommands[] = {
    {"Open", "s", [](ControlCommands &c, const QList<QVariant> &a) { return c.open(a.at(0).toString()); }},
    {"Collapse", "", [](ControlCommands &c, const QList<QVariant> &) { return c.collapse(); }},
    {"AddPaths", "as", [](ControlCommands &c, const QList<QVariant> &a) { return c.addPaths(a.at(0).toStringList()); }},
    {"AddText", "s", [](ControlCommands &c, const QList<QVariant> &a) { return c.addText(a.at(0).toString()); }},
    {"ShowSettings", "s", [](ControlCommands &c, const QList<QVariant> &a) { return c.showSettings(a.at(0).toString()); }},
    {"Quit", "", [](ControlCommands &c, const QList<QVariant> &) { return c.quit(); }},
};

QString argumentName(const char *signature)
{
    const QByteArray s(signature);
    return s == "as" ? QStringLiteral("paths") : s == "s" ? QStringLiteral("value") : QString();
}

} // namespace

// Serves the object path: property reads and the Activate() and ShowGreeting() methods.
class DBusControlBus::Object final : public QDBusVirtualObject
{
public:
    explicit Object(DBusControlBus &bus) : m_bus(bus) {}

    QString introspect(const QString &) const override
    {
        QString xml = QStringLiteral("<interface name=\"%1\">\n").arg(interfaceName());
        for (auto it = m_bus.m_properties.cbegin(); it != m_bus.m_properties.cend(); ++it) {
            xml += QStringLiteral("  <property name=\"%1\" type=\"%2\" access=\"read\"/>\n")
                       .arg(it.key(), signatureOf(it.value()));
        }
        xml += QStringLiteral("  <method name=\"Activate\"/>\n  <method name=\"ShowGreeting\"/>\n");
        for (const Command &command : kCommands) {
            if (*command.signature == 0) {
                xml += QStringLiteral("  <method name=\"%1\"/>\n").arg(QLatin1String(command.name));
                continue;
            }
            xml += QStringLiteral("  <method name=\"%1\">\n    <arg name=\"%2\" type=\"%3\" direction=\"in\"/>\n"
                                  "  </method>\n")
                       .arg(QLatin1String(command.name), argumentName(command.signature),
                            QLatin1String(command.signature));
        }
        xml += QStringLiteral("</interface>\n");
        return xml;
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        if (message.interface() == kPropertiesInterface) {
            if (member == QLatin1String("Get") && args.size() == 2) {
                const QString name = args.at(1).toString();
                if (args.at(0).toString() != interfaceName() || !m_bus.m_properties.contains(name))
                    return reply(connection, message.createErrorReply(QDBusError::InvalidArgs,
                                                                      QStringLiteral("No property %1").arg(name)));
                return reply(connection,
                             message.createReply(QVariant::fromValue(QDBusVariant(m_bus.m_properties.value(name)))));
            }
            if (member == QLatin1String("GetAll") && args.size() == 1) {
                const QVariantMap all =
                    args.at(0).toString() == interfaceName() ? m_bus.m_properties : QVariantMap();
                return reply(connection, message.createReply(QVariant::fromValue(all)));
            }
            if (member == QLatin1String("Set"))
                return reply(connection, message.createErrorReply(QDBusError::PropertyReadOnly,
                                                                  QStringLiteral("All properties are read-only")));
            return false;
        }
        if (!message.interface().isEmpty() && message.interface() != interfaceName())
            return false;
        if (member == QLatin1String("Activate")) {
            emit m_bus.activationRequested();
            return reply(connection, message.createReply());
        }
        if (member == QLatin1String("ShowGreeting")) {
            emit m_bus.greetingRequested();
            return reply(connection, message.createReply());
        }
        for (const Command &command : kCommands) {
            if (member == QLatin1String(command.name))
                return reply(connection, runCommand(command, message));
        }
        return false;
    }

private:
    QDBusMessage runCommand(const Command &command, const QDBusMessage &message) const
    {
        if (message.signature() != QLatin1String(command.signature))
            return message.createErrorReply(QDBusError::InvalidArgs,
                                            QStringLiteral("%1 takes (%2), not (%3)")
                                                .arg(QLatin1String(command.name), QLatin1String(command.signature),
                                                     message.signature()));
        if (!m_bus.m_commands)
            return message.createErrorReply(QString::fromLatin1(kRefusedError),
                                            QStringLiteral("Talvo is still starting"));
        const PlatformResult<> result = command.run(*m_bus.m_commands, message.arguments());
        if (!result.succeeded()) {
            qCInfo(lcDBus).noquote() << QStringLiteral("Refused %1: %2").arg(QLatin1String(command.name), result.error);
            return message.createErrorReply(QString::fromLatin1(kRefusedError), result.error);
        }
        return message.createReply();
    }

    static bool reply(const QDBusConnection &connection, const QDBusMessage &answer)
    {
        QDBusConnection(connection).send(answer);
        return true;
    }

    DBusControlBus &m_bus;
};

DBusControlBus::DBusControlBus(const QString &service, QObject *parent)
    : ControlBus(parent), m_service(service), m_object(std::make_unique<Object>(*this))
{
}

DBusControlBus::~DBusControlBus()
{
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(path());
        bus.unregisterService(m_service);
    }
}

void DBusControlBus::connectInBackground()
{
    QThreadPool::globalInstance()->start([] { QDBusConnection::sessionBus(); });
}

bool DBusControlBus::registerInstance()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcDBus).noquote() << QStringLiteral("No session bus, running without the control interface: ")
                                       + bus.lastError().message();
        return true;
    }
    if (!bus.registerVirtualObject(path(), m_object.get())) {
        qCWarning(lcDBus).noquote() << QStringLiteral("Cannot register %1: ").arg(path()) + bus.lastError().message();
        return true;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        m_service, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(path());
        return false;
    }
    m_registered = true;
    return true;
}

bool DBusControlBus::activateRunningInstance()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, path(), interfaceName(),
                                                       QStringLiteral("Activate"));
    const QDBusMessage answer = bus.call(call, QDBus::Block, 5000);
    if (answer.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcDBus).noquote() << QStringLiteral("The running instance did not answer: ") + answer.errorMessage();
        return false;
    }
    return true;
}

void DBusControlBus::publish(const QString &name, const QVariant &value)
{
    const auto found = m_properties.constFind(name);
    if (found != m_properties.cend() && *found == value)
        return;
    m_properties.insert(name, value);
    if (!m_registered)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(path(), kPropertiesInterface, QStringLiteral("PropertiesChanged"));
    signal << interfaceName() << QVariantMap{{name, value}} << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace talvo
