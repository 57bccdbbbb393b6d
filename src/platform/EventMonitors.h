#pragma once

#include "PointerEvent.h"

#include <QObject>

#include <functional>

namespace talvo {

// Watches pointer events. A global monitor sees the events that go to other
// programs (not those delivered to this program's own windows); a local monitor
// sees those delivered to this program's windows. Together they see every event
// once.
//
// Main thread only; handlers run on the main thread, never for a context that
// has been destroyed.
class EventMonitors
{
public:
    using Handler = std::function<void(const PointerEvent &)>;

    virtual ~EventMonitors() = default;

    // Both return an id greater than 0, or 0 when the monitor could not be
    // installed (for example, the display server lacks the needed extension).
    virtual int addGlobalMonitor(PointerEventTypes mask, const QObject *context, Handler handler) = 0;
    virtual int addLocalMonitor(PointerEventTypes mask, const QObject *context, Handler handler) = 0;
    // Unknown ids are ignored.
    virtual void removeMonitor(int id) = 0;
};

} // namespace talvo
