#include "X11DragSelection.h"

#include "XcbConnection.h"
#include "platform/Log.h"

#include <xcb/xfixes.h>

#include <algorithm>

namespace talvo {

namespace {

const QByteArray kUriList = QByteArrayLiteral("text/uri-list");

// Larger answers are not read (a URL list of a few thousand files fits).
constexpr uint32_t kMaxAnswerWords = 256 * 1024;
constexpr qsizetype kMaxTargets = 256;

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

void watchProperties(XcbConnection &connection, xcb_window_t window)
{
    // A source usually writes the type list right after taking the selection;
    // watching its window lets a late list be read too.
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection.get(), window, XCB_CW_EVENT_MASK, &mask);
}

// Names every selection answers for itself; they say nothing of the drag.
bool isMetaTarget(const QByteArray &name)
{
    return name == "TARGETS" || name == "TIMESTAMP" || name == "MULTIPLE" || name == "DELETE"
           || name == "SAVE_TARGETS";
}

} // namespace

X11DragSelection::X11DragSelection(XcbConnection &connection, QObject *parent)
    : DragSelection(parent), m_connection(connection)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kAskTimeout);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        qCDebug(lcX11) << "The drag source has not told what it offers";
        // A late answer still counts, but nobody waits for it any more.
        m_asking = false;
        emit changed();
    });
    if (!m_connection.isValid())
        return;
    m_selection = m_connection.atom("XdndSelection");
    m_typeList = m_connection.atom("XdndTypeList");
    m_targets = m_connection.atom("TARGETS");
    m_uriListType = m_connection.atom(kUriList);
    m_targetsProperty = m_connection.atom("_TALVO_DRAG_TARGETS");
    m_urisProperty = m_connection.atom("_TALVO_DRAG_URIS");
    m_xfixesFirstEvent = watchSelection(m_connection, m_selection);
    if (m_xfixesFirstEvent < 0) {
        qCWarning(lcX11).noquote() << QStringLiteral("The X server lacks XFixes; file drags in other "
                                                     "programs are not seen");
        return;
    }
    xcb_connection_t *c = m_connection.get();
    m_requestor = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_requestor, m_connection.root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    m_listener = m_connection.addListener([this](const xcb_generic_event_t &event) { handleEvent(event); });
    // A drag from before our start is over; its source is not asked.
    m_owner = selectionOwner(m_connection, m_selection);
    if (m_owner != XCB_NONE) {
        watchProperties(m_connection, m_owner);
        readTypeList();
    }
    m_connection.flush();
}

X11DragSelection::~X11DragSelection()
{
    if (m_listener)
        m_connection.removeListener(m_listener);
    if (m_requestor != XCB_NONE && m_connection.isValid()) {
        xcb_destroy_window(m_connection.get(), m_requestor);
        m_connection.flush();
    }
}

void X11DragSelection::handleEvent(const xcb_generic_event_t &event)
{
    const int type = event.response_type & 0x7f;
    if (type == m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto &notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t &>(event);
        if (notify.selection == m_selection)
            ownerChanged(notify.owner, notify.selection_timestamp);
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        if (notify.window == m_owner && notify.window != XCB_NONE && notify.atom == m_typeList && readTypeList()) {
            // The URL list tells files from web links.
            if (m_types.contains(QString::fromLatin1(kUriList)) && !m_uriList && !m_pending.contains(m_urisProperty))
                askForUris();
            emit changed();
        }
    } else if (type == XCB_SELECTION_NOTIFY) {
        answered(reinterpret_cast<const xcb_selection_notify_event_t &>(event));
    }
}

void X11DragSelection::ownerChanged(xcb_window_t owner, xcb_timestamp_t time)
{
    ++m_changeCount;
    // Until the new source's types are read, the old ones must not count.
    m_types.clear();
    m_typesKnown = true;
    m_uriList.reset();
    stopAsking();
    m_owner = owner;
    m_ownerTime = time;
    if (owner != XCB_NONE) {
        watchProperties(m_connection, owner);
        if (!readTypeList()) {
            // The URL list first: some sources answer only while the drag
            // has not moved on, and refuse TARGETS.
            m_typesKnown = false;
            askForUris();
            ask(m_targets, m_targetsProperty);
        } else if (m_types.contains(QString::fromLatin1(kUriList))) {
            askForUris();
        }
        m_connection.flush();
    }
    emit changed();
}

bool X11DragSelection::readTypeList()
{
    xcb_connection_t *c = m_connection.get();
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, false, m_owner, m_typeList, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    QStringList types;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = m_connection.atomName(atoms[i]);
        if (!name.isEmpty())
            types.append(QString::fromLatin1(name));
    }
    m_types = types;
    m_typesKnown = true;
    return true;
}

void X11DragSelection::ask(xcb_atom_t target, xcb_atom_t property)
{
    xcb_convert_selection(m_connection.get(), m_requestor, m_selection, target, property, m_ownerTime);
    m_pending.append(property);
    if (!m_asking) {
        m_asking = true;
        m_deadline.start();
    }
}

void X11DragSelection::askForUris()
{
    ask(m_uriListType, m_urisProperty);
    m_connection.flush();
}

void X11DragSelection::answered(const xcb_selection_notify_event_t &notify)
{
    if (notify.requestor != m_requestor || notify.selection != m_selection)
        return;
    const bool current = notify.time == m_ownerTime || notify.time == XCB_CURRENT_TIME;
    // A refusal names no property; sources answer in the order they were asked.
    const xcb_atom_t request = notify.property != XCB_NONE ? notify.property : m_pending.value(0, XCB_NONE);
    if (!current || !m_pending.removeOne(request)) {
        // For a drag that has ended.
        if (notify.property != XCB_NONE)
            xcb_delete_property(m_connection.get(), m_requestor, notify.property);
        return;
    }
    xcb_atom_t type = XCB_NONE;
    const std::optional<QByteArray> answer = notify.property != XCB_NONE ? takeAnswer(request, &type) : std::nullopt;
    if (request == m_urisProperty) {
        if (answer)
            m_uriList = *answer;
    } else if (answer && answer->size() % 4 == 0 && (type == XCB_ATOM_ATOM || type == m_targets)) {
        QStringList types;
        const auto *atoms = reinterpret_cast<const xcb_atom_t *>(answer->constData());
        // Each name costs a round trip: a flood of them is cut short.
        for (qsizetype i = 0; i < std::min<qsizetype>(answer->size() / 4, kMaxTargets); ++i) {
            const QByteArray name = m_connection.atomName(atoms[i]);
            if (!name.isEmpty() && !isMetaTarget(name) && !types.contains(QString::fromLatin1(name)))
                types.append(QString::fromLatin1(name));
        }
        m_types = types;
        m_typesKnown = true;
    }
    // A source that refuses TARGETS but sends its URL list offers one.
    if (!m_typesKnown && m_uriList && !m_pending.contains(m_targetsProperty)) {
        m_types = {QString::fromLatin1(kUriList)};
        m_typesKnown = true;
    }
    if (m_pending.isEmpty()) {
        m_asking = false;
        m_deadline.stop();
    }
    emit changed();
}

std::optional<QByteArray> X11DragSelection::takeAnswer(xcb_atom_t property, xcb_atom_t *type)
{
    xcb_connection_t *c = m_connection.get();
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, true, m_requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, kMaxAnswerWords),
        nullptr));
    if (!reply || reply->type == XCB_NONE || reply->type == m_connection.atom("INCR") || reply->bytes_after > 0) {
        if (reply && reply->type != XCB_NONE)
            qCDebug(lcX11) << "A drag source's answer is too large to read during the drag";
        return std::nullopt;
    }
    *type = reply->type;
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

void X11DragSelection::stopAsking()
{
    m_pending.clear();
    m_asking = false;
    m_deadline.stop();
}

} // namespace talvo
