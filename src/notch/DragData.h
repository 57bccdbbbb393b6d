#pragma once

#include "shelf/ShelfItem.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QUrl>

class QMimeData;

namespace talvo {

// What a drag carries, as a drop target reads it: MIME types in the source's
// order and the bytes behind each. Reading may ask the source program for the
// data, so readers fetch only the formats they use.
class DragData
{
public:
    virtual ~DragData() = default;
    virtual QStringList formats() const = 0;
    // Empty when the format is not offered or the source sends nothing.
    virtual QByteArray data(const QString &format) const = 0;
    bool hasFormat(const QString &format) const { return formats().contains(format); }
};

// The local file URLs of a URL list (text/uri-list), in order; web addresses
// and comments are left out.
QList<QUrl> localFileUrls(const QByteArray &uriList);
// Whether a URL list names application entries (local .desktop files) and
// nothing else.
bool namesOnlyApplicationEntries(const QByteArray &uriList);

// What a drop adds to the shelf. Exactly one kind is taken, the first one
// found of: file URLs (local files and folders), a file URL given as text, an
// image, text; one item per thing of that kind, in the drag's order. File
// items come without a picture.
QList<ShelfItem> shelfItemsOf(const DragData &data);

// The drag data of a Qt drag event.
class MimeDragData final : public DragData
{
public:
    explicit MimeDragData(const QMimeData &mime) : m_mime(mime) {}
    QStringList formats() const override;
    QByteArray data(const QString &format) const override;

private:
    const QMimeData &m_mime;
};

} // namespace talvo
