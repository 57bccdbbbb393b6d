#pragma once

#include "platform/Screens.h"

namespace talvo {

// Screens set by the test; setScreens() announces the change like a real
// reconfiguration.
class FakeScreens final : public Screens
{
    Q_OBJECT
public:
    explicit FakeScreens(QList<ScreenInfo> screens = {}) : m_screens(std::move(screens)) {}

    QList<ScreenInfo> screens() const override { return m_screens; }
    std::optional<ScreenInfo> mainScreen() const override
    {
        if (m_screens.isEmpty())
            return std::nullopt;
        return m_screens.first();
    }

    void setScreens(QList<ScreenInfo> screens)
    {
        m_screens = std::move(screens);
        emit screensChanged();
    }

    static ScreenInfo screen(quint32 number, QRectF geometry)
    {
        ScreenInfo info;
        info.number = number;
        info.name = QStringLiteral("OUT-%1").arg(number);
        info.geometry = geometry;
        return info;
    }

private:
    QList<ScreenInfo> m_screens;
};

} // namespace talvo
