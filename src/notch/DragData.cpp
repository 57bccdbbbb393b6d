#include "DragData.h"

#include "platform/Log.h"

#include <QBuffer>
#include <QImageReader>
#include <QMimeData>

#include <algorithm>
#include <optional>

namespace talvo {

namespace {

// Plain text in the order of preference; X11 sources offer their text under
// these once Qt has named their atoms.
const QStringList &textFormats()
{
    static const QStringList formats{QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain")};
    return formats;
}

std::optional<QString> textOf(const DragData &data)
{
    const QStringList offered = data.formats();
    for (const QString &format : textFormats()) {
        if (!offered.contains(format))
            continue;
        QByteArray bytes = data.data(format);
        // Some X11 sources count the C string's terminator as data.
        while (bytes.endsWith('\0'))
            bytes.chop(1);
        return QString::fromUtf8(bytes);
    }
    return std::nullopt;
}

// One text that is exactly a local file URL, as some sources give a single file.
std::optional<QUrl> fileUrlInText(const DragData &data)
{
    const std::optional<QString> text = textOf(data);
    if (!text)
        return std::nullopt;
    const QUrl url(text->trimmed(), QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile() || url.toLocalFile().isEmpty())
        return std::nullopt;
    return url;
}

// The first image the drag carries, trying its image types in the source's
// order; all of them are the same picture in different encodings.
std::optional<QImage> imageOf(const DragData &data)
{
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    bool offered = false;
    for (const QString &format : data.formats()) {
        if (!format.startsWith(QLatin1String("image/")) || !readable.contains(format.toLatin1()))
            continue;
        offered = true;
        QByteArray bytes = data.data(format);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        QImage image = reader.read();
        if (!image.isNull())
            return image;
        qCWarning(lcNotch).noquote() << QStringLiteral("Unreadable %1 in the drop: %2")
                                            .arg(format, reader.errorString());
    }
    if (offered)
        qCWarning(lcNotch).noquote() << QStringLiteral("No readable image in the drop");
    return std::nullopt;
}

} // namespace

QList<QUrl> localFileUrls(const QByteArray &uriList)
{
    QList<QUrl> urls;
    // RFC 2483: one URI per line, CRLF (or LF from lax sources), '#' comments.
    for (QByteArray line : uriList.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url(QString::fromUtf8(line), QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
            urls.append(url);
    }
    return urls;
}

bool namesOnlyApplicationEntries(const QByteArray &uriList)
{
    const QList<QUrl> files = localFileUrls(uriList);
    const QList<QByteArray> lines = uriList.split('\n');
    const auto entries = std::count_if(lines.cbegin(), lines.cend(), [](const QByteArray &line) {
        const QByteArray entry = line.trimmed();
        return !entry.isEmpty() && !entry.startsWith('#');
    });
    return !files.isEmpty() && files.size() == entries
           && std::all_of(files.cbegin(), files.cend(),
                          [](const QUrl &url) { return url.path().endsWith(QLatin1String(".desktop")); });
}

QList<ShelfItem> shelfItemsOf(const DragData &data)
{
    QList<ShelfItem> items;
    const QString uriList = QStringLiteral("text/uri-list");
    if (const QList<QUrl> urls = data.hasFormat(uriList) ? localFileUrls(data.data(uriList)) : QList<QUrl>();
        !urls.isEmpty()) {
        for (const QUrl &url : urls)
            items.append(ShelfItem::makeFile(url));
    } else if (const std::optional<QUrl> url = fileUrlInText(data)) {
        items.append(ShelfItem::makeFile(*url));
    } else if (const std::optional<QImage> image = imageOf(data)) {
        items.append(ShelfItem::makeImage(*image));
    } else if (const std::optional<QString> text = textOf(data); text && !text->isEmpty()) {
        items.append(ShelfItem::makeText(*text));
    }
    return items;
}

QStringList MimeDragData::formats() const
{
    return m_mime.formats();
}

QByteArray MimeDragData::data(const QString &format) const
{
    return m_mime.data(format);
}

} // namespace talvo
