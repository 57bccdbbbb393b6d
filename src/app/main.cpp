#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/PrefsCommand.h"
#include "platform/ApplicationId.h"
#include "platform/Log.h"
#include "platform/linux/DBusControlClient.h"
#include "platform/linux/DisplayCheck.h"
#include "platform/linux/FatalSignalReport.h"
#include "platform/linux/HeapRelease.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "platform/linux/UnixSignalWatcher.h"
#include "preferences/Preferences.h"

#include <QGuiApplication>
#include <QDir>
#include <QFile>
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

static int runCommandLine(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TALVO_VERSION));
    talvo::DBusControlClient client;
    QTextStream out(stdout);
    QTextStream err(stderr);
    talvo::CommandLine commandLine{client, out, err, QDir::currentPath(), [] {
                                       QFile input;
                                       if (!input.open(stdin, QIODevice::ReadOnly))
                                           return QString();
                                       return QString::fromUtf8(input.readAll());
                                   }};
    return commandLine.run(app.arguments().mid(1));
}

int main(int argc, char **argv)
{
    talvo::installFatalSignalReport();
    talvo::keepLargeAllocationsMapped();
    talvo::installLogHandler();
    if (argc > 1 && std::strcmp(argv[1], "prefs") == 0)
        return runPrefs(argc, argv);
    if (argc > 1 && talvo::CommandLine::handles(QString::fromLocal8Bit(argv[1])))
        return runCommandLine(argc, argv);
    if (argc > 1 && argv[1][0] != '-') {
        std::fprintf(stderr, "talvo: unknown command \"%s\"\n%s", argv[1],
                     qPrintable(talvo::CommandLine::usageText()));
        return 2;
    }

    // Talvo's desktop services are X11 ones: in a Wayland session it runs
    // through XWayland, and without any X display it cannot run at all.
    const talvo::DisplayChoice display = talvo::chooseDisplay();
    if (!display.error.isEmpty()) {
        std::fprintf(stderr, "talvo: %s\n", qPrintable(display.error));
        return 1;
    }

    // The threaded render loop paces frames at the display's refresh rate,
    // in step with the springs, which move every 16 ms. Qt's software
    // renderer keeps its basic loop: its threaded one can hang for good when
    // a window is destroyed while its render thread is busy. An explicit
    // choice in the environment wins.
    if (!qEnvironmentVariableIsSet("QSG_RENDER_LOOP") && qgetenv("QT_QUICK_BACKEND") != "software")
        qputenv("QSG_RENDER_LOOP", "threaded");

    // Qt Widgets stays out of this long-running process: the folder dialog
    // and the tray icon live in talvo-helper.
    QGuiApplication app(argc, argv);
    talvo::closeDisplayProbe();
    QGuiApplication::setApplicationName(QStringLiteral("talvo"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Talvo"));
    QGuiApplication::setApplicationVersion(QStringLiteral(TALVO_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(talvo::kApplicationId));
    if (display.throughXWayland)
        qCInfo(talvo::lcApp).noquote() << talvo::xwaylandNotice();
    QGuiApplication::setQuitOnLastWindowClosed(false);

    talvo::UnixSignalWatcher signalWatcher({SIGINT, SIGTERM});
    talvo::Application talvoApp;
    QObject::connect(&signalWatcher, &talvo::UnixSignalWatcher::received, &talvoApp, &talvo::Application::quit);
    talvoApp.start();
    return app.exec();
}
