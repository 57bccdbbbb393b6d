#pragma once

#include "platform/Thumbnailer.h"

#include <QList>
#include <QPointer>

namespace talvo {

// Records each request; the test answers it (or never does) with answer().
class FakeThumbnailer final : public Thumbnailer
{
public:
    struct Request
    {
        QString path;
        QSize size;
        qreal scale = 0;
        ThumbnailTicket ticket;
        QPointer<const QObject> context;
        Done done;
    };

    void generate(const QString &path, QSize size, qreal scale, const ThumbnailTicket &ticket,
                  const QObject *context, Done done) override
    {
        requests.append(Request{path, size, scale, ticket, context, std::move(done)});
    }

    // Delivers `image` (null: no thumbnail) for request `index`, as the real
    // thumbnailer would on the main thread.
    void answer(int index, const QImage &image)
    {
        Request &request = requests[index];
        if (request.context && request.done)
            std::exchange(request.done, {})(image);
    }

    QList<Request> requests;
};

} // namespace talvo
