#pragma once

#include "ClipboardType.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QUuid>

#include <optional>

namespace talvo {

// One entry of the clipboard history. Entries are told apart by id alone:
// the same text copied twice (not in a row) gives two distinct entries.
struct ClipboardItem
{
    QUuid id;
    std::optional<QString> text;  // text, link and color entries; already trimmed
    // Image entries: the picture, or only its preview once a large picture
    // is packed (PNG) into `packedImage`.
    std::optional<QImage> image;
    ClipboardType type = ClipboardType::text;
    QDateTime timestamp;
    QByteArray packedImage;
    QSizeF imageSize; // the picture's own size in logical pixels

    friend bool operator==(const ClipboardItem &a, const ClipboardItem &b) { return a.id == b.id; }
};

} // namespace talvo
