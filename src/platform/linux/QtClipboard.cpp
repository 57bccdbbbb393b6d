#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace talvo {

QtClipboard::QtClipboard(QClipboard *clipboard, QObject *parent)
    : QObject(parent)
    , m_clipboard(clipboard ? clipboard : QGuiApplication::clipboard())
{
    connect(m_clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            ++m_changeCount;
    });
}

QImage QtClipboard::image() const
{
    const QMimeData *data = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasImage())
        return {};
    return qvariant_cast<QImage>(data->imageData());
}

std::optional<QString> QtClipboard::string() const
{
    const QMimeData *data = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text();
}

bool QtClipboard::isConcealed() const
{
    const QMimeData *data = m_clipboard->mimeData(QClipboard::Clipboard);
    const QString hint = QStringLiteral("x-kde-passwordManagerHint");
    return data && data->hasFormat(hint) && data->data(hint) == "secret";
}

void QtClipboard::setString(const QString &text)
{
    m_clipboard->setText(text, QClipboard::Clipboard);
}

void QtClipboard::setImage(const QImage &image)
{
    m_clipboard->setImage(image, QClipboard::Clipboard);
}

} // namespace talvo
