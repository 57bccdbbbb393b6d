// What other programs offer in a drag: the type list, the URL list, text,
// and images, read the way a drop onto the notch reads them.

#include "FuzzSupport.h"
#include "DroppedItems.h"
#include "fakes/FakeDragData.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace talvo;

void talvo::fuzz::setUp()
{
    startGuiApplication();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const knownFormats[] = {
        "text/uri-list", "text/plain", "text/plain;charset=utf-8", "image/png", "image/jpeg", "image/gif",
        "image/bmp", "image/x-portable-pixmap", "text/x-moz-url", "application/x-kde-cutselection",
        "x-special/gnome-copied-files"};
    FuzzedDataProvider input(data, size);
    FakeDragData drag;
    while (input.remaining_bytes() > 0) {
        const QString format = input.ConsumeBool()
                                   ? QString::fromLatin1(input.PickValueInArray(knownFormats))
                                   : QString::fromStdString(input.ConsumeRandomLengthString(40));
        const std::string bytes = input.ConsumeRandomLengthString(4096);
        drag.entries.append({format, QByteArray(bytes.data(), qsizetype(bytes.size()))});
    }

    const QList<QUrl> urls = localFileUrls(drag.data(QStringLiteral("text/uri-list")));
    for (const QUrl &url : urls)
        FUZZ_CHECK(url.isLocalFile());
    const QList<ShelfItem> items = shelfItemsOf(drag);
    fuzz::checkDroppedItems(items);
    if (!urls.isEmpty())
        FUZZ_CHECK(items.size() == urls.size());
    return 0;
}
