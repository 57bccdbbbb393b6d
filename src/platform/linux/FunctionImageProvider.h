#pragma once

#include <QQuickImageProvider>

#include <functional>

namespace talvo {

// Images for QML `image://<provider>/<id>` sources, drawn by a function of the
// id and the requested size (invalid: the natural size). The function runs on
// the main thread: views must not load these images asynchronously.
class FunctionImageProvider final : public QQuickImageProvider
{
public:
    using Render = std::function<QImage(const QString &id, QSize requestedSize)>;

    explicit FunctionImageProvider(Render render);
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    Render m_render;
};

} // namespace talvo
