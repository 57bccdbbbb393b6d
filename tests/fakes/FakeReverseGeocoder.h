#pragma once

#include "platform/ReverseGeocoder.h"

#include <QPointer>

namespace talvo {

// A reverse geocoder that keeps every request until the test answers it, so a
// test decides what comes back and in which order.
class FakeReverseGeocoder final : public ReverseGeocoder
{
public:
    void reverseGeocode(const GeoCoordinate &position, const QObject *context, Callback done) override
    {
        requested.append(position);
        m_pending.append({QPointer<const QObject>(context), std::move(done)});
    }

    int pendingCount() const { return int(m_pending.size()); }
    // Answers the request at `index` (0: the oldest) unless its context is gone.
    void answer(const ReverseGeocodeResult &result, int index = 0)
    {
        Pending pending = m_pending.takeAt(index);
        if (pending.context)
            pending.done(result);
    }
    void answer(const QList<Placemark> &placemarks, int index = 0) { answer({true, placemarks, {}}, index); }

    QList<GeoCoordinate> requested;

private:
    struct Pending
    {
        QPointer<const QObject> context;
        Callback done;
    };
    QList<Pending> m_pending;
};

} // namespace talvo
