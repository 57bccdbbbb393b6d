#pragma once

#include <QString>

namespace talvo {

// The kind of a clipboard history entry. Views receive the raw value.
enum class ClipboardType { text, link, image, color };

inline QString rawValue(ClipboardType type)
{
    switch (type) {
    case ClipboardType::text:
        return QStringLiteral("text");
    case ClipboardType::link:
        return QStringLiteral("link");
    case ClipboardType::image:
        return QStringLiteral("image");
    case ClipboardType::color:
        return QStringLiteral("color");
    }
    return QStringLiteral("text");
}

} // namespace talvo
