// A drag source for the whole-program tests: a window filled with one colour
// that starts a drag as soon as it is pressed, and prints "drag started" and
// "drag ended" on stdout.
//
// Usage: e2e_dragsource X Y WIDTH HEIGHT --files PATH... | --text TEXT
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QUrl>

#include <cstdio>
#include <utility>

namespace {

class SourceWindow : public QRasterWindow
{
public:
    explicit SourceWindow(QMimeData *(*makeData)(const QStringList &), QStringList values)
        : m_makeData(makeData), m_values(std::move(values))
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), QColor(0x40, 0xa0, 0x40));
        // Mapped and drawn: tests may act on it now.
        if (!std::exchange(m_shown, true)) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
    void mousePressEvent(QMouseEvent *) override
    {
        auto *drag = new QDrag(this);
        drag->setMimeData(m_makeData(m_values));
        std::printf("drag started\n");
        std::fflush(stdout);
        drag->exec(Qt::CopyAction);
        std::printf("drag ended\n");
        std::fflush(stdout);
    }

private:
    bool m_shown = false;
    QMimeData *(*m_makeData)(const QStringList &);
    QStringList m_values;
};

QMimeData *files(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    // File managers offer the paths as text as well.
    data->setText(paths.join(QLatin1Char('\n')));
    return data;
}

QMimeData *text(const QStringList &values)
{
    auto *data = new QMimeData;
    data->setText(values.join(QLatin1Char(' ')));
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 7 || (args.at(5) != QLatin1String("--files") && args.at(5) != QLatin1String("--text"))) {
        std::fprintf(stderr, "usage: e2e_dragsource X Y WIDTH HEIGHT --files PATH... | --text TEXT\n");
        return 2;
    }
    SourceWindow window(args.at(5) == QLatin1String("--files") ? files : text, args.mid(6));
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    window.show();
    return app.exec();
}
