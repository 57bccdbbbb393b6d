#pragma once

#include <QString>

namespace talvo {

// How the program reaches a display, decided before the GUI starts.
struct DisplayChoice
{
    // A Wayland session, reached through its X server (XWayland).
    bool throughXWayland = false;
    // Set when no X display can be reached: the program cannot run.
    QString error;
};

// Picks Qt's X11 platform in a Wayland session (unless the user chose a
// platform) and checks that the X display answers. Reads and may set the
// environment: call before the application object exists.
DisplayChoice chooseDisplay();
// Closes the connection chooseDisplay() kept open; call once the application
// object has connected.
void closeDisplayProbe();
// True when the session is a Wayland one and Qt runs on its X server.
bool runsThroughXWayland();
// The one line that tells a Wayland user what works there.
QString xwaylandNotice();

} // namespace talvo
