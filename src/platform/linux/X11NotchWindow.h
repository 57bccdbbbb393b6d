#pragma once

#include "platform/NotchWindowSurface.h"

#include <QPointer>
#include <QQuickItem>

#include <xcb/xcb.h>

#include <memory>

class QQuickItem;
class QQuickWindow;

namespace talvo {

class XcbConnection;

// The notch window on X11: a transparent Qt Quick window with no frame, kept
// above others (_NET_WM_STATE_ABOVE), on every workspace (sticky), absent from
// taskbar and pager, and never taking the focus. Pointer pass-through is the
// X shape extension's input shape, set on Qt's own connection; the bounding
// shape clips drawing where no compositing manager blends transparent pixels.
// The compositing manager is the owner of _NET_WM_CM_S<screen>, followed
// through XFixes on `monitorConnection`.
class X11NotchWindow final : public NotchWindowSurface
{
    Q_OBJECT
public:
    explicit X11NotchWindow(XcbConnection &monitorConnection, QObject *parent = nullptr);
    ~X11NotchWindow() override;

    void setContent(QQmlEngine &engine, const QString &module, const QString &typeName,
                    const QVariantMap &initialProperties) override;
    // Destroys the content; the window may be drawing.
    void clearContent();
    void setFrame(const QRect &frame) override;
    QRect frame() const override;
    void raise() override;
    void setOverlayLevel() override;
    void setInputRegion(const QRegion &region) override;
    void setBoundingRegion(const std::optional<QRegion> &region) override;
    // KWin's _KDE_NET_WM_BLUR_BEHIND_REGION.
    void setBlurBehindRegion(const std::optional<QRegion> &region) override;
    bool isCompositing() const override { return m_compositing; }
    void setTakesKeyboardFocus(bool takes) override;

    QQuickWindow *window() const { return m_window.get(); }
    // The item setContent() made; null before.
    QQuickItem *content() const { return m_content; }
    // The X window id; 0 when there is no X11 connection (another platform).
    quint32 xWindow() const;

private:
    void prepareWindowManagerHints();
    void applyShape(int kind, const QRegion *region);
    void watchCompositor();
    void setCompositing(bool compositing);

    XcbConnection &m_monitor;
    std::unique_ptr<QQuickWindow> m_window;
    QPointer<QQuickItem> m_content;
    xcb_connection_t *m_qtConnection = nullptr;
    xcb_atom_t m_compositorSelection = XCB_NONE;
    int m_xfixesFirstEvent = -1;
    int m_listener = 0;
    bool m_compositing = false;
    // Who had the keyboard before the notch took it.
    xcb_window_t m_focusBefore = XCB_NONE;
};

} // namespace talvo
