// A drop target for the whole-program tests, standing in for a file manager's
// folder: a window of one colour that takes every drop with the action the
// source proposes. Files are moved or copied into FOLDER accordingly. Prints
// "ready", then for each drop "moved NAME", "copied NAME" or "text TEXT".
//
// Usage: e2e_droptarget X Y WIDTH HEIGHT FOLDER
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>
#include <utility>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class TargetWindow : public QRasterWindow
{
public:
    explicit TargetWindow(QString folder) : m_folder(std::move(folder)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), QColor(0xa0, 0x40, 0x40));
        if (!std::exchange(m_shown, true))
            say(QStringLiteral("ready"));
    }
    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            static_cast<QDragMoveEvent *>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop:
            drop(static_cast<QDropEvent *>(event));
            return true;
        default:
            return QRasterWindow::event(event);
        }
    }

private:
    void drop(QDropEvent *event)
    {
        const QMimeData *data = event->mimeData();
        const bool move = event->proposedAction() == Qt::MoveAction;
        if (data->hasUrls()) {
            for (const QUrl &url : data->urls()) {
                const QString from = url.toLocalFile();
                const QString to = QDir(m_folder).filePath(QFileInfo(from).fileName());
                const bool done = move ? QFile::rename(from, to) : QFile::copy(from, to);
                say(QStringLiteral("%1 %2").arg(done ? (move ? "moved" : "copied") : "failed", QFileInfo(from).fileName()));
            }
        } else if (data->hasText()) {
            say(QStringLiteral("text ") + data->text());
        }
        event->setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
        event->accept();
    }

    QString m_folder;
    bool m_shown = false;
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: e2e_droptarget X Y WIDTH HEIGHT FOLDER\n");
        return 2;
    }
    TargetWindow window(args.at(5));
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    window.show();
    return app.exec();
}
