#pragma once

#include "platform/Thumbnailer.h"

#include <QThreadPool>

#include <memory>

namespace talvo {

class Scheduler;

// Thumbnails on worker threads:
// 1. a file Qt can decode as an image is decoded straight at the target size
//    (QImageReader::setScaledSize, so JPEGs are scaled while decoding);
// 2. otherwise the freedesktop thumbnail cache (~/.cache/thumbnails/<flavour>/
//    <md5 of the file URI>.png), trusted only when its recorded URI and
//    modification time match the file;
// 3. otherwise, where the desktop runs one, the thumbnailer D-Bus service
//    (org.freedesktop.thumbnails.Thumbnailer1) is asked to fill the cache and
//    the cache is read again.
//
// The file is opened without blocking and checked to be a regular file
// through the opened descriptor, so a FIFO, device or socket (also one swapped
// in after the caller's check) is never read. Work whose ticket is cancelled
// before it starts is skipped. Results reach `done` through Scheduler::post().
class FreedesktopThumbnailer final : public Thumbnailer
{
public:
    struct Options
    {
        // The cache's root; empty: $XDG_CACHE_HOME/thumbnails.
        QString cacheDir;
        bool useThumbnailerService = true;
        // Longest wait for the service to answer one file.
        int serviceTimeoutMs = 1500;
        // Worker threads; 0: as many as cores, between 2 and 4.
        int threads = 0;
    };

    explicit FreedesktopThumbnailer(Scheduler &scheduler);
    FreedesktopThumbnailer(Scheduler &scheduler, Options options);
    // Drops queued work and waits for the work in hand.
    ~FreedesktopThumbnailer() override;

    void generate(const QString &path, QSize size, qreal scale, const ThumbnailTicket &ticket,
                  const QObject *context, Done done) override;

    // The same work, on the calling thread (for tests and the benchmark).
    QImage thumbnail(const QString &path, QSize pixels, const ThumbnailTicket &ticket) const;

    static QString defaultCacheDir();
    // The key the freedesktop cache files a thumbnail under.
    static QByteArray cacheKey(const QString &absolutePath);

private:
    struct Shared;

    QImage fromCache(const QString &path, const QByteArray &uri, qint64 mtime, QSize pixels) const;
    bool askService(const QString &path, const QByteArray &uri, QSize pixels) const;

    Scheduler &m_scheduler;
    Options m_options;
    std::shared_ptr<Shared> m_shared;
    QThreadPool m_pool;
};

} // namespace talvo
