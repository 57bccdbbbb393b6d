#include "LoopbackHttpServer.h"

#include <QTcpSocket>

namespace talvo {

namespace {

// Requests larger than this are refused; no test needs more.
constexpr qsizetype kMaxRequestBytes = 1024 * 1024;

} // namespace

LoopbackHttpServer::Reply LoopbackHttpServer::Reply::typed(const QByteArray &contentType, const QByteArray &body,
                                                            int status)
{
    Reply reply;
    reply.status = status;
    reply.body = body;
    reply.headers = {{"Content-Type", contentType}};
    return reply;
}

LoopbackHttpServer::Reply LoopbackHttpServer::Reply::json(const QByteArray &body, int status)
{
    return typed("application/json", body, status);
}

LoopbackHttpServer::Reply LoopbackHttpServer::Reply::text(const QByteArray &body, int status)
{
    return typed("text/plain; charset=utf-8", body, status);
}

QByteArray LoopbackHttpServer::Request::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

LoopbackHttpServer::LoopbackHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            m_buffers.insert(socket, {});
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    // Close connections while the bookkeeping their signals touch still exists.
    for (QTcpSocket *socket : m_buffers.keys()) {
        socket->disconnect(this);
        delete socket;
    }
}

bool LoopbackHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 LoopbackHttpServer::port() const
{
    return m_server.serverPort();
}

QUrl LoopbackHttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(pathAndQuery));
}

void LoopbackHttpServer::setReply(const QString &path, const Reply &reply)
{
    m_standing.insert(path, reply);
}

void LoopbackHttpServer::enqueueReply(const QString &path, const Reply &reply)
{
    m_queued[path].append(reply);
}

int LoopbackHttpServer::requestCount(const QString &path) const
{
    if (path.isEmpty())
        return int(m_requests.size());
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&path](const Request &request) { return request.path == path; }));
}

int LoopbackHttpServer::heldCount() const
{
    return int(m_held.size());
}

bool LoopbackHttpServer::release(int index)
{
    if (index < 0 || index >= m_held.size())
        return false;
    const Held held = m_held.takeAt(index);
    if (held.socket)
        send(held.socket, held.reply);
    return true;
}

void LoopbackHttpServer::releaseAll()
{
    while (!m_held.isEmpty())
        release(0);
}

void LoopbackHttpServer::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    if (buffer.size() > kMaxRequestBytes) {
        socket->abort();
        return;
    }
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3) {
        socket->abort();
        return;
    }
    Request request;
    request.method = requestLine[0];
    request.target = requestLine[1];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    const qsizetype bodyLength = request.header("Content-Length").toLongLong();
    if (buffer.size() < headerEnd + 4 + bodyLength)
        return; // the rest of the body is still on its way
    request.body = buffer.mid(headerEnd + 4, bodyLength);
    buffer.clear();

    const QUrl target = QUrl::fromEncoded("http://127.0.0.1" + request.target);
    request.path = target.path();
    request.query = QUrlQuery(target);
    m_requests.append(request);
    answer(socket, request);
}

void LoopbackHttpServer::answer(QTcpSocket *socket, const Request &request)
{
    Reply reply;
    if (auto queued = m_queued.find(request.path); queued != m_queued.end() && !queued->isEmpty())
        reply = queued->takeFirst();
    else if (auto standing = m_standing.constFind(request.path); standing != m_standing.constEnd())
        reply = *standing;
    else
        reply = Reply::text("not found", 404);

    if (reply.hold) {
        m_held.append({socket, reply});
        return;
    }
    send(socket, reply);
}

void LoopbackHttpServer::send(QTcpSocket *socket, const Reply &reply)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    if (reply.closeWithoutReply) {
        socket->disconnectFromHost();
        return;
    }
    // Clients read the status code, not the reason phrase.
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\n";
    for (const auto &[name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    if (reply.sendContentLength)
        head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    socket->write(reply.truncateAfter >= 0 ? reply.body.left(reply.truncateAfter) : reply.body);
    socket->disconnectFromHost();
}

} // namespace talvo
