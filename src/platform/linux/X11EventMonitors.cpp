#include "X11EventMonitors.h"

#include "XcbConnection.h"
#include "platform/Log.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <xcb/xinput.h>

namespace talvo {

namespace {

constexpr quint32 buttonBit(quint32 button)
{
    return button < 32 ? 1u << button : 0;
}

bool isWheelButton(quint32 button)
{
    return button >= 4 && button <= 7;
}

// Wheel "buttons" 4-7: up, down, left, right, one line each.
PointerEvent wheelEvent(quint32 button)
{
    const qreal amount = (button == 4 || button == 6) ? 1 : -1;
    const QPointF delta = button <= 5 ? QPointF(0, amount) : QPointF(amount, 0);
    return PointerEvent{PointerEventType::ScrollWheel, delta, delta, false};
}

PointerEventType pressType(quint32 button)
{
    if (button == 1)
        return PointerEventType::LeftMouseDown;
    return button == 3 ? PointerEventType::RightMouseDown : PointerEventType::OtherMouseDown;
}

PointerEventType releaseType(quint32 button)
{
    if (button == 1)
        return PointerEventType::LeftMouseUp;
    return button == 3 ? PointerEventType::RightMouseUp : PointerEventType::OtherMouseUp;
}

PointerEventType motionType(bool left, bool right, bool other)
{
    if (left)
        return PointerEventType::LeftMouseDragged;
    if (right)
        return PointerEventType::RightMouseDragged;
    return other ? PointerEventType::OtherMouseDragged : PointerEventType::MouseMoved;
}

quint32 qtButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::MiddleButton: return 2;
    case Qt::RightButton: return 3;
    default: return 8;
    }
}

} // namespace

X11EventMonitors::X11EventMonitors(XcbConnection &connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
}

X11EventMonitors::~X11EventMonitors()
{
    if (m_listener)
        m_connection.removeListener(m_listener);
    if (m_filterInstalled && qApp)
        qApp->removeEventFilter(this);
}

bool X11EventMonitors::ensureRawEvents()
{
    if (m_rawSelected)
        return true;
    if (m_rawUnavailable || !m_connection.isValid())
        return false;
    // Whatever fails below fails the same way next time: say it once.
    m_rawUnavailable = true;
    xcb_connection_t *c = m_connection.get();
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_input_id);
    if (!ext || !ext->present) {
        qCWarning(lcX11).noquote() << QStringLiteral("The X server lacks XInput; pointer events of other "
                                                     "programs are not seen");
        return false;
    }
    // Raw events reach us during other clients' grabs only from version 2.1 on,
    // and only once we have announced that we speak it.
    XcbReply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
    if (!version || (version->major_version < 2 || (version->major_version == 2 && version->minor_version < 1))) {
        qCWarning(lcX11).noquote() << QStringLiteral("The X server's XInput is older than 2.1; pointer "
                                                     "events of other programs are not seen");
        return false;
    }
    m_xinputOpcode = ext->major_opcode;
    struct
    {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE
               | XCB_INPUT_XI_EVENT_MASK_RAW_MOTION};
    XcbReply<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_input_xi_select_events_checked(c, m_connection.root(), 1, &mask.head)));
    if (error) {
        qCWarning(lcX11).noquote() << QStringLiteral("Cannot select raw pointer events (X error %1)")
                                          .arg(error->error_code);
        return false;
    }
    // Buttons already held when watching starts count as held.
    XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, m_connection.root()), nullptr));
    if (pointer) {
        for (quint32 button = 1; button <= 5; ++button) {
            if (pointer->mask & (XCB_BUTTON_MASK_1 << (button - 1)))
                m_heldButtons |= buttonBit(button);
        }
    }
    m_listener = m_connection.addListener([this](const xcb_generic_event_t &event) { handleXcbEvent(&event); });
    m_connection.flush();
    m_rawSelected = true;
    m_rawUnavailable = false;
    return true;
}

void X11EventMonitors::handleXcbEvent(const void *data)
{
    const auto *generic = static_cast<const xcb_ge_generic_event_t *>(data);
    if ((generic->response_type & 0x7f) != XCB_GE_GENERIC || generic->extension != m_xinputOpcode)
        return;
    const auto *raw = static_cast<const xcb_input_raw_button_press_event_t *>(data);
    const quint32 button = raw->detail;
    switch (generic->event_type) {
    case XCB_INPUT_RAW_BUTTON_PRESS:
        if (isWheelButton(button)) {
            deliver(true, wheelEvent(button));
        } else {
            m_heldButtons |= buttonBit(button);
            deliver(true, PointerEvent::of(pressType(button)));
        }
        break;
    case XCB_INPUT_RAW_BUTTON_RELEASE:
        if (!isWheelButton(button)) {
            m_heldButtons &= ~buttonBit(button);
            deliver(true, PointerEvent::of(releaseType(button)));
        }
        break;
    case XCB_INPUT_RAW_MOTION: {
        // Smooth scrolling arrives as motion of the scroll axes only (the wheel
        // "buttons" come as well); that is no pointer movement.
        const uint32_t *valuators = xcb_input_raw_button_press_valuator_mask(raw);
        if (raw->valuators_len > 0 && !(valuators[0] & 0x3u))
            break;
        const bool left = m_heldButtons & buttonBit(1);
        const bool right = m_heldButtons & buttonBit(3);
        const bool other = m_heldButtons & ~(buttonBit(1) | buttonBit(3));
        deliver(true, PointerEvent::of(motionType(left, right, other)));
        break;
    }
    default:
        break;
    }
}

bool X11EventMonitors::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        m_enteredWindow = static_cast<QWindow *>(watched);
        deliver(false, PointerEvent::of(PointerEventType::MouseEntered));
        break;
    case QEvent::Leave:
        if (m_enteredWindow == watched)
            m_enteredWindow = nullptr;
        deliver(false, PointerEvent::of(PointerEventType::MouseExited));
        break;
    case QEvent::MouseButtonPress:
        deliver(false, PointerEvent::of(pressType(qtButtonNumber(static_cast<QMouseEvent *>(event)->button()))));
        break;
    case QEvent::MouseButtonRelease:
        deliver(false, PointerEvent::of(releaseType(qtButtonNumber(static_cast<QMouseEvent *>(event)->button()))));
        break;
    case QEvent::MouseMove: {
        const Qt::MouseButtons buttons = static_cast<QMouseEvent *>(event)->buttons();
        deliver(false, PointerEvent::of(motionType(buttons & Qt::LeftButton, buttons & Qt::RightButton,
                                                   buttons & ~(Qt::LeftButton | Qt::RightButton))));
        break;
    }
    case QEvent::Wheel: {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const QPointF lines = QPointF(wheel->angleDelta()) / 120.0;
        const bool precise = !wheel->pixelDelta().isNull();
        deliver(false, PointerEvent{PointerEventType::ScrollWheel, lines,
                                    precise ? QPointF(wheel->pixelDelta()) : lines, precise});
        break;
    }
    default:
        break;
    }
    return false;
}

void X11EventMonitors::deliver(bool global, const PointerEvent &event)
{
    if (global && m_enteredWindow && m_enteredWindow->isVisible())
        return;
    std::vector<int> ids;
    for (const auto &[id, monitor] : m_monitors) {
        if (monitor.global == global && (monitor.mask & event.type))
            ids.push_back(id);
    }
    for (int id : ids) {
        const auto it = m_monitors.find(id);
        if (it == m_monitors.end() || (it->second.hasContext && !it->second.context))
            continue;
        Handler handler = it->second.handler; // the handler may remove its monitor
        handler(event);
    }
}

int X11EventMonitors::add(bool global, PointerEventTypes mask, const QObject *context, Handler handler)
{
    m_monitors.emplace(++m_nextId, Monitor{global, mask, context, context != nullptr, std::move(handler)});
    return m_nextId;
}

int X11EventMonitors::addGlobalMonitor(PointerEventTypes mask, const QObject *context, Handler handler)
{
    if (!ensureRawEvents())
        return 0;
    return add(true, mask, context, std::move(handler));
}

int X11EventMonitors::addLocalMonitor(PointerEventTypes mask, const QObject *context, Handler handler)
{
    if (!m_filterInstalled && qApp) {
        qApp->installEventFilter(this);
        m_filterInstalled = true;
    }
    return add(false, mask, context, std::move(handler));
}

void X11EventMonitors::removeMonitor(int id)
{
    m_monitors.erase(id);
}

} // namespace talvo
