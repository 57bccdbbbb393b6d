#pragma once

#include "platform/ColorSampler.h"

#include <QObject>
#include <QPointer>
#include <QVariantMap>

namespace talvo {

class X11ColorSamplerOverlay;

// Picks a pixel through the desktop portal's colour picker
// (org.freedesktop.portal.Screenshot.PickColor) where a portal answers; when
// none does, or it cannot pick, through an overlay of our own over the screen
// under the pointer: it takes the pointer and the keyboard, shows a magnified
// view around the pointer, picks the pixel under a left click and cancels on
// Escape or a right click.
class ScreenColorSampler final : public QObject, public ColorSampler
{
    Q_OBJECT
public:
    explicit ScreenColorSampler(QObject *parent = nullptr);
    ~ScreenColorSampler() override;

    void sample(Done done) override;

private slots:
    void portalResponded(uint response, const QVariantMap &results);

private:
    void askPortal();
    void followRequest(const QString &path, bool follow);
    void sampleOwn();
    void finish(std::optional<QColor> color);

    Done m_done;
    QString m_requestPath;
    QPointer<X11ColorSamplerOverlay> m_overlay;
};

} // namespace talvo
