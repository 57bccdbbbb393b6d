#include "NetworkHttpClient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace talvo {

struct NetworkHttpClient::Exchange
{
    qint64 maxBodyBytes = 0;
    QPointer<const QObject> context;
    bool hasContext = false;
    Callback done;
    QByteArray body;
    TimerHandle timeout;
};

namespace {

// Errors Qt derives from the status code of a reply that arrived in full: the
// reply is still an answer (its body may say what went wrong), not a failure
// to get one.
bool isStatusCodeError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ContentReSendError:
    case QNetworkReply::ContentConflictError:
    case QNetworkReply::ContentGoneError:
    case QNetworkReply::UnknownContentError:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return true;
    default:
        return false;
    }
}

HttpResponse failure(HttpResponse::Outcome outcome, int statusCode, QString description)
{
    HttpResponse response;
    response.outcome = outcome;
    response.statusCode = statusCode;
    response.errorDescription = std::move(description);
    return response;
}

} // namespace

NetworkHttpClient::NetworkHttpClient(Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_scheduler(scheduler)
{
}

NetworkHttpClient::~NetworkHttpClient()
{
    // Replies die with the access manager, and their last signals must not
    // reach callers that outlive this client.
    for (auto &[reply, exchange] : m_exchanges) {
        exchange->timeout.cancel();
        reply->disconnect(this);
        reply->abort();
        delete reply;
    }
}

void NetworkHttpClient::get(const HttpRequest &request, const QObject *context, Callback done)
{
    auto exchange = std::make_unique<Exchange>();
    exchange->maxBodyBytes = request.maxBodyBytes;
    exchange->context = context;
    exchange->hasContext = context != nullptr;
    exchange->done = std::move(done);

    const QString scheme = request.url.scheme();
    if (!request.url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        const HttpResponse response = failure(HttpResponse::Outcome::TransportError, 0,
                                              QStringLiteral("Not an http(s) address: ") + request.url.toString());
        m_scheduler.post(this, [exchange = std::shared_ptr<Exchange>(std::move(exchange)), response] {
            if (!exchange->hasContext || exchange->context)
                exchange->done(response);
        });
        return;
    }

    QNetworkRequest networkRequest(request.url);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);

    QNetworkReply *reply = m_network.get(networkRequest);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        const auto it = m_exchanges.find(reply);
        if (it == m_exchanges.end())
            return;
        bool known = false;
        const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && declared > it->second->maxBodyBytes) {
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            finish(reply, failure(HttpResponse::Outcome::TooLarge, status,
                                  QStringLiteral("Reply of %1 bytes exceeds the limit of %2 bytes")
                                      .arg(declared)
                                      .arg(it->second->maxBodyBytes)));
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { readAvailable(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { replyFinished(reply); });
    exchange->timeout = m_scheduler.after(request.timeout, this, [this, reply, timeout = request.timeout] {
        finish(reply, failure(HttpResponse::Outcome::TimedOut, 0,
                              QStringLiteral("No complete reply within %1 ms").arg(timeout.count())));
    });
    m_exchanges.emplace(reply, std::move(exchange));
}

void NetworkHttpClient::readAvailable(QNetworkReply *reply)
{
    const auto it = m_exchanges.find(reply);
    if (it == m_exchanges.end())
        return;
    Exchange &exchange = *it->second;
    // Read at most one byte past the limit, so a huge body never sits in memory.
    const qint64 room = exchange.maxBodyBytes - exchange.body.size() + 1;
    exchange.body += reply->read(room);
    if (exchange.body.size() > exchange.maxBodyBytes) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        finish(reply, failure(HttpResponse::Outcome::TooLarge, status,
                              QStringLiteral("Reply exceeds the limit of %1 bytes").arg(exchange.maxBodyBytes)));
    }
}

void NetworkHttpClient::replyFinished(QNetworkReply *reply)
{
    readAvailable(reply);
    const auto it = m_exchanges.find(reply);
    if (it == m_exchanges.end())
        return;

    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int status = statusAttribute.toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::NoError || (statusAttribute.isValid() && isStatusCodeError(error))) {
        HttpResponse response;
        response.outcome = HttpResponse::Outcome::Completed;
        response.statusCode = status;
        response.body = std::move(it->second->body);
        finish(reply, std::move(response));
        return;
    }
    // A status line arrived, so the service answered; the body ended early.
    const auto outcome = statusAttribute.isValid() ? HttpResponse::Outcome::Truncated
                                                   : HttpResponse::Outcome::TransportError;
    finish(reply, failure(outcome, status, reply->errorString()));
}

void NetworkHttpClient::finish(QNetworkReply *reply, HttpResponse response)
{
    const auto it = m_exchanges.find(reply);
    if (it == m_exchanges.end())
        return;
    std::unique_ptr<Exchange> exchange = std::move(it->second);
    m_exchanges.erase(it);
    exchange->timeout.cancel();
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    if (!exchange->hasContext || exchange->context)
        exchange->done(response);
}

} // namespace talvo
