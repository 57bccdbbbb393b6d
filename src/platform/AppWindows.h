#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace talvo {

// A top-level window of the application other than the notch (settings,
// first run). Closing it, by the user or by close(), emits closed() once.
class AppWindow : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Shows the window if needed, raises it and gives it the keyboard focus.
    virtual void present() = 0;
    virtual void close() = 0;

signals:
    void closed();
};

// Builds the application's windows. Main thread only.
class AppWindowFactory
{
public:
    virtual ~AppWindowFactory() = default;
    // "Talvo Settings", 980 x 680 (at least 820 x 560), centred, its frame kept
    // between runs; a normal window with a taskbar entry.
    virtual std::unique_ptr<AppWindow> createSettingsWindow() = 0;
    // 600 x 480, no close, minimise or resize controls; a normal window with a
    // taskbar entry. `onClose` is what its flow calls when finished.
    virtual std::unique_ptr<AppWindow> createOnboardingWindow(std::function<void()> onClose) = 0;
    // "Add Application", 420 x 520, centred: the installed applications to
    // choose a favourite from; a small normal window.
    virtual std::unique_ptr<AppWindow> createApplicationChooserWindow() = 0;
};

// The tray (status-bar) item.
class StatusItem
{
public:
    virtual ~StatusItem() = default;
};

class StatusItemHost
{
public:
    virtual ~StatusItemHost() = default;
    // Shows an item with the named symbol and tool tip; activating it calls
    // `onActivate`. The item goes away when the returned object is destroyed.
    virtual std::unique_ptr<StatusItem> addStatusItem(const QString &symbolName, const QString &toolTip,
                                                      std::function<void()> onActivate) = 0;
};

// Starting the application when the user logs in.
class LoginItemService
{
public:
    enum class Status { NotRegistered, Enabled, RequiresApproval, NotFound };
    virtual ~LoginItemService() = default;
    virtual Status status() const = 0;
    // Nothing on success, else the error's description.
    virtual std::optional<QString> registerItem() = 0;
    virtual std::optional<QString> unregisterItem() = 0;
};

} // namespace talvo
