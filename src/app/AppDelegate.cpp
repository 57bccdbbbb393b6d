#include "AppDelegate.h"

#include "platform/AppWindows.h"
#include "platform/Log.h"
#include "preferences/Preferences.h"
#include "sources/MicManager.h"
#include "platform/QmlInstances.h"

namespace talvo {

AppDelegate::AppDelegate(Services services, QObject *parent) : QObject(parent), m_services(std::move(services)) {}

AppDelegate::~AppDelegate() = default;

AppDelegate *AppDelegate::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<AppDelegate>(qmlEngine);
}

void AppDelegate::applicationDidFinishLaunching()
{
    setTaskbarPresence(TaskbarPresence::Hidden);
    if (m_services.showNotchWindow)
        m_services.showNotchWindow();

    MicManager &mic = m_services.mic;
    connect(&mic, &MicManager::isMutedChanged, this, [this, &mic] { updateMicStatusItem(mic.isMuted()); });
    updateMicStatusItem(mic.isMuted());
    connect(&m_services.preferences, &Preferences::changed, this, [this, &mic] { updateMicStatusItem(mic.isMuted()); });

    if (!m_services.preferences.value(PrefKey::hasCompletedOnboarding))
        m_services.scheduler.after(onboardingDelay, this, [this] { showOnboarding(); });

    if (m_services.startUpdater)
        m_services.startUpdater();

    configureLaunchAtLoginOnce();
}

void AppDelegate::configureLaunchAtLoginOnce()
{
    const QString key = QString::fromLatin1(PrefKey::didConfigureLaunchAtLoginDefault.name);
    if (m_services.preferences.value(PrefKey::didConfigureLaunchAtLoginDefault))
        return;
    if (m_services.loginItem.status() != LoginItemService::Status::Enabled) {
        if (const auto error = m_services.loginItem.registerItem())
            qCWarning(lcApp).noquote() << QStringLiteral("Failed to register the login item: ") + *error;
    }
    m_services.preferences.setBool(true, key);
}

void AppDelegate::updateMicStatusItem(bool isMuted)
{
    const bool show = m_services.preferences.value(PrefKey::showMicMenuBarIcon);
    if (isMuted && show) {
        if (m_statusItem)
            return;
        QPointer<AppDelegate> self(this);
        m_statusItem = m_services.statusItems.addStatusItem(QStringLiteral("mic.slash.fill"), QStringLiteral("Mic Muted"),
                                                            [self] {
                                                                if (self)
                                                                    self->unmuteFromMenuBar();
                                                            });
        emit hasStatusItemChanged();
        return;
    }
    if (m_statusItem) {
        m_statusItem.reset();
        emit hasStatusItemChanged();
    }
}

void AppDelegate::unmuteFromMenuBar()
{
    // The item exists only while muted, so the toggle unmutes.
    m_services.mic.toggleMute();
}

void AppDelegate::showSettings()
{
    setTaskbarPresence(TaskbarPresence::Shown);
    if (!m_settingsWindow) {
        m_settingsWindow = m_services.windows.createSettingsWindow();
        AppWindow *window = m_settingsWindow.get();
        connect(window, &AppWindow::closed, this, [this, window] { windowClosed(window); });
        emit windowsChanged();
    }
    m_settingsWindow->present();
}

void AppDelegate::showSettingsTab(const QString &tabName)
{
    showSettings();
    emit settingsTabRequested(tabName);
}

void AppDelegate::showOnboarding()
{
    if (m_onboardingWindow) {
        m_onboardingWindow->present();
        return;
    }
    setTaskbarPresence(TaskbarPresence::Shown);
    QPointer<AppDelegate> self(this);
    m_onboardingWindow = m_services.windows.createOnboardingWindow([self] {
        if (self)
            self->closeOnboarding();
    });
    AppWindow *window = m_onboardingWindow.get();
    connect(window, &AppWindow::closed, this, [this, window] { windowClosed(window); });
    emit windowsChanged();
    m_onboardingWindow->present();
}

void AppDelegate::closeOnboarding()
{
    if (m_onboardingWindow) {
        AppWindow *window = m_onboardingWindow.release();
        disconnect(window, nullptr, this, nullptr);
        window->close();
        window->deleteLater();
        emit windowsChanged();
    }
    if (!m_settingsWindow)
        setTaskbarPresence(TaskbarPresence::Hidden);
}

void AppDelegate::windowClosed(AppWindow *window)
{
    // Called from the window's own signal: it is deleted once that returns.
    if (m_settingsWindow.get() == window)
        m_settingsWindow.release()->deleteLater();
    else if (m_onboardingWindow.get() == window)
        m_onboardingWindow.release()->deleteLater();
    else
        return;
    emit windowsChanged();
    if (!m_settingsWindow && !m_onboardingWindow)
        setTaskbarPresence(TaskbarPresence::Hidden);
}

void AppDelegate::setTaskbarPresence(TaskbarPresence presence)
{
    if (m_taskbarPresence == presence)
        return;
    m_taskbarPresence = presence;
    emit taskbarPresenceChanged();
}

} // namespace talvo
