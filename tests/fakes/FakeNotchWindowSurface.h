#pragma once

#include "platform/NotchWindowSurface.h"

namespace talvo {

// Records what the controller asks of the window.
class FakeNotchWindowSurface final : public NotchWindowSurface
{
    Q_OBJECT
public:
    void setContent(QQmlEngine &, const QString &module, const QString &typeName,
                    const QVariantMap &initialProperties) override
    {
        contentType = module + QLatin1Char('.') + typeName;
        contentProperties = initialProperties;
    }
    void setFrame(const QRect &frame) override
    {
        m_frame = frame;
        ++frameWrites;
    }
    QRect frame() const override { return m_frame; }
    void orderFrontRegardless() override { ++orderFrontCount; }
    void setOverlayLevel() override { ++overlayLevelCount; }
    void setInputRegion(const QRegion &region) override
    {
        inputRegion = region;
        ++inputRegionWrites;
    }
    void setBoundingRegion(const std::optional<QRegion> &region) override
    {
        boundingRegion = region;
        ++boundingRegionWrites;
    }
    bool isCompositing() const override { return compositing; }

    void setCompositing(bool on)
    {
        compositing = on;
        emit compositingChanged(on);
    }

    QString contentType;
    QVariantMap contentProperties;
    QRect m_frame;
    int frameWrites = 0;
    int orderFrontCount = 0;
    int overlayLevelCount = 0;
    QRegion inputRegion;
    int inputRegionWrites = 0;
    std::optional<QRegion> boundingRegion;
    int boundingRegionWrites = 0;
    bool compositing = true;
};

} // namespace talvo
