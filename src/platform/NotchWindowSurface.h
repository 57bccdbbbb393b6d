#pragma once

#include <QObject>
#include <QRect>
#include <QRegion>
#include <QVariantMap>

#include <optional>

class QQmlEngine;

namespace talvo {

// The one borderless window that carries the notch: frameless, transparent,
// kept above other windows, on every workspace, absent from taskbar and pager,
// and never taking the keyboard focus on its own.
//
// Geometry is in Qt's global coordinates (logical pixels, origin top left);
// regions are relative to the window's top-left corner.
//
// Main thread only. compositingChanged() fires when a compositing manager
// starts or stops.
class NotchWindowSurface : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Fills the window with an instance of the QML type `typeName` of `module`,
    // created by `engine` with the given initial properties.
    virtual void setContent(QQmlEngine &engine, const QString &module, const QString &typeName,
                            const QVariantMap &initialProperties) = 0;
    virtual void setFrame(const QRect &frame) = 0;
    virtual QRect frame() const = 0;
    // Shows the window if needed and brings it in front of all others, without
    // activating it.
    virtual void raise() = 0;
    // Asserts the window's place above ordinary windows again, in case another
    // program or the window manager took it away.
    virtual void setOverlayLevel() = 0;
    // Where the window takes pointer input. Outside this region (everywhere
    // when it is empty) the pointer acts on whatever lies below.
    virtual void setInputRegion(const QRegion &region) = 0;
    // Where the window is drawn at all; nothing: the whole window. Needed
    // without a compositing manager, which would show transparent pixels black.
    virtual void setBoundingRegion(const std::optional<QRegion> &region) = 0;
    // Asks the compositing manager to blur what lies behind `region` (the
    // glass look of the open body); nothing: no blur. Compositors without
    // the feature ignore it.
    virtual void setBlurBehindRegion(const std::optional<QRegion> &region) { Q_UNUSED(region); }
    // The window normally never takes the keyboard; while a text field of the
    // panel is in use it does, and asks for the focus.
    virtual void setKeyboardFocusWanted(bool wanted) { Q_UNUSED(wanted); }
    // Whether transparent pixels of the window show what lies below.
    virtual bool isCompositing() const = 0;

signals:
    void compositingChanged(bool compositing);
};

} // namespace talvo
