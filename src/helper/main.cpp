// talvo-helper: the desktop pieces that need Qt Widgets (the folder dialog and
// the tray icon), each run in a short-lived process of its own, so that the
// long-running Talvo never loads Qt Widgets.
//
//   talvo-helper choose-folder --message M --prompt P [--start DIR]
//       Shows the folder dialog. Exit 0 with the chosen path on standard
//       output (followed by one newline), 1 when the user cancelled.
//   talvo-helper status-item --symbol NAME --tooltip TEXT
//       Shows a tray icon and prints "activated" for each click. Ends when
//       its standard input closes, as when Talvo ends or lets it go.
//
// Exit 2: bad arguments.
#include "FolderDialog.h"
#include "TrayIcon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QSocketNotifier>

#include <cstdio>

#include <unistd.h>

using namespace talvo;

namespace {

int chooseFolder(const QCommandLineParser &parser)
{
    const std::optional<QString> chosen = chooseFolderWithDialog(
        {parser.value(QStringLiteral("message")), parser.value(QStringLiteral("prompt")),
         parser.value(QStringLiteral("start"))});
    if (!chosen)
        return 1;
    const QByteArray path = QFile::encodeName(*chosen);
    std::fwrite(path.constData(), 1, size_t(path.size()), stdout);
    std::fputc('\n', stdout);
    return std::fflush(stdout) == 0 ? 0 : 3;
}

int showStatusItem(const QCommandLineParser &parser)
{
    TrayIcon icon(parser.value(QStringLiteral("symbol")), parser.value(QStringLiteral("tooltip")));
    QObject::connect(&icon, &TrayIcon::activated, [] {
        std::printf("activated\n");
        std::fflush(stdout);
    });
    // Talvo holds the other end of standard input; end of file means it is
    // done with the item (or gone).
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Talvo"));
    QApplication::setDesktopFileName(QStringLiteral("com.talvo.Talvo"));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("choose-folder or status-item"));
    for (const char *name : {"message", "prompt", "start", "symbol", "tooltip"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("text")));
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "talvo-helper: %s\n",
                     qPrintable(parser.errorText().isEmpty() ? QStringLiteral("expected one command")
                                                             : parser.errorText()));
        return 2;
    }
    const QString command = parser.positionalArguments().constFirst();
    if (command == u"choose-folder")
        return chooseFolder(parser);
    if (command == u"status-item")
        return showStatusItem(parser);
    std::fprintf(stderr, "talvo-helper: unknown command %s\n", qPrintable(command));
    return 2;
}
