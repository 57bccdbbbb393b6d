#pragma once

#include "platform/ApplicationId.h"
#include "platform/LocationService.h"
#include "platform/Scheduler.h"

#include <QPointer>

#include <chrono>
#include <functional>
#include <optional>

class QGeoPositionInfo;
class QGeoPositionInfoSource;

namespace talvo {

// LocationService over Qt Positioning with its GeoClue2 backend.
//
// GeoClue has no "ask for permission" call: the desktop's agent asks the user
// (or applies a stored answer) when a program first wants a position. So the
// states are derived from what happens to position requests:
//   0 until the program asks (asking for access requests a position),
//   3 once a request succeeds,
//   2 when the service refuses a request,
//   1 when the machine has no location service (no GeoClue, no Qt plugin).
// A grant can be remembered across runs through Options, so a program that was
// allowed before starts authorised; a refusal is never carried over, so the
// user can be asked again in a later run.
//
// One position request runs at a time; requests made meanwhile share its answer.
class QtPositioningLocationService final : public LocationService
{
    Q_OBJECT
public:
    struct Options
    {
        // The desktop entry name (without ".desktop") GeoClue shows and authorises.
        QString desktopId = QString::fromLatin1(kApplicationId);
        // How long one position request may take before it counts as failed.
        std::chrono::milliseconds requestTimeout{30000};
        // Answers (later, on the main thread) whether a location service exists.
        // Default: GeoClue2 is running or can be started on the system bus.
        std::function<void(std::function<void(bool)>)> probeService;
        // Creates the position source; nullptr when none is installed.
        // Default: Qt's "geoclue2" plugin with the desktop id.
        std::function<QGeoPositionInfoSource *(QObject *parent)> createSource;
        // Whether a request succeeded in an earlier run, and where to note it now.
        bool grantedBefore = false;
        std::function<void(bool granted)> rememberGrant;
    };

    QtPositioningLocationService(Scheduler &scheduler, Options options, QObject *parent = nullptr);
    ~QtPositioningLocationService() override;

    int authorizationStatus() const override { return m_status; }
    void setDesiredAccuracy(double metres) override;
    void requestWhenInUseAuthorization() override;
    void requestLocation() override;

    // A position obtained while asking for access is handed to a location
    // request made this soon after (the program asks right after the grant).
    static constexpr qint64 kFreshPositionMs = 60000;

private:
    void withSource(std::function<void(bool available)> then);
    void sourceProbed(bool available);
    void startRequest();
    void positionUpdated(const QGeoPositionInfo &info);
    void requestFailed(int error);
    void setStatus(int status);
    void deliverLater(const GeoCoordinate &position);
    void failLater(const QString &description);

    Scheduler &m_scheduler;
    Options m_options;
    int m_status = NotDetermined;
    double m_desiredAccuracy = 1000.0;
    QGeoPositionInfoSource *m_source = nullptr; // child; created on first use
    bool m_probing = false;
    QList<std::function<void(bool)>> m_waitingForSource;
    bool m_requestRunning = false;
    bool m_positionWanted = false; // a requestLocation() waits for the running request
    std::optional<GeoCoordinate> m_unclaimed; // found while asking for access
    qint64 m_unclaimedAtMs = 0;
};

} // namespace talvo
