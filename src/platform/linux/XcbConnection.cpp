#include "XcbConnection.h"

#include "DisplayLoss.h"
#include "platform/Log.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>


namespace talvo {

XcbConnection::XcbConnection(QObject *parent) : QObject(parent)
{
    m_connection = xcb_connect(nullptr, &m_screenNumber);
    if (!m_connection || xcb_connection_has_error(m_connection)) {
        qCWarning(lcX11).noquote() << QStringLiteral("Cannot connect to the X server; pointer and drag "
                                                     "monitoring are off");
        return;
    }
    m_root = screenRoot(m_connection, m_screenNumber);

    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readEvents(true); });
    // A reply read synchronously may pull events into xcb's queue without the
    // socket becoming readable again; look there before the loop sleeps.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { readEvents(false); });
}

XcbConnection::~XcbConnection()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

xcb_atom_t XcbConnection::atom(const QByteArray &name)
{
    if (!isValid())
        return XCB_NONE;
    const auto found = m_atoms.constFind(name);
    if (found != m_atoms.cend())
        return *found;
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, false, uint16_t(name.size()), name.constData()), nullptr));
    const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
    if (value != XCB_NONE) {
        m_atoms.insert(name, value);
        m_atomNames.insert(value, name);
    }
    return value;
}

QByteArray XcbConnection::atomName(xcb_atom_t atom)
{
    if (!isValid() || atom == XCB_NONE)
        return {};
    const auto found = m_atomNames.constFind(atom);
    if (found != m_atomNames.cend())
        return *found;
    XcbReply<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, atom), nullptr));
    if (!reply)
        return {};
    const QByteArray name(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
    m_atomNames.insert(atom, name);
    m_atoms.insert(name, atom);
    return name;
}

int XcbConnection::addListener(Listener listener)
{
    m_listeners.emplace(++m_nextListener, std::move(listener));
    return m_nextListener;
}

void XcbConnection::removeListener(int id)
{
    m_listeners.erase(id);
}

void XcbConnection::flush()
{
    if (isValid())
        xcb_flush(m_connection);
}

void XcbConnection::readEvents(bool fromSocket)
{
    if (!m_connection || m_dispatching)
        return;
    // Without its X server the program cannot go on.
    if (xcb_connection_has_error(m_connection))
        endForLostDisplay();
    m_dispatching = true;
    for (;;) {
        xcb_generic_event_t *event =
            fromSocket ? xcb_poll_for_event(m_connection) : xcb_poll_for_queued_event(m_connection);
        if (!event)
            break;
        // Listeners may add or remove listeners; walk a snapshot of the ids.
        std::vector<int> ids;
        ids.reserve(m_listeners.size());
        for (const auto &[id, listener] : m_listeners)
            ids.push_back(id);
        for (int id : ids) {
            const auto it = m_listeners.find(id);
            if (it != m_listeners.end())
                it->second(*event);
        }
        std::free(event);
    }
    m_dispatching = false;
    xcb_flush(m_connection);
}

} // namespace talvo
