#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace talvo {

// A D-Bus session bus of the test's own, so tests running side by side never
// see each other's names. The daemon ends with the object.
//
//     PrivateBus bus;
//     QVERIFY2(bus.start(), qPrintable(bus.error()));
//     QDBusConnection connection = bus.connect(QStringLiteral("client"));
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool start();
    QString address() const { return m_address; }
    QString error() const { return m_error; }
    // A connection of its own under `name` (unique within the process).
    QDBusConnection connect(const QString &name);

private:
    QProcess m_daemon;
    QString m_address;
    QString m_error;
    QStringList m_connections;
};

} // namespace talvo
