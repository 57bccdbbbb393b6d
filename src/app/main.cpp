#include "app/Application.h"
#include "app/PrefsCommand.h"
#include "platform/Log.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "platform/linux/UnixSignalWatcher.h"
#include "preferences/Preferences.h"

#include <QGuiApplication>
#include <QTextStream>
#include <QtQml/qqmlextensionplugin.h>

#include <csignal>
#include <cstdio>
#include <cstring>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

static int runPrefs(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    talvo::JsonFilePreferencesStorage storage(talvo::JsonFilePreferencesStorage::defaultFilePath());
    talvo::Preferences preferences(storage);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return talvo::runPrefsCommand(app.arguments().mid(2), preferences, out, err);
}

int main(int argc, char **argv)
{
    talvo::installLogHandler();
    if (argc > 1 && std::strcmp(argv[1], "prefs") == 0)
        return runPrefs(argc, argv);

    // Qt Quick's software renderer (no GPU, remote and virtual displays) draws
    // in its basic loop as fast as its timer runs, out of step with the
    // display and with the springs, which move every 16 ms: a third of the
    // frames would repeat the last picture. The threaded loop paces frames at
    // the display's refresh rate. An explicit choice in the environment wins.
    if (!qEnvironmentVariableIsSet("QSG_RENDER_LOOP"))
        qputenv("QSG_RENDER_LOOP", "threaded");

    // Qt Widgets stays out of this long-running process: the folder dialog
    // and the tray icon live in talvo-helper.
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("talvo"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Talvo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("talvo"));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    talvo::UnixSignalWatcher signalWatcher({SIGINT, SIGTERM});
    talvo::Application talvoApp;
    QObject::connect(&signalWatcher, &talvo::UnixSignalWatcher::received, &talvoApp, &talvo::Application::quit);
    talvoApp.start();
    return app.exec();
}
