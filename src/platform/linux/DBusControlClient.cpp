#include "DBusControlClient.h"

#include "DBusControlBus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace talvo {

namespace {

constexpr int kCallTimeoutMs = 10000;

// Plain values for the caller: arrays of numbers arrive still marshalled.
QVariant plain(const QVariant &value)
{
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return value;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() == u"ad") {
        QVariantList numbers;
        for (double number : qdbus_cast<QList<double>>(argument))
            numbers.append(number);
        return numbers;
    }
    if (argument.currentSignature() == u"as")
        return qdbus_cast<QStringList>(argument);
    return QStringLiteral("(%1)").arg(argument.currentSignature());
}

} // namespace

DBusControlClient::DBusControlClient(QString service)
    : m_service(service.isEmpty() ? QString::fromLatin1(DBusControlBus::kService) : std::move(service))
{
}

bool DBusControlClient::isRunning()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(m_service).value();
}

PlatformResult<> DBusControlClient::call(const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, QString::fromLatin1(DBusControlBus::kPath),
                                                          QString::fromLatin1(DBusControlBus::kInterface), method);
    message.setArguments(arguments);
    const QDBusMessage answer = QDBusConnection::sessionBus().call(message, QDBus::Block, kCallTimeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return PlatformResult<>::failure(answer.errorMessage());
    return PlatformResult<>::success();
}

PlatformResult<QVariantMap> DBusControlClient::state()
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, QString::fromLatin1(DBusControlBus::kPath),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("GetAll"));
    message << QString::fromLatin1(DBusControlBus::kInterface);
    const QDBusMessage answer = QDBusConnection::sessionBus().call(message, QDBus::Block, kCallTimeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return PlatformResult<QVariantMap>::failure(answer.errorMessage());
    QVariantMap state;
    const QVariantMap raw = qdbus_cast<QVariantMap>(answer.arguments().value(0));
    for (auto it = raw.cbegin(); it != raw.cend(); ++it)
        state.insert(it.key(), plain(it.value()));
    return PlatformResult<QVariantMap>::success(state);
}

} // namespace talvo
