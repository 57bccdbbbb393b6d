#pragma once

#include "notch/DragData.h"

namespace talvo::fuzz {

// Every item a drop made is whole: a file has a local URL, a text is text,
// an image has pixels; the shelf shows each with a title.
void checkDroppedItems(const QList<ShelfItem> &items);

} // namespace talvo::fuzz
