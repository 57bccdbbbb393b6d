#pragma once

#include <QObject>

#include <optional>

namespace talvo {

// The machine's battery, as the desktop's power service reports it.
//
// Main thread only. changed() fires when the level or the presence changed.
class PowerSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The charge as a fraction from 0 to 1; nothing when the machine has no
    // battery or the service is not there.
    virtual std::optional<double> batteryLevel() const = 0;

signals:
    void changed();
};

} // namespace talvo
