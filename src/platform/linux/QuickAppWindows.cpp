#include "QuickAppWindows.h"

#include "AtomicFile.h"
#include "XcbConnection.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QThread>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>
#include <QStandardPaths>
#include <QSurfaceFormat>

namespace talvo {

static const QString kSettingsFrameName = QStringLiteral("TalvoSettingsWindow");

WindowStateStore::WindowStateStore(QString filePath) : m_filePath(std::move(filePath)) {}

QString WindowStateStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/talvo/window-state.json");
}

static QJsonObject readState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QRect WindowStateStore::frame(const QString &name) const
{
    const QJsonObject f = readState(m_filePath).value(name).toObject();
    const QRect rect(f.value(QStringLiteral("x")).toInt(), f.value(QStringLiteral("y")).toInt(),
                     f.value(QStringLiteral("width")).toInt(), f.value(QStringLiteral("height")).toInt());
    return rect.isValid() ? rect : QRect();
}

void WindowStateStore::setFrame(const QString &name, const QRect &frame)
{
    QJsonObject state = readState(m_filePath);
    state.insert(name, QJsonObject{{QStringLiteral("x"), frame.x()},
                                   {QStringLiteral("y"), frame.y()},
                                   {QStringLiteral("width"), frame.width()},
                                   {QStringLiteral("height"), frame.height()}});
    if (const auto error = writeFileAtomically(m_filePath, QJsonDocument(state).toJson()))
        qCWarning(lcApp).noquote() << QStringLiteral("Failed to save window frame: ") + *error;
}

namespace {

class QuickAppWindow final : public AppWindow
{
public:
    QuickAppWindow(QQuickWindow *window, std::function<void(QQuickWindow *)> onClosing)
        : m_window(window), m_onClosing(std::move(onClosing))
    {
        // A Qt Quick window hides when the user closes it.
        connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (visible)
                m_shown = true;
            else if (m_shown)
                finish();
        });
    }
    ~QuickAppWindow() override
    {
        if (!m_window)
            return;
        disconnect(m_window, nullptr, this, nullptr);
        // Closing may happen inside the window's own signals: delete it once
        // they are done. After the event loop has ended (quitting) nothing
        // would run a later deletion, so the window and its items go now.
        if (QThread::currentThread()->loopLevel() > 0)
            m_window->deleteLater();
        else
            delete m_window;
    }

    void present() override
    {
        if (!m_window)
            return;
        m_window->show();
        m_window->raise();
        m_window->requestActivate();
    }

    void close() override
    {
        if (m_window)
            m_window->close();
    }

private:
    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        if (m_onClosing)
            m_onClosing(m_window);
        emit closed();
    }

    QPointer<QQuickWindow> m_window;
    std::function<void(QQuickWindow *)> m_onClosing;
    bool m_shown = false;
    bool m_done = false;
};

QRect centredOnPrimary(const QSize &size)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(QPoint(0, 0), size);
    QRect rect(QPoint(0, 0), size);
    rect.moveCenter(screen->availableGeometry().center());
    return rect;
}

bool isOnSomeScreen(const QRect &frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->availableGeometry().intersects(frame); });
}

// Asks KWin to blur what lies behind the whole window; false when the window
// manager offers no blur (its blur effect announces itself with a property
// of the same name on the root window).
bool requestBlurBehind(QQuickWindow *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *c = x11->connection();
    static constexpr char kName[] = "_KDE_NET_WM_BLUR_BEHIND_REGION";
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, true, sizeof kName - 1, kName), nullptr));
    if (!atom || atom->atom == XCB_NONE)
        return false;
    const XcbReply<xcb_get_property_reply_t> announced(xcb_get_property_reply(
        c, xcb_get_property(c, false, screenRoot(c, 0), atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    if (!announced || announced->type == XCB_NONE)
        return false;
    QSurfaceFormat format = window->format();
    format.setAlphaBufferSize(8);
    window->setFormat(format);
    window->create();
    // No rectangles: the whole window.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), atom->atom, XCB_ATOM_CARDINAL, 32,
                        0, nullptr);
    xcb_flush(c);
    return true;
}

} // namespace

QuickAppWindowFactory::QuickAppWindowFactory(QQmlEngine &engine, WindowStateStore &windowState)
    : m_engine(engine), m_windowState(windowState)
{
}

QQuickWindow *QuickAppWindowFactory::load(const QString &path, const QVariantMap &initialProperties)
{
    QQmlComponent component(&m_engine, QUrl(QStringLiteral("qrc:/qt/qml/Talvo/") + path));
    // Creating from a component that is not ready crashes in Qt 6.4.
    QObject *object = component.isReady() ? component.createWithInitialProperties(initialProperties) : nullptr;
    auto *window = qobject_cast<QQuickWindow *>(object);
    if (!window) {
        qCWarning(lcApp).noquote() << QStringLiteral("Cannot create %1: ").arg(path) + component.errorString();
        delete object;
        // An empty window keeps the bookkeeping of the caller intact.
        window = new QQuickWindow;
    }
    return window;
}

std::unique_ptr<AppWindow> QuickAppWindowFactory::createSettingsWindow()
{
    QQuickWindow *window = load(QStringLiteral("settings/SettingsWindow.qml"), {});
    window->setTitle(QStringLiteral("Talvo Settings"));
    window->setMinimumSize(QSize(820, 560));
    const QRect saved = m_windowState.frame(kSettingsFrameName);
    const QRect frame = saved.isValid() && isOnSomeScreen(saved) ? saved : centredOnPrimary(QSize(980, 680));
    window->setGeometry(frame.adjusted(0, 0, std::max(0, 820 - frame.width()), std::max(0, 560 - frame.height())));
    window->setProperty("blurBehind", requestBlurBehind(window));
    return std::make_unique<QuickAppWindow>(window, [this](QQuickWindow *closing) {
        if (closing)
            m_windowState.setFrame(kSettingsFrameName, closing->geometry());
    });
}

std::unique_ptr<AppWindow> QuickAppWindowFactory::createOnboardingWindow(std::function<void()> onClose)
{
    auto *callback = new WindowCallback(std::move(onClose));
    QQuickWindow *window = load(QStringLiteral("onboarding/OnboardingWindow.qml"),
                                {{QStringLiteral("closeHandler"), QVariant::fromValue<QObject *>(callback)}});
    callback->setParent(window);
    // A title bar without close, minimise or maximise buttons, and a fixed size.
    window->setFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->setTitle(QCoreApplication::translate("QuickAppWindowFactory", "Welcome to Talvo"));
    window->setMinimumSize(QSize(600, 480));
    window->setMaximumSize(QSize(600, 480));
    window->setGeometry(centredOnPrimary(QSize(600, 480)));
    return std::make_unique<QuickAppWindow>(window, nullptr);
}

std::unique_ptr<AppWindow> QuickAppWindowFactory::createApplicationChooserWindow()
{
    QQuickWindow *window = load(QStringLiteral("panel/ApplicationChooserWindow.qml"), {});
    window->setTitle(QCoreApplication::translate("QuickAppWindowFactory", "Add Application"));
    window->setMinimumSize(QSize(320, 360));
    window->setGeometry(centredOnPrimary(QSize(420, 520)));
    return std::make_unique<QuickAppWindow>(window, nullptr);
}

} // namespace talvo
