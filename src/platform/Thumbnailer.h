#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace talvo {

// Lets the asker tell a thumbnailer that an answer is no longer wanted, so a
// backend can skip work that has not started yet. Copies share the state;
// safe to read on any thread.
class ThumbnailTicket
{
public:
    ThumbnailTicket() : m_cancelled(std::make_shared<std::atomic<bool>>(false)) {}
    void cancel() { m_cancelled->store(true); }
    bool isCancelled() const { return m_cancelled->load(); }

private:
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};

// Makes small pictures of files.
//
// generate() is called on the main thread and returns at once; the work runs
// elsewhere. `done` runs on the main thread exactly once, unless `context` is
// gone by then: with the thumbnail (at most size * scale device pixels, aspect
// kept) or with a null image when the file has none. It may run late: the
// caller decides how long it waits. Only regular files are ever opened; a
// FIFO, device or socket answers null without being opened.
class Thumbnailer
{
public:
    using Done = std::function<void(QImage)>;

    virtual ~Thumbnailer() = default;

    // `size` in logical pixels; `scale` device pixels per logical pixel.
    virtual void generate(const QString &path, QSize size, qreal scale, const ThumbnailTicket &ticket,
                          const QObject *context, Done done) = 0;
};

} // namespace talvo
