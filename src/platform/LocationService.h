#pragma once

#include "GeoCoordinate.h"

#include <QList>
#include <QObject>

namespace talvo {

// The machine's location service: one-shot position requests and the
// program's authorisation to use them.
//
// Authorisation states (authorizationStatus() and authorizationChanged()):
//   0 not determined (the program has not asked yet),
//   1 restricted (no location service on this machine, or a policy forbids it),
//   2 denied (the service or the user refused),
//   3 authorised.
// Callers treat any other value as not authorised.
//
// Main thread only. Signals are emitted on the main thread, never from inside
// the call that caused them, so a receiver may call back into the service.
class LocationService : public QObject
{
    Q_OBJECT
public:
    static constexpr int NotDetermined = 0;
    static constexpr int Restricted = 1;
    static constexpr int Denied = 2;
    static constexpr int Authorized = 3;

    using QObject::QObject;
    ~LocationService() override = default;

    virtual int authorizationStatus() const = 0;
    // Accuracy the program needs, in metres; a larger value lets the service
    // answer from coarser (cheaper, more private) sources.
    virtual void setDesiredAccuracy(double metres) = 0;
    // Asks for permission to locate while the program is in use; the answer
    // arrives through authorizationChanged() (nothing is emitted when the state
    // does not change).
    virtual void requestWhenInUseAuthorization() = 0;
    // Asks for one position. Exactly one of locationsUpdated() or failed()
    // follows, unless the service denies access, which is reported by
    // authorizationChanged(Denied) instead. A request made while another is
    // running is answered together with it.
    virtual void requestLocation() = 0;

signals:
    void authorizationChanged(int status);
    // Positions oldest first; the last is the most recent.
    void locationsUpdated(const QList<talvo::GeoCoordinate> &locations);
    void failed(const QString &description);
};

} // namespace talvo
