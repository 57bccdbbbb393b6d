#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <utility>

namespace talvo {

struct HttpRequest
{
    QUrl url;
    // Sent as they stand, in addition to what the HTTP stack always sends.
    QList<std::pair<QByteArray, QByteArray>> headers;
    // A body longer than this (after content decoding) is not delivered.
    qint64 maxBodyBytes = 1024 * 1024;
    // The whole exchange, from the call to the last byte.
    std::chrono::milliseconds timeout{30000};
};

struct HttpResponse
{
    enum class Outcome {
        Completed,      // a whole reply arrived, whatever its status code
        TransportError, // no reply: refused, unreachable, TLS failure, reset before the status line
        TimedOut,       // the exchange took longer than the request's timeout
        Truncated,      // the reply started but its body ended early
        TooLarge,       // the body would exceed the request's maxBodyBytes
    };

    Outcome outcome = Outcome::TransportError;
    int statusCode = 0;        // 0 when no status line arrived
    QByteArray body;           // only for Completed
    QString errorDescription;  // for every outcome except Completed

    // The service could not be reached at all (as opposed to a bad answer).
    bool isTransportFailure() const
    {
        return outcome == Outcome::TransportError || outcome == Outcome::TimedOut;
    }
};

// Plain HTTP(S) GET requests with bounded size and time. Redirects are followed
// unless they lead from HTTPS to HTTP.
//
// Main thread only. The callback runs once on the main thread, never from
// inside get(), and not at all if `context` has been destroyed by then or the
// client is destroyed first (which also ends the exchange).
class HttpClient
{
public:
    using Callback = std::function<void(const HttpResponse &)>;
    virtual ~HttpClient() = default;
    virtual void get(const HttpRequest &request, const QObject *context, Callback done) = 0;
};

} // namespace talvo
