#pragma once

#include <QObject>

namespace talvo {

// Moments at which the desktop may have disturbed the program's windows and
// input monitoring.
//
// All signals are delivered on the main thread.
class SystemEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // The machine resumed from sleep.
    void didWake();
    // Another workspace (virtual desktop) became current.
    void activeWorkspaceChanged();
    // The program became the active one.
    void applicationActivated();
    // Screens were added, removed, moved or resized, or the primary changed.
    void screenParametersChanged();
    // The user unlocked the session.
    void sessionUnlocked();
};

} // namespace talvo
