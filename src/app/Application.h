#pragma once

#include <QObject>

#include <memory>

class QQmlComponent;
class QQmlEngine;

namespace talvo {

class AppControlCommands;
class DBusControlBus;
class JsonFilePreferencesStorage;
class Preferences;
class QtScheduler;

// The composition root: builds the platform services and the process-wide
// objects once, hands them down by constructor and registers them with QML.
class Application : public QObject
{
    Q_OBJECT
public:
    explicit Application(QObject *parent = nullptr);
    ~Application() override;

    void start();
    // Ends the event loop once the notch's QML is gone and its window has
    // drawn without it: the threaded render loop lets go of the scene graph's
    // copies of the items' pictures only at a frame.
    void quit();

private:
    void finishLaunching();

    struct Notch;
    struct Shell;
    struct NowPlaying;
    struct Sources;

    std::unique_ptr<QtScheduler> m_scheduler;
    std::unique_ptr<JsonFilePreferencesStorage> m_preferencesStorage;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<DBusControlBus> m_controlBus;
    std::unique_ptr<Notch> m_notch;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<NowPlaying> m_nowPlaying;
    std::unique_ptr<Sources> m_sources;
    std::unique_ptr<AppControlCommands> m_commands;
    std::unique_ptr<QQmlComponent> m_panelTypes;
    bool m_activationPending = false;
};

} // namespace talvo
