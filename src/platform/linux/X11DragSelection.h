#pragma once

#include "platform/DragSelection.h"

#include <QObject>

#include <xcb/xcb.h>

namespace talvo {

class XcbConnection;

// The drag selection of the X drag-and-drop protocol (XDND). Every program
// that starts a drag takes ownership of the XdndSelection selection; XFixes
// tells us each time, which bumps the change count. The offered types come
// from the XdndTypeList property the source puts on its window.
//
// A source offering three types or fewer may leave that property out (the
// protocol then sends the types only to the window under the pointer), and
// then the types stay unknown.
class X11DragSelection final : public QObject, public DragSelection
{
    Q_OBJECT
public:
    explicit X11DragSelection(XcbConnection &connection, QObject *parent = nullptr);
    ~X11DragSelection() override;

    qint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override { return m_types; }

private:
    void handleEvent(const xcb_generic_event_t &event);
    void ownerChanged(xcb_window_t owner);
    void readTypes();

    XcbConnection &m_connection;
    int m_listener = 0;
    int m_xfixesFirstEvent = -1;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_typeList = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
    qint64 m_changeCount = 0;
    QStringList m_types;
};

} // namespace talvo
