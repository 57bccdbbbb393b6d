// Pictures from other programs: a player's artwork and an image dropped on
// the notch, each decoded within its bounds.

#include "FuzzSupport.h"
#include "DroppedItems.h"
#include "fakes/FakeDragData.h"
#include "sources/ArtworkImage.h"

using namespace talvo;

void talvo::fuzz::setUp()
{
    startGuiApplication();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QImage artwork = ArtworkImage::decode(bytes);
    FUZZ_CHECK(artwork.width() <= ArtworkImage::kMaxSide && artwork.height() <= ArtworkImage::kMaxSide);

    // The same bytes dropped under the type a source would name them by.
    static const char *const types[] = {"image/png", "image/jpeg", "image/gif", "image/bmp", "image/svg+xml",
                                        "image/x-portable-pixmap", "image/webp", "image/tiff"};
    FakeDragData drag;
    drag.entries.append({QString::fromLatin1(types[size % std::size(types)]), bytes});
    const QList<ShelfItem> items = shelfItemsOf(drag);
    FUZZ_CHECK(items.size() <= 1);
    fuzz::checkDroppedItems(items);
    return 0;
}
