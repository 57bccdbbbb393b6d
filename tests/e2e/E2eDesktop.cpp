#include "E2eDesktop.h"

#include <QTest>

#include <QColor>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

#include <xcb/shape.h>
#include <xcb/xtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace talvo::e2e {

namespace {

template <typename T>
struct Reply
{
    explicit Reply(T *reply) : value(reply) {}
    ~Reply() { std::free(value); }
    Reply(const Reply &) = delete;
    Reply &operator=(const Reply &) = delete;
    T *operator->() const { return value; }
    explicit operator bool() const { return value != nullptr; }
    T *value;
};

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

E2eDesktop::E2eDesktop(Options options) : m_options(std::move(options)) {}

E2eDesktop::~E2eDesktop()
{
    for (auto &program : m_programs)
        stop(*program);
    m_programs.clear();
    stopCompositor();
    if (m_x)
        xcb_disconnect(m_x);
    if (!m_busName.isEmpty())
        QDBusConnection::disconnectFromBus(m_busName);
    stop(m_busDaemon);
    stop(m_xserver);
}

bool E2eDesktop::start()
{
    if (!m_home.isValid()) {
        m_error = QStringLiteral("no temporary directory");
        return false;
    }
    if (!startXServer() || !startBus())
        return false;
    for (qsizetype i = 0; i < m_options.monitors.size(); ++i) {
        // Xvfb's one output, "screen", goes to the first: else it keeps a
        // monitor of its own over the whole screen.
        if (!setMonitor(m_options.monitors[i], i == 0, i == 0 ? QStringLiteral("screen") : QString())) {
            m_error = QStringLiteral("xrandr did not set up monitor ") + m_options.monitors[i].name;
            return false;
        }
    }
    if (m_options.compositor && !startCompositor())
        return false;
    if (!m_options.backgroundProgram.isEmpty()) {
        m_background =
            startProgram(m_options.backgroundProgram,
                         {QStringLiteral("0"), QStringLiteral("0"), QString::number(m_options.screen.width()),
                          QString::number(m_options.screen.height()), QColor(m_options.background).name()});
        if (!waitForLine(m_background, QStringLiteral("ready"))) {
            m_error = QStringLiteral("the background window did not show");
            return false;
        }
    }
    return true;
}

bool E2eDesktop::startXServer()
{
    // Xvfb picks a free display itself and writes its number to this pipe.
    int fds[2];
    if (::pipe(fds) != 0) {
        m_error = QStringLiteral("pipe failed");
        return false;
    }
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const QString size = QStringLiteral("%1x%2x24").arg(m_options.screen.width()).arg(m_options.screen.height());
    m_xserver.setStandardOutputFile(QProcess::nullDevice());
    m_xserver.setStandardErrorFile(QProcess::nullDevice());
    m_xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QString::number(fds[1]),
                                             QStringLiteral("-screen"), QStringLiteral("0"), size,
                                             QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ::close(fds[1]);
    QByteArray number;
    const QDeadlineTimer deadline(10000);
    while (!number.endsWith('\n') && !deadline.hasExpired()) {
        pollfd pfd{fds[0], POLLIN, 0};
        if (::poll(&pfd, 1, int(deadline.remainingTime())) <= 0)
            break;
        char c = 0;
        if (::read(fds[0], &c, 1) != 1)
            break;
        number.append(c);
    }
    ::close(fds[0]);
    if (!number.endsWith('\n')) {
        m_error = QStringLiteral("Xvfb did not start");
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    m_x = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_x)) {
        m_error = QStringLiteral("cannot connect to ") + m_display;
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_x)).data->root;
    return true;
}

bool E2eDesktop::startBus()
{
    m_busDaemon.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    const QDeadlineTimer deadline(10000);
    while (!m_busDaemon.canReadLine() && !deadline.hasExpired())
        m_busDaemon.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    m_busAddress = QString::fromUtf8(m_busDaemon.readLine()).trimmed();
    if (m_busAddress.isEmpty()) {
        m_error = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    m_busName = QStringLiteral("e2e-") + QUuid::createUuid().toString(QUuid::Id128);
    if (!QDBusConnection::connectToBus(m_busAddress, m_busName).isConnected()) {
        m_error = QStringLiteral("cannot connect to the test bus");
        return false;
    }
    return true;
}

QVariant E2eDesktop::controlProperty(const QString &name) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("com.talvo.Talvo"), QStringLiteral("/com/talvo/Talvo"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("com.talvo.Talvo") << name;
    const QDBusMessage reply = bus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant value = reply.arguments().first().value<QDBusVariant>().variant();
    if (value.canConvert<QDBusArgument>())
        return QVariant::fromValue(qdbus_cast<QList<double>>(value.value<QDBusArgument>()));
    return value;
}

bool E2eDesktop::callControl(const QString &method) const
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("com.talvo.Talvo"), QStringLiteral("/com/talvo/Talvo"), QStringLiteral("com.talvo.Talvo"), method);
    return bus().call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}

QRectF E2eDesktop::notchRect() const
{
    const QList<double> r = controlProperty(QStringLiteral("notchRect")).value<QList<double>>();
    return r.size() == 4 ? QRectF(r[0], r[1], r[2], r[3]) : QRectF();
}

QDBusConnection E2eDesktop::bus() const
{
    return QDBusConnection(m_busName);
}

QProcessEnvironment E2eDesktop::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (m_options.quickBackend.isEmpty())
        env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    else
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), m_options.quickBackend);
    env.remove(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"));
    // Web services and the sound server point nowhere: nothing leaves this machine.
    for (const char *variable : {"TALVO_FORECAST_URL", "TALVO_GEOCODER_URL", "TALVO_UPDATE_FEED_URL"})
        env.insert(QString::fromLatin1(variable), QStringLiteral("http://127.0.0.1:9"));
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + m_home.filePath(QStringLiteral("no-pulse")));
    env.insert(m_extraEnvironment);
    return env;
}

bool E2eDesktop::openPanel(QPoint away, QPoint hotZone)
{
    movePointer(away);
    return QTest::qWaitFor(
        [&] {
            glidePointer(away, hotZone, 6, 10);
            click(hotZone);
            return QTest::qWaitFor([this] { return controlProperty(QStringLiteral("panelPresent")).toBool(); }, 1000);
        },
        6000);
}

double E2eDesktop::cpuSeconds(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    qint64 nanoseconds = 0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (file.open(QIODevice::ReadOnly))
            nanoseconds += file.readAll().split(' ').value(0).toLongLong();
    }
    return double(nanoseconds) / 1e9;
}

QProcess *E2eDesktop::startProgram(const QString &program, const QStringList &arguments,
                                   QProcess::ProcessChannelMode channels)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setProcessChannelMode(channels);
    if (channels != QProcess::MergedChannels)
        process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, arguments);
    process->waitForStarted();
    m_programs.push_back(std::move(process));
    return m_programs.back().get();
}

void E2eDesktop::stopProgramsOf(const QString &program)
{
    std::erase_if(m_programs, [&program](const std::unique_ptr<QProcess> &process) {
        if (process->program() != program)
            return false;
        process->kill();
        process->waitForFinished(5000);
        return true;
    });
}

bool E2eDesktop::run(const QString &program, const QStringList &arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

bool E2eDesktop::waitForLine(QProcess *process, const QString &line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (process->canReadLine()) {
            if (QString::fromUtf8(process->readLine()).trimmed() == line)
                return true;
        }
        if (process->state() == QProcess::NotRunning)
            return false;
        process->waitForReadyRead(int(qMax<qint64>(1, qMin<qint64>(100, deadline.remainingTime()))));
    }
    return false;
}

bool E2eDesktop::setMonitor(const Monitor &monitor, bool primary, const QString &output)
{
    // Sizes in millimetres at 96 dots per inch, so that Qt scales nothing.
    const QRect &r = monitor.geometry;
    const QString geometry = QStringLiteral("%1/%2x%3/%4+%5+%6")
                                 .arg(r.width())
                                 .arg(qRound(r.width() * 25.4 / 96))
                                 .arg(r.height())
                                 .arg(qRound(r.height() * 25.4 / 96))
                                 .arg(r.x())
                                 .arg(r.y());
    return run(QStringLiteral("xrandr"),
               {QStringLiteral("--setmonitor"), (primary ? QStringLiteral("*") : QString()) + monitor.name, geometry,
                output.isEmpty() ? QStringLiteral("none") : output});
}

bool E2eDesktop::removeMonitor(const QString &name)
{
    return run(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), name});
}

bool E2eDesktop::startCompositor()
{
    m_compositor = std::make_unique<QProcess>();
    m_compositor->setProcessEnvironment(environment());
    m_compositor->setStandardOutputFile(QProcess::nullDevice());
    m_compositor->setStandardErrorFile(QProcess::nullDevice());
    m_compositor->start(QStringLiteral("xcompmgr"), {});
    const QDeadlineTimer deadline(10000);
    while (!isCompositing() && !deadline.hasExpired())
        QThread::msleep(20);
    if (!isCompositing()) {
        m_error = QStringLiteral("xcompmgr did not take over compositing");
        return false;
    }
    return true;
}

void E2eDesktop::stopCompositor()
{
    if (!m_compositor)
        return;
    stop(*m_compositor);
    m_compositor.reset();
    const QDeadlineTimer deadline(5000);
    while (m_x && isCompositing() && !deadline.hasExpired())
        QThread::msleep(20);
}

bool E2eDesktop::isCompositing()
{
    const QByteArray name = "_NET_WM_CM_S0";
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(m_x, xcb_intern_atom(m_x, false, uint16_t(name.size()), name.constData()), nullptr));
    if (!atom)
        return false;
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_x, xcb_get_selection_owner(m_x, atom->atom), nullptr));
    return owner && owner->owner != XCB_NONE;
}

void E2eDesktop::sync()
{
    std::free(xcb_get_input_focus_reply(m_x, xcb_get_input_focus(m_x), nullptr));
}

void E2eDesktop::movePointer(QPoint position)
{
    xcb_test_fake_input(m_x, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, int16_t(position.x()),
                        int16_t(position.y()), 0);
    sync();
}

void E2eDesktop::pressButton(int button)
{
    xcb_test_fake_input(m_x, XCB_BUTTON_PRESS, uint8_t(button), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
}

void E2eDesktop::releaseButton(int button)
{
    xcb_test_fake_input(m_x, XCB_BUTTON_RELEASE, uint8_t(button), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
}

xcb_keycode_t E2eDesktop::keycodeOf(quint32 keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(m_x);
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - first + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
        xcb_get_keyboard_mapping_reply(m_x, xcb_get_keyboard_mapping(m_x, first, uint8_t(count)), nullptr),
        &std::free);
    if (!mapping)
        return 0;
    const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perCode = mapping->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        for (int column = 0; column < perCode; ++column) {
            if (symbols[code * perCode + column] == keysym)
                return xcb_keycode_t(first + code);
        }
    }
    return 0;
}

void E2eDesktop::pressKey(quint32 keysym)
{
    xcb_test_fake_input(m_x, XCB_KEY_PRESS, keycodeOf(keysym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
}

void E2eDesktop::releaseKey(quint32 keysym)
{
    xcb_test_fake_input(m_x, XCB_KEY_RELEASE, keycodeOf(keysym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
}

void E2eDesktop::click(QPoint position, int button)
{
    movePointer(position);
    pressButton(button);
    releaseButton(button);
}

void E2eDesktop::warpPointer(QPoint position)
{
    xcb_warp_pointer(m_x, XCB_NONE, m_root, 0, 0, 0, 0, int16_t(position.x()), int16_t(position.y()));
    sync();
}

bool E2eDesktop::dragFromSource(const QString &sourceProgram, const QStringList &offer, QPoint press, QPoint to,
                                const std::function<bool()> &arrived)
{
    QProcess *source = startProgram(sourceProgram, QStringList{QStringLiteral("100"), QStringLiteral("500"),
                                                               QStringLiteral("200"), QStringLiteral("200")}
                                                       + offer);
    if (!waitForLine(source, QStringLiteral("ready"))) {
        m_error = QStringLiteral("the drag source did not show");
        return false;
    }
    movePointer(press);
    pressButton(1);
    if (!waitForLine(source, QStringLiteral("drag started"))) {
        m_error = QStringLiteral("the drag did not start");
        return false;
    }
    glidePointer(press, to, 12, 30);
    // The notch changes shape on the way; a few more moves let the source
    // find the window where it now takes the drag.
    const bool there = QTest::qWaitFor(
        [&] {
            glidePointer(to, to + QPoint(2, 1), 2, 20);
            glidePointer(to + QPoint(2, 1), to, 2, 20);
            return arrived();
        },
        3000);
    releaseButton(1);
    if (!there) {
        m_error = QStringLiteral("the drag did not arrive");
        return false;
    }
    if (!waitForLine(source, QStringLiteral("drag ended"))) {
        m_error = QStringLiteral("the drag did not end");
        return false;
    }
    return true;
}

void E2eDesktop::glidePointer(QPoint from, QPoint to, int steps, int stepMs)
{
    for (int i = 1; i <= steps; ++i) {
        movePointer(from + (to - from) * i / steps);
        QThread::msleep(stepMs);
    }
}

QImage E2eDesktop::grab(const QRect &rect)
{
    Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        m_x,
        xcb_get_image(m_x, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(rect.width()), uint16_t(rect.height()), ~0u),
        nullptr));
    if (!reply || reply->depth != 24)
        return {};
    const QImage view(xcb_get_image_data(reply.value), rect.width(), rect.height(), rect.width() * 4,
                      QImage::Format_RGB32);
    return view.copy();
}

QImage E2eDesktop::shoot(const QRect &rect, const QString &name)
{
    const QImage image = grab(rect);
    const QDir folder(QStringLiteral(TALVO_E2E_SCREENS));
    folder.mkpath(QStringLiteral("."));
    image.save(folder.filePath(name + QStringLiteral(".png")));
    return image;
}

xcb_window_t E2eDesktop::findWindow(const QByteArray &title)
{
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(m_x, xcb_query_tree(m_x, m_root), nullptr));
    if (!tree)
        return XCB_NONE;
    const xcb_window_t *children = xcb_query_tree_children(tree.value);
    for (int i = 0; i < xcb_query_tree_children_length(tree.value); ++i) {
        // Toolkits keep unmapped helper windows with the same name.
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(m_x, xcb_get_window_attributes(m_x, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(
            m_x, xcb_get_property(m_x, false, children[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr));
        if (name && QByteArray(static_cast<const char *>(xcb_get_property_value(name.value)),
                               xcb_get_property_value_length(name.value))
                        == title)
            return children[i];
    }
    return XCB_NONE;
}

std::optional<QPoint> E2eDesktop::windowOrigin(xcb_window_t window)
{
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(m_x, xcb_translate_coordinates(m_x, window, m_root, 0, 0), nullptr));
    if (!origin)
        return std::nullopt;
    return QPoint(origin->dst_x, origin->dst_y);
}

QJsonObject E2eDesktop::storedPreferences() const
{
    QFile file(environment().value(QStringLiteral("XDG_CONFIG_HOME")) + QStringLiteral("/talvo/preferences.json"));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

void E2eDesktop::killXServer()
{
    m_xserver.kill();
    m_xserver.waitForFinished(3000);
}

QString missingTool(std::initializer_list<const char *> tools)
{
    for (const char *tool : tools) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QString::fromLatin1(tool);
    }
    return {};
}

QList<QRect> shapeRectangles(xcb_connection_t *connection, xcb_window_t window, int kind)
{
    Reply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
        connection, xcb_shape_get_rectangles(connection, window, xcb_shape_sk_t(kind)), nullptr));
    QList<QRect> rects;
    if (!reply)
        return rects;
    const xcb_rectangle_t *r = xcb_shape_get_rectangles_rectangles(reply.value);
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply.value); ++i)
        rects.append(QRect(r[i].x, r[i].y, r[i].width, r[i].height));
    return rects;
}

} // namespace talvo::e2e
