// The baseline for bench_notch_idle: a bare Qt Quick window of the notch
// window's size and kind, showing a black rectangle of the collapsed notch's
// size and nothing else. Prints "ready" once the first frame is on screen.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QQuickWindow window;
    QSurfaceFormat format = window.format();
    format.setAlphaBufferSize(8);
    window.setFormat(format);
    window.setColor(Qt::transparent);
    window.setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    window.setGeometry(530, 300, 860, 250);

    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nRectangle { x: 337.5; width: 185; height: 24; color: \"black\" }\n", QUrl());
    auto *item = qobject_cast<QQuickItem *>(component.create());
    if (!item)
        return 1;
    item->setParent(window.contentItem());
    item->setParentItem(window.contentItem());

    QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [] {
        static bool shown = false;
        if (!std::exchange(shown, true)) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    window.show();
    return app.exec();
}
