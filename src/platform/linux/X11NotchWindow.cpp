#include "X11NotchWindow.h"

#include "XcbConnection.h"
#include "platform/Log.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRunnable>
#include <QSemaphore>
#include <QThread>

#include <xcb/shape.h>
#include <xcb/xfixes.h>

namespace talvo {

namespace {

// A job that holds the render thread until the GUI thread lets it go. A job
// the render loop drops (a window not drawn) or runs on the GUI thread (the
// basic loop) holds nothing.
class RenderThreadPause final : public QRunnable
{
public:
    struct Gate {
        QSemaphore held;
        QSemaphore released;
    };
    explicit RenderThreadPause(std::shared_ptr<Gate> gate) : m_gate(std::move(gate)) {}
    ~RenderThreadPause() override
    {
        if (!m_ran)
            m_gate->held.release();
    }
    void run() override
    {
        m_ran = true;
        m_gate->held.release();
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            m_gate->released.acquire();
    }

private:
    std::shared_ptr<Gate> m_gate;
    bool m_ran = false;
};

xcb_atom_t internAtom(xcb_connection_t *c, const char *name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, false, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

std::vector<xcb_rectangle_t> rectangles(const QRegion &region, qreal ratio)
{
    std::vector<xcb_rectangle_t> result;
    for (const QRect &rect : region) {
        const QRect scaled(QPoint(qFloor(rect.x() * ratio), qFloor(rect.y() * ratio)),
                           QPoint(qCeil((rect.right() + 1) * ratio) - 1, qCeil((rect.bottom() + 1) * ratio) - 1));
        result.push_back({int16_t(scaled.x()), int16_t(scaled.y()), uint16_t(scaled.width()),
                          uint16_t(scaled.height())});
    }
    return result;
}

} // namespace

X11NotchWindow::X11NotchWindow(XcbConnection &monitorConnection, QObject *parent)
    : NotchWindowSurface(parent), m_monitor(monitorConnection), m_window(std::make_unique<QQuickWindow>())
{
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        m_qtConnection = x11->connection();

    QSurfaceFormat format = m_window->format();
    format.setAlphaBufferSize(8);
    m_window->setFormat(format);
    m_window->setColor(Qt::transparent);
    m_window->setTitle(QStringLiteral("Talvo"));
    m_window->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                       | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    m_window->create();
    prepareWindowManagerHints();
    watchCompositor();
}

X11NotchWindow::~X11NotchWindow()
{
    clearContent();
    if (m_listener)
        m_monitor.removeListener(m_listener);
}

quint32 X11NotchWindow::xWindow() const
{
    return m_qtConnection ? quint32(m_window->winId()) : 0;
}

void X11NotchWindow::prepareWindowManagerHints()
{
    if (!m_qtConnection)
        return;
    xcb_connection_t *c = m_qtConnection;
    const xcb_window_t window = xWindow();
    // Written before the window is mapped, where window managers read them;
    // Qt adds its own states to this list rather than replacing it.
    const xcb_atom_t states[] = {internAtom(c, "_NET_WM_STATE_ABOVE"), internAtom(c, "_NET_WM_STATE_STICKY"),
                                 internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, internAtom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        std::size(states), states);
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, internAtom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32,
                        1, &allDesktops);
    xcb_flush(c);
}

void X11NotchWindow::setContent(QQmlEngine &engine, const QString &module, const QString &typeName,
                                const QVariantMap &initialProperties)
{
    QQmlComponent component(&engine);
    component.setData(QStringLiteral("import %1\n%2 {}\n").arg(module, typeName).toUtf8(), QUrl());
    std::unique_ptr<QObject> object(component.createWithInitialProperties(initialProperties));
    auto *item = qobject_cast<QQuickItem *>(object.get());
    if (!item) {
        qCWarning(lcNotch).noquote() << QStringLiteral("Cannot create %1.%2: %3")
                                            .arg(module, typeName,
                                                 component.isError() ? component.errorString().trimmed()
                                                                     : QStringLiteral("not a visual item"));
        return;
    }
    object.release();
    clearContent();
    m_content = item;
    item->setParent(m_window->contentItem());
    item->setParentItem(m_window->contentItem());
    item->setSize(m_window->size());
    connect(m_window.get(), &QWindow::widthChanged, item, [item](int width) { item->setWidth(width); });
    connect(m_window.get(), &QWindow::heightChanged, item, [item](int height) { item->setHeight(height); });
}

void X11NotchWindow::clearContent()
{
    if (!m_content)
        return;
    // Some items (shapes) are read by the render thread as it draws them, so
    // they go while that thread waits in a job of ours. Deleted while the
    // window is exposed, they hand their pictures back to the scene graph.
    auto gate = std::make_shared<RenderThreadPause::Gate>();
    m_window->scheduleRenderJob(new RenderThreadPause(gate), QQuickWindow::NoStage);
    if (!gate->held.tryAcquire(1, 5000))
        qCWarning(lcNotch) << "The render thread did not pause; clearing the notch anyway";
    delete m_content;
    gate->released.release();
}

void X11NotchWindow::setFrame(const QRect &frame)
{
    m_window->setGeometry(frame);
}

QRect X11NotchWindow::frame() const
{
    return m_window->geometry();
}

void X11NotchWindow::raise()
{
    if (!m_window->isVisible())
        m_window->show();
    m_window->raise();
}

void X11NotchWindow::setTakesKeyboardFocus(bool takes)
{
    m_window->setFlag(Qt::WindowDoesNotAcceptFocus, !takes);
    if (!m_qtConnection) {
        if (takes)
            m_window->requestActivate();
        return;
    }
    xcb_connection_t *c = m_qtConnection;
    const xcb_window_t window = xWindow();
    XcbReply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    const xcb_window_t focused = focus ? focus->focus : XCB_NONE;
    if (takes) {
        m_focusBefore = focused != window ? focused : XCB_NONE;
        m_window->requestActivate();
        return;
    }
    if (focused == window) {
        // The window that had the keyboard may be gone by now: then the focus
        // follows the pointer, as it does on a bare X server.
        const xcb_window_t pointerRoot = XCB_INPUT_FOCUS_POINTER_ROOT;
        const xcb_window_t target = m_focusBefore != XCB_NONE ? m_focusBefore : pointerRoot;
        xcb_void_cookie_t cookie =
            xcb_set_input_focus_checked(c, XCB_INPUT_FOCUS_POINTER_ROOT, target, XCB_CURRENT_TIME);
        if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
            free(error);
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, pointerRoot, XCB_CURRENT_TIME);
        }
    }
    m_focusBefore = XCB_NONE;
    xcb_flush(c);
}

void X11NotchWindow::setOverlayLevel()
{
    if (!m_qtConnection || !m_window->isVisible())
        return;
    // Once mapped, states are changed by asking the window manager.
    xcb_connection_t *c = m_qtConnection;
    const xcb_atom_t wmState = internAtom(c, "_NET_WM_STATE");
    xcb_window_t root = XCB_NONE;
    if (const xcb_setup_t *setup = xcb_get_setup(c))
        root = xcb_setup_roots_iterator(setup).data->root;
    for (const char *state : {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY"}) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = xWindow();
        message.type = wmState;
        message.data.data32[0] = 1; // _NET_WM_STATE_ADD
        message.data.data32[1] = internAtom(c, state);
        message.data.data32[3] = 1; // from a normal application
        xcb_send_event(c, false, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&message));
    }
    xcb_flush(c);
}

void X11NotchWindow::applyShape(int kind, const QRegion *region)
{
    if (!m_qtConnection)
        return;
    const xcb_window_t window = xWindow();
    if (!region) {
        xcb_shape_mask(m_qtConnection, XCB_SHAPE_SO_SET, xcb_shape_sk_t(kind), window, 0, 0, XCB_NONE);
    } else {
        const std::vector<xcb_rectangle_t> rects = rectangles(*region, m_window->devicePixelRatio());
        xcb_shape_rectangles(m_qtConnection, XCB_SHAPE_SO_SET, xcb_shape_sk_t(kind), XCB_CLIP_ORDERING_UNSORTED,
                             window, 0, 0, uint32_t(rects.size()), rects.data());
    }
    xcb_flush(m_qtConnection);
}

void X11NotchWindow::setInputRegion(const QRegion &region)
{
    applyShape(XCB_SHAPE_SK_INPUT, &region);
}

void X11NotchWindow::setBoundingRegion(const std::optional<QRegion> &region)
{
    applyShape(XCB_SHAPE_SK_BOUNDING, region ? &*region : nullptr);
}

void X11NotchWindow::setBlurBehindRegion(const std::optional<QRegion> &region)
{
    if (!m_qtConnection)
        return;
    const xcb_atom_t atom = internAtom(m_qtConnection, "_KDE_NET_WM_BLUR_BEHIND_REGION");
    if (atom == XCB_NONE)
        return;
    if (!region) {
        xcb_delete_property(m_qtConnection, xWindow(), atom);
    } else {
        // x, y, width, height per rectangle, in device pixels.
        std::vector<uint32_t> values;
        for (const xcb_rectangle_t &rect : rectangles(*region, m_window->devicePixelRatio()))
            values.insert(values.end(), {uint32_t(rect.x), uint32_t(rect.y), rect.width, rect.height});
        xcb_change_property(m_qtConnection, XCB_PROP_MODE_REPLACE, xWindow(), atom, XCB_ATOM_CARDINAL, 32,
                            uint32_t(values.size()), values.data());
    }
    xcb_flush(m_qtConnection);
}

void X11NotchWindow::watchCompositor()
{
    if (!m_monitor.isValid())
        return;
    xcb_connection_t *c = m_monitor.get();
    m_compositorSelection = m_monitor.atom("_NET_WM_CM_S" + QByteArray::number(m_monitor.screenNumber()));
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (ext && ext->present) {
        m_xfixesFirstEvent = ext->first_event;
        std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
        xcb_xfixes_select_selection_input(c, m_monitor.root(), m_compositorSelection,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        m_listener = m_monitor.addListener([this](const xcb_generic_event_t &event) {
            if ((event.response_type & 0x7f) != m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY)
                return;
            const auto &notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t &>(event);
            if (notify.selection == m_compositorSelection)
                setCompositing(notify.owner != XCB_NONE);
        });
    }
    XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_compositorSelection), nullptr));
    m_compositing = owner && owner->owner != XCB_NONE;
    m_monitor.flush();
}

void X11NotchWindow::setCompositing(bool compositing)
{
    if (compositing == m_compositing)
        return;
    m_compositing = compositing;
    emit compositingChanged(compositing);
}

} // namespace talvo
