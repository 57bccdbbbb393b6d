#pragma once

#include "E2eDesktop.h"

#include <QPainter>
#include <QTest>

#include <algorithm>

namespace talvo::e2e {

// The steps of a whole-program test of the open panel on a 1920 × 1080
// desktop: opening it from the hot zone, and screenshots of the window's area.
struct PanelSteps
{
    static constexpr QPoint kHotZone{960, 5};
    static constexpr QPoint kAway{960, 700};
    static constexpr QRect kWindowFrame{530, 0, 860, 250};

    // Pixels brighter than `threshold` in any channel: drawn content.
    static int brightPixels(const QImage &image, const QRect &area, int threshold = 90)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += std::max({c.red(), c.green(), c.blue()}) > threshold ? 1 : 0;
            }
        }
        return count;
    }

    // Opens the panel by clicking the hot zone; false when it did not open.
    static bool open(E2eDesktop &desktop)
    {
        desktop.movePointer(kAway);
        return QTest::qWaitFor(
            [&desktop] {
                desktop.glidePointer(kAway, kHotZone, 6, 10);
                desktop.click(kHotZone);
                return QTest::qWaitFor(
                    [&desktop] { return desktop.controlProperty(QStringLiteral("panelPresent")).toBool(); }, 1000);
            },
            6000);
    }

    // The window's area once the springs have come to rest, kept as
    // `name`.png; the returned picture is in screen coordinates.
    static QImage shoot(E2eDesktop &desktop, const QString &name)
    {
        QTest::qWait(900);
        QImage shot(QSize(1920, 1080), QImage::Format_RGB32);
        shot.fill(Qt::black);
        const QImage window = desktop.shoot(kWindowFrame, name);
        {
            QPainter painter(&shot);
            painter.drawImage(kWindowFrame.topLeft(), window);
        }
        return shot;
    }
};

} // namespace talvo::e2e
