#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <xcb/xcb.h>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace talvo {

// Frees an xcb reply when it goes out of scope.
struct XcbFree
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;

// The root window of screen `screenNumber` of a connection; none when the
// server has no such screen.
inline xcb_window_t screenRoot(xcb_connection_t *connection, int screenNumber)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem && i < screenNumber; ++i)
        xcb_screen_next(&it);
    return it.rem ? it.data->root : XCB_NONE;
}

// A connection of our own to the X server, for watching the whole desktop:
// pointer input of every program, selection owners, root window properties.
// Kept apart from Qt's connection so that the events selected here never reach
// Qt's event handling (and Qt's selections on the root window stay untouched).
//
// Events are read on the main thread as they arrive and handed to every
// listener. Main thread only.
class XcbConnection : public QObject
{
    Q_OBJECT
public:
    using Listener = std::function<void(const xcb_generic_event_t &event)>;

    // Connects to $DISPLAY. A failure is logged once; isValid() then says so
    // and the watchers built on it stay idle.
    explicit XcbConnection(QObject *parent = nullptr);
    ~XcbConnection() override;

    bool isValid() const { return m_connection && !xcb_connection_has_error(m_connection); }
    xcb_connection_t *get() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    int screenNumber() const { return m_screenNumber; }

    xcb_atom_t atom(const QByteArray &name);
    QByteArray atomName(xcb_atom_t atom);

    int addListener(Listener listener);
    void removeListener(int id);

    void flush();

private:
    void readEvents(bool fromSocket);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    int m_screenNumber = 0;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QByteArray, xcb_atom_t> m_atoms;
    QHash<xcb_atom_t, QByteArray> m_atomNames;
    std::map<int, Listener> m_listeners;
    int m_nextListener = 0;
    bool m_dispatching = false;
};

} // namespace talvo
