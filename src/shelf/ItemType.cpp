#include "ItemType.h"

namespace talvo {

QString rawValue(ItemType type)
{
    switch (type) {
    case ItemType::File:
        return QStringLiteral("file");
    case ItemType::Text:
        return QStringLiteral("text");
    case ItemType::Image:
        return QStringLiteral("image");
    }
    return {};
}

std::optional<ItemType> itemTypeFromRawValue(const QString &raw)
{
    for (ItemType type : {ItemType::File, ItemType::Text, ItemType::Image}) {
        if (rawValue(type) == raw)
            return type;
    }
    return std::nullopt;
}

} // namespace talvo
