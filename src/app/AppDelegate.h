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
// `taskbarPresence` is Hidden while neither window is open (the notch
// never shows in the taskbar) and Shown while one is.
class AppDelegate : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(TaskbarPresence taskbarPresence READ taskbarPresence NOTIFY taskbarPresenceChanged)
    Q_PROPERTY(bool hasStatusItem READ hasStatusItem NOTIFY hasStatusItemChanged)
    Q_PROPERTY(bool isSettingsWindowOpen READ isSettingsWindowOpen NOTIFY windowsChanged)
    Q_PROPERTY(bool isOnboardingWindowOpen READ isOnboardingWindowOpen NOTIFY windowsChanged)
public:
    enum class TaskbarPresence { Hidden, Shown };
    Q_ENUM(TaskbarPresence)

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

    TaskbarPresence taskbarPresence() const { return m_taskbarPresence; }
    bool hasStatusItem() const { return m_statusItem != nullptr; }
    bool isSettingsWindowOpen() const { return m_settingsWindow != nullptr; }
    bool isOnboardingWindowOpen() const { return m_onboardingWindow != nullptr; }

    static constexpr std::chrono::milliseconds onboardingDelay{500};

signals:
    void taskbarPresenceChanged();
    void hasStatusItemChanged();
    void windowsChanged();
    // The settings view switches to the tab with this display name.
    void settingsTabRequested(const QString &tabName);

private:
    void setTaskbarPresence(TaskbarPresence presence);
    void windowClosed(AppWindow *window);
    void configureLaunchAtLoginOnce();

    Services m_services;
    TaskbarPresence m_taskbarPresence = TaskbarPresence::Hidden;
    std::unique_ptr<AppWindow> m_settingsWindow;
    std::unique_ptr<AppWindow> m_onboardingWindow;
    std::unique_ptr<StatusItem> m_statusItem;
};

} // namespace talvo
