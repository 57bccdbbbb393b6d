#pragma once

#include <QString>

#include <optional>

namespace talvo {

// What a shelf entry holds. The raw values are the texts QML and drag payloads
// use to name the kind.
enum class ItemType { File, Text, Image };

QString rawValue(ItemType type);
// Exact match only: "File" or " file" name no kind.
std::optional<ItemType> itemTypeFromRawValue(const QString &raw);

} // namespace talvo
