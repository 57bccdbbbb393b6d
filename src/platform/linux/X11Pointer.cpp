#include "X11Pointer.h"

#include "X11PacedPointerSampler.h"
#include "XcbConnection.h"

#include "platform/Log.h"

#include <QGuiApplication>
#include <QScreen>

namespace talvo {

namespace {

// The pointer's root position and buttons, as the server reports them.
std::optional<PointerSample> queryPointer(xcb_connection_t *connection, xcb_window_t root)
{
    XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
    if (!reply)
        return std::nullopt;
    return X11Pointer::sampleFrom(*reply);
}

std::optional<PointerSample> queryPointer(const XcbConnection &connection)
{
    if (!connection.isValid())
        return std::nullopt;
    return queryPointer(connection.get(), connection.root());
}

} // namespace

PointerSample X11Pointer::sampleFrom(const xcb_query_pointer_reply_t &reply)
{
    Qt::MouseButtons buttons;
    if (reply.mask & XCB_BUTTON_MASK_1)
        buttons |= Qt::LeftButton;
    if (reply.mask & XCB_BUTTON_MASK_2)
        buttons |= Qt::MiddleButton;
    if (reply.mask & XCB_BUTTON_MASK_3)
        buttons |= Qt::RightButton;
    return PointerSample{QPoint(reply.root_x, reply.root_y), buttons};
}

X11Pointer::~X11Pointer()
{
    if (m_sampleConnection)
        xcb_disconnect(m_sampleConnection);
}

QPointF X11Pointer::position() const
{
    const std::optional<PointerSample> state = queryPointer(m_connection);
    if (!state)
        return {};
    // The server counts device pixels; Qt's coordinates are logical. With one
    // scale for all screens (the usual X11 set-up) the two differ by it alone.
    const QScreen *primary = QGuiApplication::primaryScreen();
    const qreal ratio = primary ? primary->devicePixelRatio() : 1.0;
    return QPointF(state->position) / ratio;
}

Qt::MouseButtons X11Pointer::pressedButtons() const
{
    const std::optional<PointerSample> state = queryPointer(m_connection);
    return state ? state->buttons : Qt::NoButton;
}

std::optional<PointerSample> X11Pointer::sample() const
{
    std::lock_guard lock(m_sampleMutex);
    if (!m_sampleConnection) {
        int screenNumber = 0;
        m_sampleConnection = xcb_connect(nullptr, &screenNumber);
        if (!xcb_connection_has_error(m_sampleConnection))
            m_sampleRoot = screenRoot(m_sampleConnection, screenNumber);
    }
    // A connection that failed or broke stays closed: callers fall back to
    // asking on the main thread.
    if (xcb_connection_has_error(m_sampleConnection) || m_sampleRoot == XCB_NONE)
        return std::nullopt;
    return queryPointer(m_sampleConnection, m_sampleRoot);
}

TimerHandle X11Pointer::sampleEvery(TimerQueue &queue, Scheduler::Duration interval, Look look) const
{
    if (std::optional<TimerHandle> paced = X11PacedPointerSampler::start(interval, look))
        return *paced;
    if (!std::exchange(m_loggedUnpaced, true))
        qCInfo(lcX11).noquote() << QStringLiteral("The X server cannot pace pointer looks (no connection, or "
                                                     "no SYNC SERVERTIME counter); a timer thread paces them.");
    return Pointer::sampleEvery(queue, interval, std::move(look));
}

} // namespace talvo
