#include "X11Pointer.h"

#include "XcbConnection.h"

#include <QGuiApplication>
#include <QScreen>

namespace talvo {

X11Pointer::State X11Pointer::query() const
{
    if (!m_connection.isValid())
        return {};
    xcb_connection_t *c = m_connection.get();
    XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, m_connection.root()), nullptr));
    if (!reply)
        return {};
    // The server counts device pixels; Qt's coordinates are logical. With one
    // scale for all screens (the usual X11 set-up) the two differ by it alone.
    const QScreen *primary = QGuiApplication::primaryScreen();
    const qreal ratio = primary ? primary->devicePixelRatio() : 1.0;
    Qt::MouseButtons buttons;
    if (reply->mask & XCB_BUTTON_MASK_1)
        buttons |= Qt::LeftButton;
    if (reply->mask & XCB_BUTTON_MASK_2)
        buttons |= Qt::MiddleButton;
    if (reply->mask & XCB_BUTTON_MASK_3)
        buttons |= Qt::RightButton;
    return {QPointF(reply->root_x, reply->root_y) / ratio, buttons};
}

QPointF X11Pointer::position() const
{
    return query().position;
}

Qt::MouseButtons X11Pointer::pressedButtons() const
{
    return query().buttons;
}

} // namespace talvo
