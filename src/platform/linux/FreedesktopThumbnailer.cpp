#include "FreedesktopThumbnailer.h"

#include "platform/Scheduler.h"

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QMutex>
#include <QPointer>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace talvo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.thumbnails.Thumbnailer1");
const QString kServicePath = QStringLiteral("/org/freedesktop/thumbnails/Thumbnailer1");
const QString kServiceInterface = kService;

struct Flavour
{
    const char *name;
    int pixels;
};
constexpr Flavour kFlavours[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};

// Opens `path` for reading only if it is a regular file. The descriptor is
// opened non-blocking (opening a FIFO would otherwise wait for a writer) and
// checked itself, so a file swapped for a FIFO after the first look is caught.
std::optional<struct stat> openRegularFile(const QString &path, QFile &file)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat before{};
    if (::stat(native.constData(), &before) != 0 || !S_ISREG(before.st_mode))
        return std::nullopt;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat opened{};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return opened;
}

QImage fitInto(QImage image, QSize pixels)
{
    if (image.isNull() || (image.width() <= pixels.width() && image.height() <= pixels.height()))
        return image;
    return image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Decodes an image at (at most) the target size without decoding it whole
// first where the format allows (JPEG scales while decoding).
QImage decodeScaled(QIODevice &device, QSize pixels)
{
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {};
    const QSize stored = reader.size();
    if (stored.isValid() && (stored.width() > pixels.width() || stored.height() > pixels.height())) {
        // The scaled size applies before the EXIF rotation.
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        QSize box = pixels;
        if (turned)
            box.transpose();
        reader.setScaledSize(stored.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    return fitInto(reader.read(), pixels);
}

// Receives the service's signals on the worker thread that asked.
class ServiceWaiter : public QObject
{
    Q_OBJECT
public:
    QSet<uint> finished;
    QEventLoop loop;
    uint handle = 0;
    bool haveHandle = false;

public slots:
    void onFinished(uint finishedHandle)
    {
        finished.insert(finishedHandle);
        if (haveHandle && finishedHandle == handle)
            loop.quit();
    }
};

} // namespace

struct FreedesktopThumbnailer::Shared
{
    std::atomic<bool> stopping{false};
    QMutex mutex;
    std::optional<bool> serviceAvailable;
};

FreedesktopThumbnailer::FreedesktopThumbnailer(Scheduler &scheduler) : FreedesktopThumbnailer(scheduler, Options{}) {}

FreedesktopThumbnailer::FreedesktopThumbnailer(Scheduler &scheduler, Options options)
    : m_scheduler(scheduler), m_options(std::move(options)), m_shared(std::make_shared<Shared>())
{
    if (m_options.cacheDir.isEmpty())
        m_options.cacheDir = defaultCacheDir();
    m_pool.setMaxThreadCount(m_options.threads > 0 ? m_options.threads
                                                    : std::clamp(QThread::idealThreadCount(), 2, 4));
    m_pool.setObjectName(QStringLiteral("thumbnails"));
}

FreedesktopThumbnailer::~FreedesktopThumbnailer()
{
    m_shared->stopping = true;
    m_pool.clear();
    m_pool.waitForDone();
}

QString FreedesktopThumbnailer::defaultCacheDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/thumbnails");
}

QByteArray FreedesktopThumbnailer::cacheKey(const QString &absolutePath)
{
    const QByteArray uri = QUrl::fromLocalFile(absolutePath).toEncoded();
    return QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
}

void FreedesktopThumbnailer::generate(const QString &path, QSize size, qreal scale, const ThumbnailTicket &ticket,
                                      const QObject *context, Done done)
{
    const QSize pixels = (QSizeF(size) * scale).toSize().expandedTo(QSize(1, 1));
    // The guard is made here, on the main thread: the context may be gone by
    // the time the worker finishes, and a worker must never touch it.
    QPointer<const QObject> guard(context);
    m_pool.start([this, path, pixels, ticket, guard, hasContext = context != nullptr, done = std::move(done)]() mutable {
        QImage image;
        if (!ticket.isCancelled() && !m_shared->stopping)
            image = thumbnail(path, pixels, ticket);
        m_scheduler.post(nullptr, [guard, hasContext, done = std::move(done), image = std::move(image)] {
            if (hasContext && !guard)
                return;
            done(image);
        });
    });
}

QImage FreedesktopThumbnailer::thumbnail(const QString &path, QSize pixels, const ThumbnailTicket &ticket) const
{
    QFile file;
    const auto info = openRegularFile(path, file);
    if (!info)
        return {};

    static const QMimeDatabase mimeDatabase;
    const QMimeType type = mimeDatabase.mimeTypeForFileNameAndData(path, &file);
    file.seek(0);
    // Only what is known to be an image is decoded: some image plugins accept
    // almost any bytes and would draw noise for an unknown file.
    if (type.name().startsWith(QLatin1String("image/"))) {
        QImage image = decodeScaled(file, pixels);
        if (!image.isNull())
            return image;
    }
    file.close();

    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QByteArray uri = QUrl::fromLocalFile(absolute).toEncoded();
    const qint64 mtime = qint64(info->st_mtim.tv_sec);
    QImage cached = fromCache(absolute, uri, mtime, pixels);
    if (!cached.isNull() || ticket.isCancelled() || m_shared->stopping || !m_options.useThumbnailerService)
        return cached;
    if (!askService(absolute, uri, pixels) || ticket.isCancelled())
        return {};
    return fromCache(absolute, uri, mtime, pixels);
}

QImage FreedesktopThumbnailer::fromCache(const QString &path, const QByteArray &uri, qint64 mtime,
                                         QSize pixels) const
{
    const QString name = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex())
        + QStringLiteral(".png");
    const int need = std::max(pixels.width(), pixels.height());
    // The smallest flavour that is big enough first, then bigger ones, then
    // smaller ones (a blurry picture beats none).
    QList<const Flavour *> order;
    for (const Flavour &flavour : kFlavours) {
        if (flavour.pixels >= need)
            order.append(&flavour);
    }
    for (auto it = std::rbegin(kFlavours); it != std::rend(kFlavours); ++it) {
        if (it->pixels < need)
            order.append(&*it);
    }
    for (const Flavour *flavour : std::as_const(order)) {
        QFile file;
        if (!openRegularFile(m_options.cacheDir + u'/' + QLatin1String(flavour->name) + u'/' + name, file))
            continue;
        QImageReader reader(&file, "png");
        // Read whole first: before decoding, the reader splits text keys at
        // the colon ("Thumb::URI" would read as "Thumb").
        const QImage image = reader.read();
        // A thumbnail is valid only for the file and the version it was made
        // from.
        const QString storedUri = image.text(QStringLiteral("Thumb::URI"));
        const QString storedMtime = image.text(QStringLiteral("Thumb::MTime"));
        if (image.isNull() || storedMtime.isEmpty() || storedMtime.toLongLong() != mtime)
            continue;
        if (!storedUri.isEmpty() && storedUri.toUtf8() != uri && QUrl(storedUri).toLocalFile() != path)
            continue;
        return fitInto(image, pixels);
    }
    return {};
}

bool FreedesktopThumbnailer::askService(const QString &path, const QByteArray &uri, QSize pixels) const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    {
        QMutexLocker lock(&m_shared->mutex);
        if (!m_shared->serviceAvailable) {
            QDBusConnectionInterface *bus_interface = bus.interface();
            bool available = bus_interface && bus_interface->isServiceRegistered(kService).value();
            if (!available && bus_interface)
                available = bus_interface->activatableServiceNames().value().contains(kService);
            m_shared->serviceAvailable = available;
        }
        if (!*m_shared->serviceAvailable)
            return false;
    }

    const int need = std::max(pixels.width(), pixels.height());
    const QString flavour = QLatin1String(need > 128 ? "large" : "normal");
    static const QMimeDatabase mimeDatabase;
    const QString mime = mimeDatabase.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();

    ServiceWaiter waiter;
    bus.connect(kService, kServicePath, kServiceInterface, QStringLiteral("Finished"), &waiter,
                SLOT(onFinished(uint)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kServicePath, kServiceInterface, QStringLiteral("Queue"));
    call << QStringList{QString::fromUtf8(uri)} << QStringList{mime} << flavour << QStringLiteral("default") << 0u;
    const QDBusMessage reply = bus.call(call, QDBus::Block, m_options.serviceTimeoutMs);
    bool answered = false;
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        waiter.handle = reply.arguments().constFirst().toUInt();
        waiter.haveHandle = true;
        if (!waiter.finished.contains(waiter.handle)) {
            QTimer::singleShot(m_options.serviceTimeoutMs, &waiter.loop, &QEventLoop::quit);
            waiter.loop.exec();
        }
        answered = waiter.finished.contains(waiter.handle);
    }
    bus.disconnect(kService, kServicePath, kServiceInterface, QStringLiteral("Finished"), &waiter,
                   SLOT(onFinished(uint)));
    return answered;
}

} // namespace talvo

#include "FreedesktopThumbnailer.moc"
