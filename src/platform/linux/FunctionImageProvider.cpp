#include "FunctionImageProvider.h"

namespace talvo {

FunctionImageProvider::FunctionImageProvider(Render render)
    : QQuickImageProvider(QQuickImageProvider::Image), m_render(std::move(render))
{
}

QImage FunctionImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const QImage image = m_render(id, requestedSize);
    if (size)
        *size = image.size();
    return image;
}

} // namespace talvo
