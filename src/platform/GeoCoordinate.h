#pragma once

#include <QMetaType>

namespace talvo {

// A position on the earth in degrees (WGS 84): latitude north positive,
// longitude east positive.
struct GeoCoordinate
{
    double latitude = 0.0;
    double longitude = 0.0;

    friend bool operator==(const GeoCoordinate &, const GeoCoordinate &) = default;
};

} // namespace talvo

Q_DECLARE_METATYPE(talvo::GeoCoordinate)
