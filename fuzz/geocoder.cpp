// The reverse geocoder's reply.

#include "FuzzSupport.h"
#include "platform/linux/NominatimReverseGeocoder.h"

using namespace talvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HttpResponse response;
    response.outcome = HttpResponse::Outcome::Completed;
    response.statusCode = 200;
    response.body = fuzz::bytes(data, size);
    const ReverseGeocodeResult result = NominatimReverseGeocoder::interpret(response);
    FUZZ_CHECK(result.succeeded == result.errorDescription.isEmpty());
    FUZZ_CHECK(result.placemarks.size() <= 1);
    for (const Placemark &placemark : result.placemarks)
        FUZZ_CHECK(!placemark.locality.isEmpty() || !placemark.name.isEmpty());
    return 0;
}
