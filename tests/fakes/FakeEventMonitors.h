#pragma once

#include "platform/EventMonitors.h"

#include <QMap>
#include <QPointer>

namespace talvo {

// Event monitors that the test feeds by hand. Records what was installed and
// removed; can refuse installation to play a display without input extensions.
class FakeEventMonitors final : public EventMonitors
{
public:
    struct Monitor
    {
        bool global = false;
        PointerEventTypes mask;
        QPointer<const QObject> context;
        bool hasContext = false;
        Handler handler;
    };

    int addGlobalMonitor(PointerEventTypes mask, const QObject *context, Handler handler) override
    {
        return add(true, mask, context, std::move(handler));
    }
    int addLocalMonitor(PointerEventTypes mask, const QObject *context, Handler handler) override
    {
        return add(false, mask, context, std::move(handler));
    }
    void removeMonitor(int id) override
    {
        monitors.remove(id);
    }

    // Delivers the event to every installed monitor of that kind whose mask
    // includes it.
    void sendGlobal(const PointerEvent &event) { send(true, event); }
    void sendLocal(const PointerEvent &event) { send(false, event); }

    int count(bool global) const
    {
        int n = 0;
        for (const Monitor &m : monitors)
            n += m.global == global ? 1 : 0;
        return n;
    }
    PointerEventTypes mask(bool global) const
    {
        for (const Monitor &m : monitors) {
            if (m.global == global)
                return m.mask;
        }
        return {};
    }

    QMap<int, Monitor> monitors;
    int installedCount = 0;
    bool refuse = false;

private:
    int add(bool global, PointerEventTypes mask, const QObject *context, Handler handler)
    {
        if (refuse)
            return 0;
        ++installedCount;
        monitors.insert(++m_nextId, Monitor{global, mask, context, context != nullptr, std::move(handler)});
        return m_nextId;
    }
    void send(bool global, const PointerEvent &event)
    {
        const auto copy = monitors;
        for (auto it = copy.cbegin(); it != copy.cend(); ++it) {
            if (it->global != global || !(it->mask & event.type) || !monitors.contains(it.key()))
                continue;
            if (it->hasContext && !it->context)
                continue;
            it->handler(event);
        }
    }

    int m_nextId = 0;
};

} // namespace talvo
