#pragma once

#include "ClipboardType.h"

#include <QDateTime>
#include <QImage>
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
    std::optional<QImage> image;  // image entries
    ClipboardType type = ClipboardType::text;
    QDateTime timestamp;

    friend bool operator==(const ClipboardItem &a, const ClipboardItem &b) { return a.id == b.id; }
};

} // namespace talvo
