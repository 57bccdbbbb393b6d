#include "DisplayCheck.h"

#include <QByteArray>

#include <utility>

#include <xcb/xcb.h>

namespace talvo {

namespace {

// The probe's connection stays open until the program has its own: a bare X
// server (Xvfb) resets when its last client leaves, and a connection made
// during the reset fails.
xcb_connection_t *g_probe = nullptr;

bool isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

} // namespace

DisplayChoice chooseDisplay()
{
    DisplayChoice choice;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return choice; // the user's explicit choice (offscreen, for example)
    if (platform.isEmpty() && isWaylandSession())
        qputenv("QT_QPA_PLATFORM", "xcb");
    choice.throughXWayland = isWaylandSession();

    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        choice.error = QStringLiteral("no X display: DISPLAY is not set. Talvo needs an X11 session, "
                                      "or XWayland in a Wayland session.");
        return choice;
    }
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const int failure = xcb_connection_has_error(connection);
    if (failure != 0)
        xcb_disconnect(connection);
    else
        g_probe = connection;
    if (failure != 0)
        choice.error = QStringLiteral("cannot open the X display \"%1\" (error %2).")
                           .arg(QString::fromLocal8Bit(display))
                           .arg(failure);
    return choice;
}

void closeDisplayProbe()
{
    if (g_probe)
        xcb_disconnect(std::exchange(g_probe, nullptr));
}

bool runsThroughXWayland()
{
    return isWaylandSession() && qgetenv("QT_QPA_PLATFORM").startsWith("xcb");
}

QString xwaylandNotice()
{
    return QStringLiteral("Wayland session: running through XWayland. The notch opens on hover and click and "
                          "its shelf works, but file drags from native Wayland programs and the pointer over "
                          "native Wayland windows are not visible to it.");
}

} // namespace talvo
