// Another program's use of the clipboard, for the whole-program tests.
//
// Usage: e2e_clipboard set TEXT   owns the clipboard with TEXT, prints "ready"
//                                 and keeps it until killed or another
//                                 program takes it over ("lost")
//        e2e_clipboard get        prints the clipboard's text and exits
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (args.size() == 2 && args[1] == QLatin1String("get")) {
        // Asked on the first event-loop turn, once the connection is up.
        QTimer::singleShot(0, &app, [clipboard] {
            std::printf("%s\n", qPrintable(clipboard->text()));
            std::fflush(stdout);
            QCoreApplication::quit();
        });
        return app.exec();
    }
    if (args.size() != 3 || args[1] != QLatin1String("set")) {
        std::fprintf(stderr, "usage: e2e_clipboard set TEXT | get\n");
        return 2;
    }
    const QString text = args[2];
    QTimer::singleShot(0, &app, [clipboard, text] {
        clipboard->setText(text);
        std::printf("ready\n");
        std::fflush(stdout);
        QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, [] {
            std::printf("lost\n");
            std::fflush(stdout);
        });
    });
    return app.exec();
}
