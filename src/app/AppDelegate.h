#pragma once

#include "platform/Scheduler.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class AppWindow;
class AppWindowFactory;
class LoginItemService;
class MicManager;
class Preferences;
class StatusItem;
class StatusItemHost;

// Start-up and the application's windows: shows the notch, keeps the muted-
// microphone tray item in step, opens the first-run window, registers the
// login item once, and owns the settings and first-run windows.
//
// `activationPolicy` is "accessory" while neither window is open (the notch
// never shows in the taskbar) and "regular" while one is.
class AppDelegate : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(ActivationPolicy activationPolicy READ activationPolicy NOTIFY activationPolicyChanged)
    Q_PROPERTY(bool hasStatusItem READ hasStatusItem NOTIFY hasStatusItemChanged)
    Q_PROPERTY(bool isSettingsWindowOpen READ isSettingsWindowOpen NOTIFY windowsChanged)
    Q_PROPERTY(bool isOnboardingWindowOpen READ isOnboardingWindowOpen NOTIFY windowsChanged)
public:
    enum class ActivationPolicy { Accessory, Regular };
    Q_ENUM(ActivationPolicy)

    struct Services
    {
        Preferences &preferences;
        Scheduler &scheduler;
        MicManager &mic;
        StatusItemHost &statusItems;
        LoginItemService &loginItem;
        AppWindowFactory &windows;
        std::function<void()> showNotchWindow;
        std::function<void()> startUpdater;
    };

    explicit AppDelegate(Services services, QObject *parent = nullptr);
    ~AppDelegate() override;

    static AppDelegate *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The start-up sequence, once, on the main thread.
    void applicationDidFinishLaunching();

    Q_INVOKABLE void showSettings();
    // Opens the settings on a tab by its display name ("Widgets", ...).
    Q_INVOKABLE void showSettingsTab(const QString &tabName);
    Q_INVOKABLE void showOnboarding();
    Q_INVOKABLE void closeOnboarding();
    Q_INVOKABLE void unmuteFromMenuBar();
    void updateMicStatusItem(bool isMuted);

    ActivationPolicy activationPolicy() const { return m_policy; }
    bool hasStatusItem() const { return m_statusItem != nullptr; }
    bool isSettingsWindowOpen() const { return m_settingsWindow != nullptr; }
    bool isOnboardingWindowOpen() const { return m_onboardingWindow != nullptr; }

    static constexpr std::chrono::milliseconds onboardingDelay{500};

signals:
    void activationPolicyChanged();
    void hasStatusItemChanged();
    void windowsChanged();
    // The settings view switches to the tab with this display name.
    void settingsTabRequested(const QString &tabName);

private:
    void setPolicy(ActivationPolicy policy);
    void windowClosed(AppWindow *window);
    void configureLaunchAtLoginOnce();

    Services m_services;
    ActivationPolicy m_policy = ActivationPolicy::Accessory;
    std::unique_ptr<AppWindow> m_settingsWindow;
    std::unique_ptr<AppWindow> m_onboardingWindow;
    std::unique_ptr<StatusItem> m_statusItem;
};

} // namespace talvo
