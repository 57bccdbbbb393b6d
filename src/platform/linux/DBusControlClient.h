#pragma once

#include "platform/ControlClient.h"

namespace talvo {

// Calls the running instance's control interface (DBusControlBus) on the
// session bus.
class DBusControlClient final : public ControlClient
{
public:
    explicit DBusControlClient(QString service = QString());

    bool isRunning() override;
    PlatformResult<> call(const QString &method, const QVariantList &arguments) override;
    PlatformResult<QVariantMap> state() override;

private:
    QString m_service;
};

} // namespace talvo
