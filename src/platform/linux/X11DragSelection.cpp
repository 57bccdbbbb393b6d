#include "X11DragSelection.h"

#include "XcbConnection.h"
#include "platform/Log.h"

#include <xcb/xfixes.h>

namespace talvo {

namespace {

// Asks XFixes to report every change of `selection`'s owner. Returns the
// extension's first event code, or -1 when the server lacks it.
int watchSelection(XcbConnection &connection, xcb_atom_t selection)
{
    xcb_connection_t *c = connection.get();
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!ext || !ext->present)
        return -1;
    // XFixes answers nothing before a client has told it its version.
    std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    xcb_xfixes_select_selection_input(c, connection.root(), selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    return ext->first_event;
}

xcb_window_t selectionOwner(XcbConnection &connection, xcb_atom_t selection)
{
    xcb_connection_t *c = connection.get();
    XcbReply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

} // namespace

X11DragSelection::X11DragSelection(XcbConnection &connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    if (!m_connection.isValid())
        return;
    m_selection = m_connection.atom("XdndSelection");
    m_typeList = m_connection.atom("XdndTypeList");
    m_xfixesFirstEvent = watchSelection(m_connection, m_selection);
    if (m_xfixesFirstEvent < 0) {
        qCWarning(lcX11).noquote() << QStringLiteral("The X server lacks XFixes; file drags in other "
                                                     "programs are not seen");
        return;
    }
    m_listener = m_connection.addListener([this](const xcb_generic_event_t &event) { handleEvent(event); });
    m_owner = selectionOwner(m_connection, m_selection);
    if (m_owner != XCB_NONE) {
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection.get(), m_owner, XCB_CW_EVENT_MASK, &mask);
        readTypes();
    }
    m_connection.flush();
}

X11DragSelection::~X11DragSelection()
{
    if (m_listener)
        m_connection.removeListener(m_listener);
}

void X11DragSelection::handleEvent(const xcb_generic_event_t &event)
{
    const int type = event.response_type & 0x7f;
    if (type == m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto &notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t &>(event);
        if (notify.selection == m_selection)
            ownerChanged(notify.owner);
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        if (notify.window == m_owner && notify.window != XCB_NONE && notify.atom == m_typeList)
            readTypes();
    }
}

void X11DragSelection::ownerChanged(xcb_window_t owner)
{
    ++m_changeCount;
    // Until the new source's types are read, the old ones must not count.
    m_types.clear();
    m_owner = owner;
    if (owner == XCB_NONE)
        return;
    // A source usually writes the type list right after taking the selection;
    // watch the window so that a late list is read too.
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection.get(), owner, XCB_CW_EVENT_MASK, &mask);
    readTypes();
}

void X11DragSelection::readTypes()
{
    xcb_connection_t *c = m_connection.get();
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, m_owner, m_typeList, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    QStringList types;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = m_connection.atomName(atoms[i]);
        if (!name.isEmpty())
            types.append(QString::fromLatin1(name));
    }
    m_types = types;
}

} // namespace talvo
