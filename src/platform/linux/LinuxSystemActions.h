#pragma once

#include "platform/SystemActions.h"

#include <QDBusConnection>

namespace talvo {

// The desktop session's actions on Linux:
// - lock: logind's Lock of this session; where logind cannot be asked, the
//   freedesktop screen saver's Lock() on the session bus;
// - suspend: logind's Suspend, interactive, so that the desktop's policy decides;
// - dark mode: GNOME-family desktops' `color-scheme` setting through
//   gsettings; KDE Plasma's colour scheme through plasma-apply-colorscheme,
//   between Breeze Light and Breeze Dark; elsewhere a clear error;
// - empty trash: TrashEmptier for the current user.
//
// Blocking, bounded in time; any thread.
class LinuxSystemActions final : public SystemActions
{
public:
    struct Buses
    {
        QString system;  // connection names; empty: the default buses
        QString session;
    };

    LinuxSystemActions();
    // Tests point the calls at private buses, named connections opened by the caller.
    explicit LinuxSystemActions(Buses buses);

    PlatformResult<> lockScreen() override;
    PlatformResult<> suspend() override;
    PlatformResult<> toggleDarkMode() override;
    PlatformResult<> emptyTrash() override;

private:
    QDBusConnection systemBus() const;
    QDBusConnection sessionBus() const;

    Buses m_buses;
};

} // namespace talvo
