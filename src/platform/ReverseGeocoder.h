#pragma once

#include "GeoCoordinate.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace talvo {

// What a reverse-geocoding service knows about a place. Either text may be empty.
struct Placemark
{
    QString locality; // the city, town or village
    QString name;     // the place's own name (a street, a landmark, a region)
};

struct ReverseGeocodeResult
{
    bool succeeded = false;
    QList<Placemark> placemarks; // best match first; may be empty on success
    QString errorDescription;    // set when !succeeded
};

// Turns a position into place names.
//
// Main thread only. The callback runs once on the main thread, never from
// inside reverseGeocode(), and not at all if `context` has been destroyed by
// then or the geocoder is destroyed first.
class ReverseGeocoder
{
public:
    using Callback = std::function<void(const ReverseGeocodeResult &)>;
    virtual ~ReverseGeocoder() = default;
    virtual void reverseGeocode(const GeoCoordinate &position, const QObject *context, Callback done) = 0;
};

} // namespace talvo
