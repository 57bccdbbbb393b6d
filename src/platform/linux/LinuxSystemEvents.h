#pragma once

#include "platform/SystemEvents.h"

#include <QDBusObjectPath>

#include <xcb/xcb.h>

namespace talvo {

class XcbConnection;

// Desktop events on Linux: resume from logind's PrepareForSleep(false) on the
// system bus; session unlock from logind (the session's Unlock signal or its
// LockedHint going false) or a screensaver's ActiveChanged(false) on the
// session bus; screen changes from Qt; workspace changes from the root
// window's _NET_CURRENT_DESKTOP; activation from Qt's application state.
// A missing bus or service simply never signals.
class LinuxSystemEvents final : public SystemEvents
{
    Q_OBJECT
public:
    explicit LinuxSystemEvents(XcbConnection &connection, QObject *parent = nullptr);
    ~LinuxSystemEvents() override;

private slots:
    void onPrepareForSleep(bool starting);
    void onScreenSaverActiveChanged(bool active);
    void onSessionUnlock();
    void onSessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                    const QStringList &invalidated);

private:
    void watchLogindSession(const QDBusObjectPath &path);
    void watchScreens();

    XcbConnection &m_connection;
    int m_listener = 0;
    xcb_atom_t m_currentDesktop = XCB_NONE;
};

} // namespace talvo
