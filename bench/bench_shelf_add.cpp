// Adds 200 mixed files (images, documents, folders) to the shelf with the real
// content types and thumbnailer, one add per main-loop turn as drops arrive,
// and reports the total time and how long the main thread was held.
#include "notch/NotchViewModel.h"
#include "platform/ApplicationCatalog.h"
#include "platform/QtScheduler.h"
#include "platform/SoundPlayer.h"
#include "platform/linux/FreedesktopContentTypes.h"
#include "platform/linux/FreedesktopThumbnailer.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "preferences/Preferences.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace talvo;

namespace {

class SilentSounds final : public SoundPlayer
{
public:
    void play(const QString &) override {}
};

class NoApplications final : public ApplicationCatalog
{
public:
    QStringList defaultFavoriteApps() const override { return {}; }
    QString installedApplication(const QStringList &) const override { return {}; }
    QString defaultApplicationFor(const QString &) const override { return {}; }
    bool launch(const QString &) override { return false; }
    QList<Application> installedApplications() const override { return {}; }
    QString displayName(const QString &) const override { return {}; }
    bool launchEntry(const QString &) override { return false; }
};

struct Sample
{
    QString path;
    bool hugeImage = false;
};

QList<Sample> makeFiles(const QString &root)
{
    QList<Sample> files;
    QDir().mkpath(root);
    QRandomGenerator random(42);
    const auto image = [&](int i, QSize size, const char *format, bool huge) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = qRgb((x * 7 + i) & 255, (y * 3) & 255, (x ^ y) & 255);
        }
        const QString path = QStringLiteral("%1/image-%2.%3").arg(root).arg(i).arg(QLatin1String(format));
        picture.save(path, format, 85);
        files.append({path, huge});
    };
    for (int i = 0; i < 50; ++i)
        image(i, QSize(3000, 2000), "jpg", false); // 6 MP photos
    for (int i = 50; i < 65; ++i)
        image(i, QSize(1600, 1000), "png", false); // screenshots
    for (int i = 65; i < 70; ++i)
        image(i, QSize(6000, 4000), "jpg", true); // 24 MP, outside the target
    const char *documents[] = {"pdf", "txt", "docx", "odt", "zip", "mp3", "xyz", "PDF"};
    for (int i = 0; i < 90; ++i) {
        const QString path = QStringLiteral("%1/document-%2.%3").arg(root).arg(i).arg(QLatin1String(documents[i % 8]));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QByteArray bytes(4096 + int(random.bounded(200000)), 'a');
        file.write(bytes);
        files.append({path, false});
    }
    for (int i = 0; i < 40; ++i) {
        const QString path = QStringLiteral("%1/folder-%2").arg(root).arg(i);
        QDir().mkpath(path);
        files.append({path, false});
    }
    std::shuffle(files.begin(), files.end(), *QRandomGenerator::global());
    return files;
}

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size()))));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("Preparing 200 files...\n");
    const QList<Sample> files = makeFiles(dir.filePath(QStringLiteral("files")));

    QtScheduler scheduler;
    JsonFilePreferencesStorage storage(dir.filePath(QStringLiteral("preferences.json")));
    Preferences preferences(storage);
    FreedesktopContentTypes contentTypes;
    FreedesktopThumbnailer::Options options;
    options.cacheDir = dir.filePath(QStringLiteral("thumbnails"));
    options.useThumbnailerService = false;
    FreedesktopThumbnailer thumbnailer(scheduler, options);
    SilentSounds sounds;
    NoApplications applications;
    NotchViewModel model(scheduler, preferences, contentTypes, thumbnailer, sounds, applications);

    QList<double> addMs;
    QList<double> addMsInTarget;
    double longestTurnMs = 0;
    QElapsedTimer total;
    QElapsedTimer sinceTick;

    // A turn of the main loop that takes long shows as a late heartbeat.
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestTurnMs = std::max(longestTurnMs, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });

    QObject::connect(&model, &NotchViewModel::itemsChanged, [&] {
        if (model.itemList().size() == files.size())
            app.quit();
    });
    QTimer::singleShot(0, [&] {
        total.start();
        sinceTick.start();
        heartbeat.start();
        for (const Sample &sample : files) {
            QMetaObject::invokeMethod(
                &model,
                [&, sample] {
                    QElapsedTimer call;
                    call.start();
                    model.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(sample.path)));
                    const double ms = double(call.nsecsElapsed()) / 1e6;
                    addMs << ms;
                    if (!sample.hugeImage)
                        addMsInTarget << ms;
                },
                Qt::QueuedConnection);
        }
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    app.exec();
    const double totalMs = double(total.nsecsElapsed()) / 1e6;

    int thumbnails = 0;
    for (const ShelfItem &item : model.itemList())
        thumbnails += item.image.kind() == ShelfImage::Kind::Bitmap ? 1 : 0;
    std::printf("items on the shelf:               %d of %d (%d with thumbnails)\n", int(model.itemList().size()),
                int(files.size()), thumbnails);
    std::printf("time to add all:                  %.1f ms\n", totalMs);
    std::printf("addItem on the main thread:       median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                percentile(addMs, 0.5), percentile(addMs, 0.95), percentile(addMs, 1.0));
    std::printf("  without images over 20 MP:      max %.2f ms (target: under 50 ms)\n", percentile(addMsInTarget, 1.0));
    std::printf("longest main-loop turn:           %.2f ms\n", longestTurnMs);

    // The worker-side cost of one thumbnail, by kind of file.
    QHash<QString, QList<double>> decodeMs;
    for (const Sample &sample : files) {
        const QString kind = sample.hugeImage ? QStringLiteral("24 MP jpg")
                                              : QFileInfo(sample.path).suffix().toLower();
        QElapsedTimer clock;
        clock.start();
        thumbnailer.thumbnail(sample.path, QSize(160, 160), ThumbnailTicket());
        decodeMs[kind.isEmpty() ? QStringLiteral("folder") : kind] << double(clock.nsecsElapsed()) / 1e6;
    }
    std::printf("thumbnail work per file (worker thread, 160 px):\n");
    for (auto it = decodeMs.cbegin(); it != decodeMs.cend(); ++it)
        std::printf("  %-10s median %7.2f ms, max %7.2f ms\n", qPrintable(it.key()), percentile(it.value(), 0.5),
                    percentile(it.value(), 1.0));
    return model.itemList().size() == files.size() ? 0 : 1;
}
