#include "fakes/VirtualScheduler.h"
#include "platform/linux/FreedesktopThumbnailer.h"

#include <QBuffer>
#include <QDataStream>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.thumbnails.Thumbnailer1"_s;
const QString kPath = u"/org/freedesktop/thumbnails/Thumbnailer1"_s;

QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void saveImage(const QImage &image, const QString &path, const char *format)
{
    QImageWriter writer(path, format);
    QVERIFY2(writer.write(image), qPrintable(writer.errorString()));
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A thumbnail as the freedesktop cache holds it: a PNG with "Thumb::URI" and
// "Thumb::MTime" text chunks. (Qt's writer cannot write keys with colons.)
void saveThumbnail(const QImage &image, const QString &path, const QString &uri, const QString &mtime)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "png"));
    const auto chunk = [](const QByteArray &type, const QByteArray &data) {
        QByteArray out;
        QDataStream stream(&out, QIODevice::WriteOnly);
        stream << quint32(data.size());
        out += type + data;
        QByteArray crc;
        QDataStream(&crc, QIODevice::WriteOnly) << crc32(type + data);
        return out + crc;
    };
    const qsizetype afterHeader = 8 + 4 + 4 + 13 + 4;
    png.insert(afterHeader, chunk("tEXt", "Thumb::URI" + QByteArray(1, '\0') + uri.toUtf8())
                                + chunk("tEXt", "Thumb::MTime" + QByteArray(1, '\0') + mtime.toUtf8()));
    QVERIFY(writeFile(path, png));
}

QString cacheFile(const QString &cacheDir, const char *flavour, const QString &file)
{
    return cacheDir + u'/' + QLatin1String(flavour) + u'/'
        + QString::fromLatin1(FreedesktopThumbnailer::cacheKey(QFileInfo(file).absoluteFilePath())) + u".png"_s;
}

QString mtimeText(const QString &path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return QString::number(qint64(st.st_mtim.tv_sec));
}

// Stands in for the desktop's thumbnailer service: writes a red thumbnail into
// the cache for each queued file and announces the job finished.
class FakeThumbnailerService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.thumbnails.Thumbnailer1")
public:
    QString cacheDir;
    QStringList queuedUris;
    QStringList flavours;
    bool answer = true;
    uint nextHandle = 41;

public slots:
    uint Queue(const QStringList &uris, const QStringList &, const QString &flavor, const QString &, uint)
    {
        const uint handle = nextHandle++;
        queuedUris += uris;
        flavours << flavor;
        if (!answer)
            return handle;
        for (const QString &uri : uris) {
            const QString file = QUrl(uri).toLocalFile();
            const QString target = cacheFile(cacheDir, qPrintable(flavor), file);
            QDir().mkpath(QFileInfo(target).path());
            saveThumbnail(filled(QSize(128, 96), Qt::red), target, uri, mtimeText(file));
        }
        QDBusMessage finished = QDBusMessage::createSignal(kPath, kService, u"Finished"_s);
        finished << handle;
        QDBusConnection::sessionBus().send(finished);
        return handle;
    }
};

} // namespace

class TestFreedesktopThumbnailer : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_cache;

    FreedesktopThumbnailer::Options offline() const
    {
        FreedesktopThumbnailer::Options options;
        options.cacheDir = m_cache;
        options.useThumbnailerService = false;
        return options;
    }

    // Runs generate() at 80 x 80 points and waits (in real time, bounded) for its answer.
    QImage generate(const QString &path, qreal scale, std::optional<FreedesktopThumbnailer::Options> options = {},
                    const ThumbnailTicket &ticket = {}, qint64 *elapsedMs = nullptr)
    {
        VirtualScheduler scheduler;
        FreedesktopThumbnailer thumbnailer(scheduler, options.value_or(offline()));
        std::optional<QImage> result;
        QElapsedTimer clock;
        clock.start();
        thumbnailer.generate(path, QSize(80, 80), scale, ticket, this, [&](QImage image) { result = image; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT((scheduler.runPending(), result.has_value()), 5000); }();
        if (elapsedMs)
            *elapsedMs = clock.elapsed();
        return result.value_or(QImage());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_cache = m_dir.filePath(u"cache"_s);
    }

    void imagesAreDecodedAtTheTargetSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("source");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("jpeg landscape") << "picture.jpg" << QSize(800, 600) << 1.0 << QSize(80, 60);
        QTest::newRow("jpeg at scale 2") << "picture.jpg" << QSize(800, 600) << 2.0 << QSize(160, 120);
        QTest::newRow("png portrait") << "picture.png" << QSize(300, 600) << 1.0 << QSize(40, 80);
        QTest::newRow("small image is not enlarged") << "picture.png" << QSize(20, 10) << 2.0 << QSize(20, 10);
        QTest::newRow("no extension: known by content") << "scan" << QSize(200, 100) << 1.0 << QSize(80, 40);
    }
    void imagesAreDecodedAtTheTargetSize()
    {
        QFETCH(QString, name);
        QFETCH(QSize, source);
        QFETCH(qreal, scale);
        const QString path = m_dir.filePath(name);
        saveImage(filled(source, Qt::darkGreen), path, name.endsWith(u".jpg") ? "jpg" : "png");
        QTEST(generate(path, scale).size(), "expected");
    }

    void nonImagesAndBrokenImagesGiveNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("png name, text inside") << "fake.png" << QByteArray("not a picture at all");
        QTest::newRow("truncated png") << "cut.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    }
    void nonImagesAndBrokenImagesGiveNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(name);
        QVERIFY(writeFile(path, bytes));
        QVERIFY(generate(path, 1.0).isNull());
    }

    void specialFilesAnswerAtOnceWithoutBeingRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo without writer") << "fifo";
        QTest::newRow("/dev/zero") << "zero";
        QTest::newRow("socket") << "socket";
    }
    void specialFilesAnswerAtOnceWithoutBeingRead()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(u"thing.png"_s);
        int socketFd = -1;
        if (kind == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == u"zero") {
            path = u"/dev/zero"_s;
        } else if (kind == u"socket") {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray native = QFile::encodeName(path);
            QVERIFY(size_t(native.size()) < sizeof(address.sun_path));
            std::copy(native.begin(), native.end(), address.sun_path);
            QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        }
        qint64 elapsed = 0;
        QVERIFY(generate(path, 2.0, {}, {}, &elapsed).isNull());
        QVERIFY2(elapsed < 500, qPrintable(QString::number(elapsed)));
        if (socketFd >= 0)
            ::close(socketFd);
    }

    void cacheAnswersForOtherFiles_data()
    {
        QTest::addColumn<QByteArray>("flavour");
        QTest::addColumn<bool>("sameMtime");
        QTest::addColumn<bool>("sameUri");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<bool>("found");
        QTest::newRow("normal at scale 1") << QByteArray("normal") << true << true << 1.0 << true;
        QTest::newRow("large at scale 2") << QByteArray("large") << true << true << 2.0 << true;
        QTest::newRow("only a smaller flavour") << QByteArray("normal") << true << true << 2.0 << true;
        QTest::newRow("stale modification time") << QByteArray("normal") << false << true << 1.0 << false;
        QTest::newRow("made for another file") << QByteArray("normal") << true << false << 1.0 << false;
    }
    void cacheAnswersForOtherFiles()
    {
        QFETCH(QByteArray, flavour);
        QFETCH(bool, sameMtime);
        QFETCH(bool, sameUri);
        QFETCH(qreal, scale);
        QFETCH(bool, found);
        QTemporaryDir cache;
        const QString path = m_dir.filePath(u"report %1.pdf"_s.arg(QString::fromLatin1(flavour)));
        QVERIFY(writeFile(path, "%PDF-1.4\n"));
        const QString target = cacheFile(cache.path(), flavour.constData(), path);
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        const QString uri = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
        saveThumbnail(filled(QSize(128, 128), Qt::yellow), target, sameUri ? uri : uri + u"x"_s,
                      sameMtime ? mtimeText(path) : u"12345"_s);

        FreedesktopThumbnailer::Options options = offline();
        options.cacheDir = cache.path();
        const QImage image = generate(path, scale, options);
        QCOMPARE(!image.isNull(), found);
        if (found) {
            QVERIFY(image.width() <= 80 * scale && image.height() <= 80 * scale);
            QCOMPARE(image.pixelColor(0, 0), QColor(Qt::yellow));
        }
    }

    void theServiceFillsTheCache_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::newRow("service answers") << true;
        QTest::newRow("service stays silent") << false;
    }
    void theServiceFillsTheCache()
    {
        QFETCH(bool, answers);
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            QSKIP("needs a session bus (run under dbus-run-session)");
        QTemporaryDir cache;
        FakeThumbnailerService service;
        service.cacheDir = cache.path();
        service.answer = answers;
        QVERIFY(bus.registerObject(kPath, &service, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(kService));

        const QString path = m_dir.filePath(u"slides.odp"_s);
        QVERIFY(writeFile(path, "PK\x03\x04"));

        FreedesktopThumbnailer::Options options;
        options.cacheDir = cache.path();
        options.serviceTimeoutMs = 300;
        qint64 elapsed = 0;
        const QImage image = generate(path, 2.0, options, {}, &elapsed);
        bus.unregisterService(kService);
        bus.unregisterObject(kPath);

        QCOMPARE(service.queuedUris, QStringList{QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded())});
        QCOMPARE(service.flavours, QStringList{u"large"_s});
        QCOMPARE(image.isNull(), !answers);
        if (answers)
            QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
        else
            QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed))); // the wait is bounded
    }

    void cancelledWorkIsSkippedButStillAnswered()
    {
        const QString path = m_dir.filePath(u"skip.png"_s);
        saveImage(filled(QSize(100, 100), Qt::black), path, "png");
        ThumbnailTicket ticket;
        ticket.cancel();
        QVERIFY(generate(path, 1.0, {}, ticket).isNull());
    }

    void answersForAGoneContextAreDropped()
    {
        const QString path = m_dir.filePath(u"gone.png"_s);
        saveImage(filled(QSize(100, 100), Qt::black), path, "png");
        VirtualScheduler scheduler;
        bool answered = false;
        {
            FreedesktopThumbnailer thumbnailer(scheduler, offline());
            auto context = std::make_unique<QObject>();
            thumbnailer.generate(path, QSize(80, 80), 1.0, ThumbnailTicket(), context.get(),
                                 [&](QImage) { answered = true; });
            context.reset();
        } // waits for the work in hand
        scheduler.runPending();
        QVERIFY(!answered);
    }
};

QTEST_GUILESS_MAIN(TestFreedesktopThumbnailer)
#include "tst_freedesktopthumbnailer.moc"
