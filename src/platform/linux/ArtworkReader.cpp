#include "ArtworkReader.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace talvo {

namespace {

ArtworkReader::Outcome failure(const QString &error)
{
    return {QByteArray(), error};
}

QString tooLarge(qint64 maxBytes)
{
    return QStringLiteral("artwork larger than %1 bytes").arg(maxBytes);
}

ArtworkReader::Outcome readFile(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(QStringLiteral("no artwork file at ") + path);
    // Devices, pipes and folders are never opened: reading one could block
    // the queue for good or never end.
    if (!info.isFile())
        return failure(QStringLiteral("not a regular file: ") + path);
    if (info.size() > maxBytes)
        return failure(tooLarge(maxBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return failure(tooLarge(maxBytes));
    return {bytes, QString()};
}

ArtworkReader::Outcome download(const QUrl &address, const ArtworkReader::Limits &limits)
{
    QNetworkAccessManager network;
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(int(limits.timeout.count()));
    QNetworkReply *reply = network.get(request);

    QByteArray body;
    QString error;
    QEventLoop loop;
    const auto stop = [&](const QString &why) {
        if (error.isEmpty())
            error = why;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        bool known = false;
        const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && declared > limits.maxBytes)
            stop(tooLarge(limits.maxBytes));
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        // Never more than one byte past the bound in memory.
        body += reply->read(limits.maxBytes - body.size() + 1);
        if (body.size() > limits.maxBytes)
            stop(tooLarge(limits.maxBytes));
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A server that trickles bytes keeps the transfer timeout from firing.
    QTimer::singleShot(limits.timeout, &loop, [&] {
        stop(QStringLiteral("artwork download took longer than %1 ms").arg(limits.timeout.count()));
    });
    if (!reply->isFinished())
        loop.exec();

    if (error.isEmpty() && reply->error() != QNetworkReply::NoError)
        error = reply->errorString();
    if (error.isEmpty())
        body += reply->read(limits.maxBytes - body.size() + 1);
    if (error.isEmpty() && body.size() > limits.maxBytes)
        error = tooLarge(limits.maxBytes);
    delete reply;
    if (!error.isEmpty())
        return failure(error);
    return {body, QString()};
}

} // namespace

ArtworkReader::Outcome ArtworkReader::read(const QUrl &address, const Limits &limits)
{
    if (address.isLocalFile())
        return readFile(address.toLocalFile(), limits.maxBytes);
    const QString scheme = address.scheme();
    if ((scheme == u"http" || scheme == u"https") && !address.host().isEmpty())
        return download(address, limits);
    return failure(QStringLiteral("unsupported artwork address: ") + address.toString(QUrl::RemoveUserInfo));
}

} // namespace talvo
