#pragma once

#include "platform/HttpClient.h"

#include <QPointer>

namespace talvo {

// Records requests; the test answers them in any order with reply().
class FakeHttpClient final : public HttpClient
{
public:
    struct Pending
    {
        HttpRequest request;
        QPointer<const QObject> context;
        Callback done;
    };

    void get(const HttpRequest &request, const QObject *context, Callback done) override
    {
        m_pending.append({request, context, std::move(done)});
        m_requested.append(request.url);
    }

    QList<QUrl> requested() const { return m_requested; }
    int pendingCount() const { return int(m_pending.size()); }
    const HttpRequest &pendingRequest(int index = 0) const { return m_pending.at(index).request; }

    // Answers the request at `index` (0: the oldest).
    void reply(const HttpResponse &response, int index = 0)
    {
        Pending pending = m_pending.takeAt(index);
        if (pending.context)
            pending.done(response);
    }
    void replyBody(const QByteArray &body, int index = 0)
    {
        HttpResponse response;
        response.outcome = HttpResponse::Outcome::Completed;
        response.statusCode = 200;
        response.body = body;
        reply(response, index);
    }

private:
    QList<Pending> m_pending;
    QList<QUrl> m_requested;
};

} // namespace talvo
