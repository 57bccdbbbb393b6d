#include "Screens.h"

namespace talvo {

ScreenInfo ScreenInfo::withCameraHousing(QSizeF housing) const
{
    ScreenInfo result = *this;
    const qreal width = std::clamp(housing.width(), 0.0, geometry.width());
    const qreal height = std::max(housing.height(), 0.0);
    if (width <= 0 || height <= 0)
        return result;
    const qreal side = (geometry.width() - width) / 2;
    result.topSafeAreaInset = height;
    result.auxiliaryTopLeftArea = QRectF(geometry.left(), geometry.top(), side, height);
    result.auxiliaryTopRightArea = QRectF(geometry.left() + side + width, geometry.top(), side, height);
    return result;
}

} // namespace talvo
