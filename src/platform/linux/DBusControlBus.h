#pragma once

#include "platform/ApplicationId.h"
#include "platform/ControlBus.h"

#include <QVariantMap>

#include <memory>

namespace talvo {

// The control interface on the session bus: service com.talvo.Talvo, object
// /com/talvo/Talvo, interface com.talvo.Talvo with the published values as
// read-only properties (org.freedesktop.DBus.Properties, announced with
// PropertiesChanged), the methods Activate() and ShowGreeting() (the entry
// point the first-run flow and the whole-program tests use to greet) and the
// commands Open(s tab), Collapse(), AddPaths(as), AddText(s), ShowSettings(s
// page) and Quit(), which answer com.talvo.Talvo.Error.Refused with the reason
// when they cannot do what was asked. Tests may claim another service name so
// as not to meet a running Talvo.
class DBusControlBus final : public ControlBus
{
    Q_OBJECT
public:
    static constexpr const char *kService = kApplicationId;
    static constexpr const char *kPath = "/com/talvo/Talvo";
    static constexpr const char *kInterface = "com.talvo.Talvo";
    static constexpr const char *kRefusedError = "com.talvo.Talvo.Error.Refused";

    explicit DBusControlBus(QObject *parent = nullptr) : DBusControlBus(QString::fromLatin1(kService), parent) {}
    DBusControlBus(const QString &service, QObject *parent = nullptr);
    ~DBusControlBus() override;

    // Opens the session bus connection on a worker thread, so that a later
    // registerInstance() finds it ready (start-up does other work meanwhile).
    static void connectInBackground();

    bool registerInstance() override;
    bool activateRunningInstance() override;
    void publish(const QString &name, const QVariant &value) override;
    void setCommands(ControlCommands *commands) override { m_commands = commands; }

private:
    class Object;
    friend class Object;

    QString m_service;
    QVariantMap m_properties;
    std::unique_ptr<Object> m_object;
    ControlCommands *m_commands = nullptr;
    bool m_registered = false;
};

} // namespace talvo
