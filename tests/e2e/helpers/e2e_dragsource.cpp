// A drag source for the whole-program tests: a window filled with one colour
// that starts a drag as soon as it is pressed, and prints "drag started" and
// "drag ended" on stdout.
//
// Absolute paths are offered as file URLs, anything else as a URL as given.
//
// Usage: e2e_dragsource X Y WIDTH HEIGHT --files PATH-OR-URL... | --urls PATH-OR-URL... | --text TEXT
//                                        | --image WIDTH HEIGHT
#include <QBuffer>
#include <QDrag>
#include <QGuiApplication>
#include <QImage>
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

// A URL list only: two types, too few for Qt to publish a type list.
QMimeData *urls(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(path.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(path) : QUrl(path));
    data->setUrls(urls);
    return data;
}

QMimeData *files(const QStringList &paths)
{
    QMimeData *data = urls(paths);
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

// PNG data only, as image editors offer a selection.
QMimeData *image(const QStringList &size)
{
    QImage picture(size.value(0).toInt(), size.value(1).toInt(), QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0x60, 0xc0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(5);
    QMimeData *(*makeData)(const QStringList &) = mode == QLatin1String("--files")   ? files
                                                  : mode == QLatin1String("--urls")  ? urls
                                                  : mode == QLatin1String("--text")  ? text
                                                  : mode == QLatin1String("--image") ? image
                                                                                     : nullptr;
    if (args.size() < 7 || !makeData) {
        std::fprintf(stderr, "usage: e2e_dragsource X Y WIDTH HEIGHT --files PATH-OR-URL... | --urls PATH-OR-URL..."
                             " | --text TEXT | --image WIDTH HEIGHT\n");
        return 2;
    }
    SourceWindow window(makeData, args.mid(6));
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    window.show();
    return app.exec();
}
