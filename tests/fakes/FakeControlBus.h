#pragma once

#include "platform/ControlBus.h"

#include <QVariantMap>

namespace talvo {

// Keeps published properties in a map and counts announcements per name.
class FakeControlBus final : public ControlBus
{
    Q_OBJECT
public:
    bool registerInstance() override { return !nameTaken; }
    bool activateRunningInstance() override
    {
        ++activationsSent;
        return nameTaken;
    }
    void publish(const QString &name, const QVariant &value) override
    {
        if (properties.contains(name) && properties.value(name) == value)
            return;
        properties.insert(name, value);
        announcements[name] += 1;
    }

    bool nameTaken = false;
    int activationsSent = 0;
    QVariantMap properties;
    QMap<QString, int> announcements;
};

} // namespace talvo
