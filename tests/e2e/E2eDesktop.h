#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QJsonObject>

#include <functional>
#include <initializer_list>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QRectF>
#include <QVariant>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <memory>
#include <optional>
#include <vector>

namespace talvo::e2e {

// A private desktop for whole-program tests and benchmarks: its own X server
// (Xvfb) with an optional compositing manager, its own session bus, a
// full-screen window of one colour at the bottom, and XTest to drive the
// pointer. Everything it starts stops with it.
class E2eDesktop
{
public:
    static constexpr QRgb kBackground = 0xff3070c0;

    struct Monitor
    {
        QString name;
        QRect geometry;
    };

    struct Options
    {
        QSize screen{1920, 1080};
        bool compositor = false;
        // The full-screen window below everything (e2e_window), and its colour.
        QString backgroundProgram;
        QRgb background = kBackground;
        // Qt Quick's scene graph for programs run here; empty: Qt's default
        // (OpenGL, on this machine's software rasteriser).
        QString quickBackend = QStringLiteral("software");
        // RandR monitors splitting the screen (xrandr --setmonitor), the first
        // the primary; empty: the whole screen is one monitor.
        QList<Monitor> monitors = {};
    };

    explicit E2eDesktop(Options options);
    ~E2eDesktop();
    E2eDesktop(const E2eDesktop &) = delete;
    E2eDesktop &operator=(const E2eDesktop &) = delete;

    // Starts everything; false (with the reason in error()) on failure.
    bool start();
    QString error() const { return m_error; }

    QString display() const { return m_display; }
    QString busAddress() const { return m_busAddress; }
    // For programs run on this desktop: its display and bus, a temporary home.
    QProcessEnvironment environment() const;
    // A variable for the programs started from now on (a test's own service).
    void setEnvironmentValue(const QString &name, const QString &value) { m_extraEnvironment.insert(name, value); }
    QDBusConnection bus() const;
    // A value published by Talvo's control interface; invalid when unreachable.
    QVariant controlProperty(const QString &name) const;
    // Calls a method of Talvo's control interface without arguments; false when it fails.
    bool callControl(const QString &method) const;
    // The published outline; empty when unreachable.
    QRectF notchRect() const;
    // Opens the panel as a user would, from `away` onto the hot zone and a
    // click there, until the control interface reports it; false after 6 s.
    bool openPanel(QPoint away, QPoint hotZone);
    // The CPU time a process has had, its threads' summed, in seconds (the
    // scheduler's nanoseconds: /proc/<pid>/stat's 10 ms ticks are too coarse
    // for a program that runs a few milliseconds a second).
    static double cpuSeconds(qint64 pid);

    // Starts a program on this desktop; it is killed when the desktop stops.
    // Its error output is dropped, or with MergedChannels read with its output.
    QProcess *startProgram(const QString &program, const QStringList &arguments,
                           QProcess::ProcessChannelMode channels = QProcess::SeparateChannels);
    // Stops every program started from `program` that still runs (drag
    // sources outlive their drag); a long run would otherwise pile them up.
    void stopProgramsOf(const QString &program);
    // Runs a program on this desktop to its end; true when it exits with 0.
    bool run(const QString &program, const QStringList &arguments, int timeoutMs = 10000) const;
    // Waits until the program prints `line` on its standard output.
    static bool waitForLine(QProcess *process, const QString &line, int timeoutMs = 10000);

    // Adds a RandR monitor, as plugging one in would; the primary one takes
    // over from the last. `output` names the server's output it shows (none:
    // a monitor of its own). False when xrandr refuses, as it does for a name
    // in use: remove that monitor first.
    bool setMonitor(const Monitor &monitor, bool primary = false, const QString &output = {});
    // Removes a RandR monitor, as unplugging it would.
    bool removeMonitor(const QString &name);

    bool startCompositor();
    void stopCompositor();
    bool isCompositing();

    // Pointer through XTest: as a real device would, with motion events.
    void movePointer(QPoint position);
    void pressButton(int button);
    void releaseButton(int button);
    void click(QPoint position, int button = 1);
    // Holds or lets go of a key, named by its X keysym (0xffe1: left Shift).
    void pressKey(quint32 keysym);
    void releaseKey(quint32 keysym);
    // Moves the pointer without generating any input event.
    void warpPointer(QPoint position);
    // Moves in `steps` equal steps, `stepMs` apart, from where the pointer is.
    void glidePointer(QPoint from, QPoint to, int steps, int stepMs);

    // Starts `sourceProgram` (the drag-source helper) offering `offer` in a
    // window at (100, 500, 200, 200), drags from `press` to `to`, waits there
    // until `arrived` holds and drops. False (with the reason in error()) when
    // a step did not happen.
    bool dragFromSource(const QString &sourceProgram, const QStringList &offer, QPoint press, QPoint to,
                        const std::function<bool()> &arrived);

    // What is on screen in `rect`, as composed.
    QImage grab(const QRect &rect);
    // The same, also kept as `name`.png in the build's e2e-screens folder for
    // a person to look at.
    QImage shoot(const QRect &rect, const QString &name);
    // Waits until the server has handled every request sent so far.
    void sync();
    xcb_connection_t *x() const { return m_x; }
    // The first mapped top-level window whose WM_NAME is `title`, or none.
    xcb_window_t findWindow(const QByteArray &title);
    // Where a window's top left lies on the screen; none for a window that has gone.
    std::optional<QPoint> windowOrigin(xcb_window_t window);
    // Talvo's stored preferences in this desktop's home; empty when unreadable.
    QJsonObject storedPreferences() const;
    // The full-screen window at the bottom, reporting presses on its output.
    QProcess *background() const { return m_background; }
    // Kills the X server at once, as a crash would; nothing here draws or
    // drives the pointer afterwards.
    void killXServer();

private:
    xcb_keycode_t keycodeOf(quint32 keysym);
    bool startXServer();
    bool startBus();

    Options m_options;
    QString m_error;
    QTemporaryDir m_home;
    QProcessEnvironment m_extraEnvironment;
    QProcess m_xserver;
    QProcess m_busDaemon;
    std::unique_ptr<QProcess> m_compositor;
    std::vector<std::unique_ptr<QProcess>> m_programs;
    QProcess *m_background = nullptr;
    QString m_display;
    QString m_busAddress;
    QString m_busName;
    xcb_connection_t *m_x = nullptr;
    xcb_window_t m_root = XCB_NONE;
};

// The first of `tools` (programs) that is not installed; empty when all are.
QString missingTool(std::initializer_list<const char *> tools);

// Skips the test when one of the programs it needs is not installed.
#define E2E_REQUIRE_TOOLS(...)                                                                                 \
    do {                                                                                                       \
        if (const QString missing = talvo::e2e::missingTool({__VA_ARGS__}); !missing.isEmpty())                \
            QSKIP(qPrintable(missing + QStringLiteral(" is not installed")));                                 \
    } while (false)

// The rectangles of a window's shape of `kind` (XCB_SHAPE_SK_BOUNDING,
// XCB_SHAPE_SK_INPUT), in window coordinates.
QList<QRect> shapeRectangles(xcb_connection_t *connection, xcb_window_t window, int kind);

} // namespace talvo::e2e
