#include "FuzzSupport.h"
#include "DroppedItems.h"

namespace talvo::fuzz {

void checkDroppedItems(const QList<ShelfItem> &items)
{
    for (const ShelfItem &item : items) {
        switch (item.type) {
        case ItemType::File:
            FUZZ_CHECK(item.url.isLocalFile() && !item.url.toLocalFile().isEmpty());
            break;
        case ItemType::Text:
            FUZZ_CHECK(item.text.has_value() && !item.text->isEmpty());
            break;
        case ItemType::Image:
            FUZZ_CHECK(!item.image.image().isNull());
            break;
        }
        item.displayTitle();
        item.summary();
    }
}

} // namespace talvo::fuzz
