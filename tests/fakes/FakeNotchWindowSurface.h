#pragma once

#include "platform/NotchWindowSurface.h"

namespace talvo {

// Records what the controller asks of the window.
class FakeNotchWindowSurface final : public NotchWindowSurface
{
    Q_OBJECT
public:
    void setContent(QQmlEngine &, const QString &, const QString &, const QVariantMap &) override {}
    void setFrame(const QRect &frame) override { m_frame = frame; }
    QRect frame() const override { return m_frame; }
    void raise() override { ++raiseCount; }
    void setOverlayLevel() override {}
    void setInputRegion(const QRegion &region) override
    {
        inputRegion = region;
        ++inputRegionWrites;
    }
    void setBoundingRegion(const std::optional<QRegion> &region) override { boundingRegion = region; }
    bool isCompositing() const override { return compositing; }
    void setTakesKeyboardFocus(bool takes) override { takesKeyboardFocus = takes; }

    void setCompositing(bool on)
    {
        compositing = on;
        emit compositingChanged(on);
    }

    QRect m_frame;
    int raiseCount = 0;
    QRegion inputRegion;
    int inputRegionWrites = 0;
    std::optional<QRegion> boundingRegion;
    bool compositing = true;
    bool takesKeyboardFocus = false;
};

} // namespace talvo
