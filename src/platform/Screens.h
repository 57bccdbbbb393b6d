#pragma once

#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>

#include <optional>

namespace talvo {

// One output of the desktop. Geometry is in Qt's global coordinates: logical
// pixels, origin at the top left of the virtual desktop, y growing downwards.
struct ScreenInfo
{
    // Stable identifier of the output across reconfigurations and replugging;
    // 0 when the output has none.
    quint32 number = 0;
    QString name;
    QRectF geometry;
    // Height of the band at the top that a camera housing takes; 0 without one.
    qreal topSafeAreaInset = 0;
    // The parts of the top band left and right of a camera housing. Both are
    // present exactly when the screen has a housing.
    std::optional<QRectF> auxiliaryTopLeftArea;
    std::optional<QRectF> auxiliaryTopRightArea;

    bool operator==(const ScreenInfo &) const = default;

    // The screen with a camera housing of `housing` size centred on its top edge.
    ScreenInfo withCameraHousing(QSizeF housing) const;
};

// The desktop's screens.
//
// Main thread only. screensChanged() fires after an output was added, removed,
// moved or resized, or the primary output changed.
class Screens : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // All screens; the first is the main one (the primary output). Empty when
    // the desktop has no screen at all.
    virtual QList<ScreenInfo> screens() const = 0;
    // The primary output, if any.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;

signals:
    void screensChanged();
};

} // namespace talvo
