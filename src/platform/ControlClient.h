#pragma once

#include "platform/PlatformResult.h"

#include <QVariantList>
#include <QVariantMap>

namespace talvo {

// The command line's side of the control interface: calls on the running
// instance. Implemented over the session bus (DBusControlClient).
class ControlClient
{
public:
    virtual ~ControlClient() = default;
    virtual bool isRunning() = 0;
    // A command by its interface name ("Open", "AddPaths"...); the failure
    // carries the instance's reason for refusing.
    virtual PlatformResult<> call(const QString &method, const QVariantList &arguments) = 0;
    // The published state: booleans, numbers, texts, lists of texts and of numbers.
    virtual PlatformResult<QVariantMap> state() = 0;
};

} // namespace talvo
