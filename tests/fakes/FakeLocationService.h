#pragma once

#include "platform/LocationService.h"

namespace talvo {

// A location service driven by the test: it records what the program asks for
// and emits only what the test plays (changeAuthorization, deliver, fail).
class FakeLocationService final : public LocationService
{
    Q_OBJECT
public:
    explicit FakeLocationService(int status = NotDetermined) : m_status(status) {}

    int authorizationStatus() const override { return m_status; }
    void setDesiredAccuracy(double metres) override { desiredAccuracy = metres; }
    void requestWhenInUseAuthorization() override { ++authorizationRequests; }
    void requestLocation() override { ++locationRequests; }

    // Sets the state without telling anyone (an answer given in an earlier run).
    void setStatus(int status) { m_status = status; }
    void changeAuthorization(int status)
    {
        m_status = status;
        emit authorizationChanged(status);
    }
    void deliver(const QList<GeoCoordinate> &locations) { emit locationsUpdated(locations); }
    void fail(const QString &description = QStringLiteral("no position")) { emit failed(description); }

    double desiredAccuracy = -1.0;
    int authorizationRequests = 0;
    int locationRequests = 0;

private:
    int m_status;
};

} // namespace talvo
