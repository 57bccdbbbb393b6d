#pragma once

#include "platform/HttpClient.h"
#include "platform/Scheduler.h"

#include <QNetworkAccessManager>
#include <QObject>

#include <memory>
#include <unordered_map>

class QNetworkReply;

namespace talvo {

// HttpClient over QNetworkAccessManager. The size bound is enforced while the
// body streams in (a declared length over the bound ends the exchange before
// any of the body is read); the time bound runs on the scheduler.
class NetworkHttpClient final : public QObject, public HttpClient
{
    Q_OBJECT
public:
    explicit NetworkHttpClient(Scheduler &scheduler, QObject *parent = nullptr);
    ~NetworkHttpClient() override;

    void get(const HttpRequest &request, const QObject *context, Callback done) override;

private:
    struct Exchange;
    void finish(QNetworkReply *reply, HttpResponse response);
    void readAvailable(QNetworkReply *reply);
    void replyFinished(QNetworkReply *reply);

    Scheduler &m_scheduler;
    QNetworkAccessManager m_network;
    std::unordered_map<QNetworkReply *, std::unique_ptr<Exchange>> m_exchanges;
};

} // namespace talvo
