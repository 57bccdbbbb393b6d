#pragma once

#include "platform/DragSelection.h"

#include <QList>
#include <QTimer>

#include <xcb/xcb.h>

namespace talvo {

class XcbConnection;

// The drag selection of the X drag-and-drop protocol (XDND). Every program
// that starts a drag takes ownership of the XdndSelection selection; XFixes
// tells us each time, which bumps the change count. The offered types come
// from the XdndTypeList property the source puts on its window.
//
// A source offering three types or fewer may leave that property out (the
// protocol then sends the types only to the window under the pointer). Such a
// source is asked for its TARGETS and, at the same time, for its URL list,
// with the timestamp of its taking the selection; a drag whose list names
// text/uri-list has that list asked for too. Nothing here waits for the
// answers: they arrive as events. isAsking() holds until they are all in, for
// kAskTimeout at most; a source that has not told its types by then leaves
// them unknown until it does.
class X11DragSelection final : public DragSelection
{
    Q_OBJECT
public:
    static constexpr int kAskTimeout = 150; // milliseconds

    explicit X11DragSelection(XcbConnection &connection, QObject *parent = nullptr);
    ~X11DragSelection() override;

    qint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override { return m_types; }
    bool isAsking() const override { return m_asking; }
    bool typesKnown() const override { return m_typesKnown; }
    std::optional<QByteArray> uriList() const override { return m_uriList; }

private:
    void handleEvent(const xcb_generic_event_t &event);
    void ownerChanged(xcb_window_t owner, xcb_timestamp_t time);
    // Reads the owner's XdndTypeList; false when it has none.
    bool readTypeList();
    void ask(xcb_atom_t target, xcb_atom_t property);
    void askForUris();
    void answered(const xcb_selection_notify_event_t &notify);
    // The property an answer was written to, read and deleted; nothing when
    // the source refused or sends it in pieces.
    std::optional<QByteArray> takeAnswer(xcb_atom_t property, xcb_atom_t *type);
    void stopAsking();

    XcbConnection &m_connection;
    int m_listener = 0;
    int m_xfixesFirstEvent = -1;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_typeList = XCB_NONE;
    xcb_atom_t m_targets = XCB_NONE;
    xcb_atom_t m_uriListType = XCB_NONE;
    // Where sources write their answers, on m_requestor.
    xcb_atom_t m_targetsProperty = XCB_NONE;
    xcb_atom_t m_urisProperty = XCB_NONE;
    xcb_window_t m_requestor = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
    xcb_timestamp_t m_ownerTime = XCB_CURRENT_TIME;
    qint64 m_changeCount = 0;
    QStringList m_types;
    bool m_typesKnown = true;
    std::optional<QByteArray> m_uriList;
    // The properties of the questions not answered yet, in the order asked.
    QList<xcb_atom_t> m_pending;
    // Waiting for answers, for kAskTimeout at most.
    bool m_asking = false;
    QTimer m_deadline;
};

} // namespace talvo
