#pragma once

#include "platform/AppWindows.h"

#include <QPointer>
#include <QRect>
#include <QString>

class QQmlEngine;
class QQuickWindow;

namespace talvo {

// Window frames kept between runs, by name, in one JSON file beside the
// preferences ($XDG_CONFIG_HOME/talvo/window-state.json).
class WindowStateStore
{
public:
    explicit WindowStateStore(QString filePath);
    static QString defaultFilePath();

    QRect frame(const QString &name) const;
    void setFrame(const QString &name, const QRect &frame);

private:
    QString m_filePath;
};

// Lets QML call back into C++: `closeHandler.invoke()`.
class WindowCallback : public QObject
{
    Q_OBJECT
public:
    explicit WindowCallback(std::function<void()> callback) : m_callback(std::move(callback)) {}
public slots:
    void invoke()
    {
        if (m_callback)
            m_callback();
    }

private:
    std::function<void()> m_callback;
};

// The settings and first-run windows as Qt Quick windows loaded from the QML
// module. Both are ordinary top-level windows, so the desktop lists them in its
// taskbar while they are open.
class QuickAppWindowFactory final : public AppWindowFactory
{
public:
    QuickAppWindowFactory(QQmlEngine &engine, WindowStateStore &windowState);

    std::unique_ptr<AppWindow> createSettingsWindow() override;
    std::unique_ptr<AppWindow> createOnboardingWindow(std::function<void()> onClose) override;
    std::unique_ptr<AppWindow> createApplicationChooserWindow() override;

private:
    QQuickWindow *load(const QString &path, const QVariantMap &initialProperties);

    QQmlEngine &m_engine;
    WindowStateStore &m_windowState;
};

} // namespace talvo
