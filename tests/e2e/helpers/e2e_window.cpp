// A plain window for the whole-program tests: filled with one colour, it
// stands below the notch and reports every press it receives on stdout as
// "press X Y" (global coordinates). It prints "ready" once it is on screen.
//
// Usage: e2e_window X Y WIDTH HEIGHT COLOUR
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QTextStream>

#include <cstdio>
#include <utility>

namespace {

class ColourWindow : public QRasterWindow
{
public:
    explicit ColourWindow(QColor colour) : m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), m_colour);
        // Mapped and drawn: tests may act on it now.
        if (!std::exchange(m_shown, true)) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        const QPoint global = event->globalPosition().toPoint();
        std::printf("press %d %d\n", global.x(), global.y());
        std::fflush(stdout);
    }

private:
    bool m_shown = false;
    QColor m_colour;
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: e2e_window X Y WIDTH HEIGHT COLOUR\n");
        return 2;
    }
    ColourWindow window{QColor(args.at(5))};
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    window.show();
    return app.exec();
}
