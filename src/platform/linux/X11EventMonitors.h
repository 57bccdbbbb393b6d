#pragma once

#include "platform/EventMonitors.h"

#include <QObject>
#include <QPointer>
#include <QWindow>

#include <map>

namespace talvo {

class XcbConnection;

// Global monitors read XInput2 raw events selected on the root window, which
// the server sends whatever window the pointer is over and whoever holds a
// grab (so also during another program's drag). Raw events carry no position;
// receivers ask the Pointer service. Local monitors filter the events Qt
// delivers to this program's windows.
//
// While the pointer is inside one of this program's windows (which happens
// only where a window takes input) global monitors skip events: the local
// monitors see them, and a scroll must not count twice.
class X11EventMonitors final : public QObject, public EventMonitors
{
    Q_OBJECT
public:
    explicit X11EventMonitors(XcbConnection &connection, QObject *parent = nullptr);
    ~X11EventMonitors() override;

    int addGlobalMonitor(PointerEventTypes mask, const QObject *context, Handler handler) override;
    int addLocalMonitor(PointerEventTypes mask, const QObject *context, Handler handler) override;
    void removeMonitor(int id) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Monitor
    {
        bool global = false;
        PointerEventTypes mask;
        QPointer<const QObject> context;
        bool hasContext = false;
        Handler handler;
    };

    bool ensureRawEvents();
    void handleXcbEvent(const void *event);
    void deliver(bool global, const PointerEvent &event);
    int add(bool global, PointerEventTypes mask, const QObject *context, Handler handler);

    XcbConnection &m_connection;
    std::map<int, Monitor> m_monitors;
    int m_nextId = 0;
    int m_listener = 0;
    int m_xinputOpcode = -1;
    bool m_rawSelected = false;
    bool m_rawUnavailable = false;
    bool m_filterInstalled = false;
    // Buttons held, as raw presses and releases tell; motion with one of them
    // held is a drag.
    quint32 m_heldButtons = 0;
    // The window of ours the pointer entered last; a window destroyed or hidden
    // under the pointer sends no leave event, so it no longer counts then.
    QPointer<QWindow> m_enteredWindow;
};

} // namespace talvo
