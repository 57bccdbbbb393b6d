#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace talvo::test {

// Measures the black notch body in a screenshot of the notch window's area
// over a desktop of one colour. The desktop is bluer than anything else there,
// so the blue channel tells how much of a pixel the body covers; the body's
// soft shadow darkens the desktop by far less than a third.
class NotchBodyMeasure
{
public:
    struct Result
    {
        int topWidth = 0; // the top row, where the ears meet the top edge
        int widest = 0;   // the widest row
        int height = 0;   // rows from the top edge down to the last body row
        int midWidth = 0; // the row half-way down
        int centreX = 0;  // middle of that row
    };

    explicit NotchBodyMeasure(QColor desktop) : m_desktopBlue(desktop.blue()) {}

    Result measure(const QImage &image) const
    {
        Result m;
        // The ears meet the top edge at a tangent, so their last pixels are
        // only faintly covered; a sixth keeps clear of the shadow.
        m.topWidth = widthOf(rowExtent(image, 0, 0.15));
        int lastRow = -1;
        for (int y = 0; y < image.height(); ++y) {
            const int w = widthOf(rowExtent(image, y, kBody));
            if (w > 0)
                lastRow = y;
            m.widest = std::max(m.widest, w);
        }
        m.height = lastRow + 1;
        const auto mid = rowExtent(image, std::max(m.height / 2, 0), kBody);
        m.midWidth = widthOf(mid);
        m.centreX = (mid.first + mid.second + 1) / 2;
        return m;
    }

    // What differs from a body `width` × `height` (ears included) whose ears
    // have `topRadius`, centred at `centreX`, within a pixel or two of
    // antialiasing; empty when nothing does.
    static QString faults(const Result &m, int width, int height, int topRadius, int centreX)
    {
        QStringList faults;
        if (m.topWidth > width || m.topWidth < width - 7)
            faults << QStringLiteral("top row %1 wide").arg(m.topWidth);
        if (std::abs(m.midWidth - (width - 2 * topRadius)) > 2)
            faults << QStringLiteral("middle row %1 wide").arg(m.midWidth);
        if (std::abs(m.height - height) > 1)
            faults << QStringLiteral("%1 high").arg(m.height);
        if (std::abs(m.centreX - centreX) > 1)
            faults << QStringLiteral("centred at %1").arg(m.centreX);
        return faults.join(QStringLiteral(", "));
    }

    // Measures a screenshot against a body `width` × `height`, as faults();
    // with TALVO_SCREENSHOT_DIR set, keeps it there as `name`.png.
    QString check(const QImage &shot, const QString &name, int width, int height, int topRadius, int centreX) const
    {
        keep(shot, name);
        return faults(measure(shot), width, height, topRadius, centreX);
    }

    // With TALVO_SCREENSHOT_DIR set, keeps `shot` there as `name`.png.
    static void keep(const QImage &shot, const QString &name)
    {
        if (const QString dir = qEnvironmentVariable("TALVO_SCREENSHOT_DIR"); !dir.isEmpty())
            shot.save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    // The attached notch's outline, `width` × `height` at the top centre of
    // a window `windowWidth` wide: ears of `topRadius` curving out of the top
    // edge into the sides, bottom corners of `bottomRadius`.
    static QPainterPath attachedOutline(qreal windowWidth, qreal width, qreal height, qreal topRadius,
                                        qreal bottomRadius)
    {
        const qreal l = (windowWidth - width) / 2, r = l + width, t = topRadius, b = bottomRadius;
        QPainterPath path({l, 0});
        path.quadTo({l + t, 0}, {l + t, t});
        path.lineTo({l + t, height - b});
        path.quadTo({l + t, height}, {l + t + b, height});
        path.lineTo({r - t - b, height});
        path.quadTo({r - t, height}, {r - t, height - b});
        path.lineTo({r - t, t});
        path.quadTo({r - t, 0}, {r, 0});
        path.closeSubpath();
        return path;
    }

    // Pixels outside `outline` darker than its shadow can make them: darker
    // than `shadowOpacity` of black within `reach` of the outline lowered by
    // `offsetY`, darker at all beyond (a pixel's width left to antialiasing).
    // Says where the first few are; empty when there are none.
    QString strayShadow(const QImage &image, const QPainterPath &outline, qreal reach, qreal offsetY,
                        qreal shadowOpacity) const
    {
        QPainterPathStroker stroker;
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setWidth(2);
        const QPainterPath edge = stroker.createStroke(outline);
        const QPainterPath lowered = outline.translated(0, offsetY);
        stroker.setWidth(2 * (reach + 1));
        const QPainterPath shade = stroker.createStroke(lowered);
        const int faint = m_desktopBlue - kDarker;
        const int shaded = int(m_desktopBlue * (1 - shadowOpacity)) - kDarker;
        QStringList strays;
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int blue = qBlue(image.pixel(x, y));
                const QPointF centre(x + 0.5, y + 0.5);
                if (blue >= faint || outline.contains(centre) || edge.contains(centre))
                    continue;
                if (blue >= shaded && (lowered.contains(centre) || shade.contains(centre)))
                    continue;
                if (++count <= 5)
                    strays << QStringLiteral("(%1, %2) #%3").arg(x).arg(y).arg(image.pixel(x, y) & 0xffffff, 6, 16,
                                                                            QLatin1Char('0'));
            }
        }
        return count == 0 ? QString() : QStringLiteral("%1 stray: %2").arg(count).arg(strays.join(QStringLiteral(", ")));
    }

private:
    static constexpr qreal kBody = 0.34;
    // The least darkening that counts.
    static constexpr int kDarker = 3;

    // Leftmost and rightmost pixel of a row covered at least `coverage`; {-1, -1} when none.
    std::pair<int, int> rowExtent(const QImage &image, int y, qreal coverage) const
    {
        const int threshold = int(m_desktopBlue * (1 - coverage));
        int left = -1, right = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (qBlue(image.pixel(x, y)) < threshold) {
                if (left < 0)
                    left = x;
                right = x;
            }
        }
        return {left, right};
    }
    static int widthOf(std::pair<int, int> extent) { return extent.first < 0 ? 0 : extent.second - extent.first + 1; }

    int m_desktopBlue;
};

} // namespace talvo::test
