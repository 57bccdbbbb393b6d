// Another program on the X clipboard, for tests of our clipboard backend:
//   clipboard_owner text <text>                      copy a text
//   clipboard_owner secret <text>                    copy a text as a password manager does
//   clipboard_owner image <width> <height> <colour> [<text>]  copy an image (and a text form)
//   clipboard_owner read                             print what the clipboard holds
// After copying it prints "ready" and keeps serving the content until another
// program takes the clipboard over (or a minute has passed).

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QClipboard *clipboard = QGuiApplication::clipboard();

    if (args.value(0) == QLatin1String("read")) {
        const QMimeData *data = clipboard->mimeData(QClipboard::Clipboard);
        QString answer = QStringLiteral("<empty>");
        if (data && data->hasImage()) {
            const QImage image = qvariant_cast<QImage>(data->imageData());
            answer = QStringLiteral("<image %1x%2>").arg(image.width()).arg(image.height());
        } else if (data && data->hasText()) {
            answer = data->text();
        }
        std::fputs(answer.toUtf8().constData(), stdout);
        return 0;
    }

    auto *data = new QMimeData;
    if (args.value(0) == QLatin1String("text") && args.size() == 2) {
        data->setText(args.at(1));
    } else if (args.value(0) == QLatin1String("secret") && args.size() == 2) {
        data->setText(args.at(1));
        data->setData(QStringLiteral("x-kde-passwordManagerHint"), "secret");
    } else if (args.value(0) == QLatin1String("image") && args.size() >= 4) {
        QImage image(args.at(1).toInt(), args.at(2).toInt(), QImage::Format_RGB32);
        image.fill(QColor::fromString(args.at(3)));
        data->setImageData(image);
        if (args.size() > 4)
            data->setText(args.at(4));
    } else {
        delete data;
        std::fputs("usage: clipboard_owner text|secret <text> | image <w> <h> <colour> [<text>] | read\n", stderr);
        return 2;
    }
    clipboard->setMimeData(data, QClipboard::Clipboard);

    QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
