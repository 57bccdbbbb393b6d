// The update feed: an RSS appcast from the network.

#include "FuzzSupport.h"
#include "app/Appcast.h"

using namespace talvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const auto items = parseAppcast(fuzz::bytes(data, size), &error);
    if (!items) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    const auto newest = newestItem(*items);
    FUZZ_CHECK(newest.has_value() == !items->isEmpty());
    for (const AppcastItem &item : *items) {
        FUZZ_CHECK(!item.version.isEmpty());
        FUZZ_CHECK(item.pageUrl.isEmpty() || item.pageUrl.scheme() == u"https" || item.pageUrl.scheme() == u"http");
        FUZZ_CHECK(compareVersions(item.version, newest->version) <= 0);
        FUZZ_CHECK(compareVersions(item.version, item.version) == 0);
        FUZZ_CHECK(compareVersions(item.version, newest->version) == -compareVersions(newest->version, item.version));
    }
    return 0;
}
