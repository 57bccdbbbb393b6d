#include "LinuxSystemEvents.h"

#include "XcbConnection.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QScreen>

#include <unistd.h>

namespace talvo {

namespace {

const QString kLogin1 = QStringLiteral("org.freedesktop.login1");
const QString kLogin1Path = QStringLiteral("/org/freedesktop/login1");
const QString kLogin1Manager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kLogin1Session = QStringLiteral("org.freedesktop.login1.Session");

} // namespace

LinuxSystemEvents::LinuxSystemEvents(XcbConnection &connection, QObject *parent)
    : SystemEvents(parent), m_connection(connection)
{
    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected()) {
        system.connect(kLogin1, kLogin1Path, kLogin1Manager, QStringLiteral("PrepareForSleep"), this,
                       SLOT(onPrepareForSleep(bool)));
        QDBusMessage call = QDBusMessage::createMethodCall(kLogin1, kLogin1Path, kLogin1Manager,
                                                           QStringLiteral("GetSessionByPID"));
        call << quint32(::getpid());
        auto *watcher = new QDBusPendingCallWatcher(system.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            QDBusPendingReply<QDBusObjectPath> reply = *w;
            if (reply.isValid())
                watchLogindSession(reply.value());
            w->deleteLater();
        });
    }
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        for (const QString &interface : {QStringLiteral("org.freedesktop.ScreenSaver"),
                                         QStringLiteral("org.gnome.ScreenSaver")}) {
            session.connect(QString(), QString(), interface, QStringLiteral("ActiveChanged"), this,
                            SLOT(onScreenSaverActiveChanged(bool)));
        }
    }

    watchScreens();
    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                emit applicationActivated();
        });
    }

    if (m_connection.isValid()) {
        m_currentDesktop = m_connection.atom("_NET_CURRENT_DESKTOP");
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection.get(), m_connection.root(), XCB_CW_EVENT_MASK, &mask);
        m_connection.flush();
        m_listener = m_connection.addListener([this](const xcb_generic_event_t &event) {
            if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                return;
            const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
            if (notify.window == m_connection.root() && notify.atom == m_currentDesktop)
                emit activeWorkspaceChanged();
        });
    }
}

LinuxSystemEvents::~LinuxSystemEvents()
{
    if (m_listener)
        m_connection.removeListener(m_listener);
}

void LinuxSystemEvents::watchScreens()
{
    if (!qGuiApp)
        return;
    auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &SystemEvents::screenParametersChanged);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen *screen) {
        watch(screen);
        emit screenParametersChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &SystemEvents::screenParametersChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &SystemEvents::screenParametersChanged);
}

void LinuxSystemEvents::watchLogindSession(const QDBusObjectPath &path)
{
    QDBusConnection system = QDBusConnection::systemBus();
    system.connect(kLogin1, path.path(), kLogin1Session, QStringLiteral("Unlock"), this, SLOT(onSessionUnlock()));
    system.connect(kLogin1, path.path(), QStringLiteral("org.freedesktop.DBus.Properties"),
                   QStringLiteral("PropertiesChanged"), this,
                   SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)));
}

void LinuxSystemEvents::onPrepareForSleep(bool starting)
{
    if (!starting)
        emit didWake();
}

void LinuxSystemEvents::onScreenSaverActiveChanged(bool active)
{
    if (!active)
        emit sessionUnlocked();
}

void LinuxSystemEvents::onSessionUnlock()
{
    emit sessionUnlocked();
}

void LinuxSystemEvents::onSessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                                   const QStringList &)
{
    const auto locked = changed.constFind(QStringLiteral("LockedHint"));
    if (interface == kLogin1Session && locked != changed.cend() && !locked->toBool())
        emit sessionUnlocked();
}

} // namespace talvo
