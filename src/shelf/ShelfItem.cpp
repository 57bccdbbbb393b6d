#include "ShelfItem.h"

#include "platform/ContentTypes.h"

#include <QFileInfo>
#include <QTextBoundaryFinder>

namespace talvo {

ShelfItem ShelfItem::makeFile(const QUrl &url, const ShelfImage &image)
{
    return ShelfItem{QUuid::createUuid(), url, std::nullopt, image, ItemType::File};
}

ShelfItem ShelfItem::makeText(const QString &text)
{
    return ShelfItem{QUuid::createUuid(), QUrl(), text, ShelfImage(), ItemType::Text};
}

ShelfItem ShelfItem::makeImage(const QImage &image)
{
    return ShelfItem{QUuid::createUuid(), QUrl(), std::nullopt, ShelfImage::fromImage(image), ItemType::Image};
}

ShelfImage ShelfItem::displayIcon(const ContentTypes &contentTypes) const
{
    if (!image.isNull())
        return image;
    if (!url.isEmpty()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).isDir())
            return ShelfImage::themeIcon(contentTypes.folderIconName());
        return ShelfImage::themeIcon(contentTypes.iconNameForExtension(lowerCaseExtension(lastPathComponent(url))));
    }
    switch (type) {
    case ItemType::Text:
        return ShelfImage::symbol(QStringLiteral("doc.text.fill"));
    case ItemType::Image:
        return ShelfImage::symbol(QStringLiteral("photo.fill"));
    case ItemType::File:
        break;
    }
    return ShelfImage::themeIcon(contentTypes.genericDataIconName());
}

QString ShelfItem::displayTitle() const
{
    if (!url.isEmpty())
        return lastPathComponent(url);
    if (text)
        return leadingGraphemes(*text, kTitleTextLength);
    return QStringLiteral("Image");
}

QString lastPathComponent(const QUrl &url)
{
    // A folder dropped as "file:///home/u/Music/" is still called "Music".
    QString path = url.path();
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 || path.size() == 1 ? path : path.mid(slash + 1);
}

QString lowerCaseExtension(const QString &fileName)
{
    // A leading dot marks a hidden file, not an extension.
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return {};
    return fileName.mid(dot + 1).toLower();
}

QString leadingGraphemes(const QString &text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int taken = 0; taken < count; ++taken) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

} // namespace talvo
