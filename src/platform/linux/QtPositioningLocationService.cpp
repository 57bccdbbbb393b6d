#include "QtPositioningLocationService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGeoPositionInfoSource>

#include <memory>

namespace talvo {

namespace {

const QString kGeoClueService = QStringLiteral("org.freedesktop.GeoClue2");

QDBusPendingCall busNames(const QDBusConnection &bus, const QString &method)
{
    return bus.asyncCall(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("/org/freedesktop/DBus"),
                                                        QStringLiteral("org.freedesktop.DBus"), method));
}

// GeoClue is usually started on demand, so it counts when it is running or
// activatable. Both questions go to the bus daemon without blocking.
void probeGeoClue(std::function<void(bool)> answer)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        answer(false);
        return;
    }
    auto remaining = std::make_shared<int>(2);
    auto found = std::make_shared<bool>(false);
    for (const QString &method : {QStringLiteral("ListNames"), QStringLiteral("ListActivatableNames")}) {
        auto *watcher = new QDBusPendingCallWatcher(busNames(bus, method));
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [remaining, found, answer](QDBusPendingCallWatcher *self) {
                             const QDBusPendingReply<QStringList> reply = *self;
                             if (!reply.isError() && reply.value().contains(kGeoClueService))
                                 *found = true;
                             self->deleteLater();
                             if (--*remaining == 0)
                                 answer(*found);
                         });
    }
}

} // namespace

QtPositioningLocationService::QtPositioningLocationService(Scheduler &scheduler, Options options, QObject *parent)
    : LocationService(parent), m_scheduler(scheduler), m_options(std::move(options))
{
    if (!m_options.probeService)
        m_options.probeService = probeGeoClue;
    if (!m_options.createSource) {
        m_options.createSource = [desktopId = m_options.desktopId](QObject *owner) {
            return QGeoPositionInfoSource::createSource(QStringLiteral("geoclue2"),
                                                        {{QStringLiteral("desktopId"), desktopId}}, owner);
        };
    }
    if (m_options.grantedBefore)
        m_status = Authorized;
}

QtPositioningLocationService::~QtPositioningLocationService() = default;

void QtPositioningLocationService::setDesiredAccuracy(double metres)
{
    m_desiredAccuracy = metres;
    if (m_source) {
        // Qt Positioning only tells satellite fixes from the rest; anything
        // coarser than a street is served without satellites.
        m_source->setPreferredPositioningMethods(metres >= 100.0
                                                     ? QGeoPositionInfoSource::NonSatellitePositioningMethods
                                                     : QGeoPositionInfoSource::AllPositioningMethods);
    }
}

void QtPositioningLocationService::requestWhenInUseAuthorization()
{
    withSource([this](bool available) {
        if (!available) {
            setStatus(Restricted);
            return;
        }
        if (!m_requestRunning)
            startRequest();
    });
}

void QtPositioningLocationService::requestLocation()
{
    if (m_unclaimed && m_scheduler.monotonicMs() - m_unclaimedAtMs <= kFreshPositionMs) {
        deliverLater(*std::exchange(m_unclaimed, std::nullopt));
        return;
    }
    m_unclaimed.reset();
    m_positionWanted = true;
    withSource([this](bool available) {
        if (!available) {
            m_positionWanted = false;
            if (m_status != Restricted)
                setStatus(Restricted);
            else
                failLater(QStringLiteral("No location service on this machine"));
            return;
        }
        if (!m_requestRunning)
            startRequest();
    });
}

void QtPositioningLocationService::withSource(std::function<void(bool available)> then)
{
    if (m_source) {
        then(true);
        return;
    }
    m_waitingForSource.append(std::move(then));
    if (m_probing)
        return;
    m_probing = true;
    m_options.probeService([self = QPointer(this)](bool available) {
        if (QtPositioningLocationService *service = self.data())
            service->sourceProbed(available);
    });
}

void QtPositioningLocationService::sourceProbed(bool available)
{
    m_probing = false;
    if (available && !m_source) {
        m_source = m_options.createSource(this);
        if (m_source) {
            connect(m_source, &QGeoPositionInfoSource::positionUpdated, this,
                    &QtPositioningLocationService::positionUpdated);
            connect(m_source, &QGeoPositionInfoSource::errorOccurred, this,
                    [this](QGeoPositionInfoSource::Error error) { requestFailed(int(error)); });
            setDesiredAccuracy(m_desiredAccuracy);
        }
    }
    const bool ready = m_source != nullptr;
    for (const auto &waiting : std::exchange(m_waitingForSource, {}))
        waiting(ready);
}

void QtPositioningLocationService::startRequest()
{
    m_requestRunning = true;
    m_source->requestUpdate(int(m_options.requestTimeout.count()));
}

void QtPositioningLocationService::positionUpdated(const QGeoPositionInfo &info)
{
    if (!m_requestRunning)
        return; // a late update after a timeout; nobody is waiting for it
    m_requestRunning = false;
    if (!info.coordinate().isValid()) {
        requestFailed(int(QGeoPositionInfoSource::UnknownSourceError));
        return;
    }
    const GeoCoordinate position{info.coordinate().latitude(), info.coordinate().longitude()};
    if (std::exchange(m_positionWanted, false)) {
        deliverLater(position);
    } else {
        m_unclaimed = position;
        m_unclaimedAtMs = m_scheduler.monotonicMs();
    }
    if (m_status != Authorized)
        setStatus(Authorized);
}

void QtPositioningLocationService::requestFailed(int error)
{
    m_requestRunning = false;
    const bool wanted = std::exchange(m_positionWanted, false);
    if (error == QGeoPositionInfoSource::AccessError && m_status != Denied) {
        setStatus(Denied);
        return;
    }
    if (!wanted)
        return;
    switch (error) {
    case QGeoPositionInfoSource::AccessError:
        failLater(QStringLiteral("The location service refused access"));
        break;
    case QGeoPositionInfoSource::UpdateTimeoutError:
        failLater(QStringLiteral("No position within %1 ms").arg(m_options.requestTimeout.count()));
        break;
    default:
        failLater(QStringLiteral("The location service failed"));
        break;
    }
}

void QtPositioningLocationService::setStatus(int status)
{
    m_status = status;
    if (m_options.rememberGrant)
        m_options.rememberGrant(status == Authorized);
    m_scheduler.post(this, [this, status] { emit authorizationChanged(status); });
}

void QtPositioningLocationService::deliverLater(const GeoCoordinate &position)
{
    m_scheduler.post(this, [this, position] { emit locationsUpdated({position}); });
}

void QtPositioningLocationService::failLater(const QString &description)
{
    m_scheduler.post(this, [this, description] { emit failed(description); });
}

} // namespace talvo
