#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>

#include <utility>

class QTcpSocket;

namespace talvo {

// A small HTTP/1.1 server on 127.0.0.1 for tests of code that talks to web
// services. It listens on a free port, answers each path with canned replies
// and records every request. One request per connection: every reply carries
// "Connection: close" and the server closes the connection after it.
//
// Replies are chosen per path (the request target without its query):
// replies queued with enqueueReply() are used first, one per request, in
// order; then the standing reply set with setReply(); paths with neither get
// 404. A reply can be held until the test releases it, cut short after some
// bytes of its body, sent without a length (ended by closing the connection)
// or replaced by closing the connection without any answer.
// Main thread only; works with the test's event loop (QTRY_* macros, QSignalSpy::wait).
class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
        // Sent after the status line, before Content-Length and Connection.
        QList<std::pair<QByteArray, QByteArray>> headers;
        bool hold = false;            // wait for release()
        qint64 truncateAfter = -1;    // >= 0: declare the full length, send only this many body bytes, close
        bool sendContentLength = true; // false: the body ends when the connection closes
        bool closeWithoutReply = false; // drop the connection after reading the request

        static Reply typed(const QByteArray &contentType, const QByteArray &body, int status = 200);
        static Reply json(const QByteArray &body, int status = 200);
        static Reply text(const QByteArray &body, int status = 200);
    };

    struct Request
    {
        QByteArray method;
        QByteArray target; // as sent: path and query, still percent-encoded
        QString path;      // decoded
        QUrlQuery query;
        QList<std::pair<QByteArray, QByteArray>> headers;
        QByteArray body;
        // The first header of that name (case-insensitive), or empty.
        QByteArray header(const QByteArray &name) const;
    };

    explicit LoopbackHttpServer(QObject *parent = nullptr);
    ~LoopbackHttpServer() override;

    // Starts listening on 127.0.0.1 at a free port.
    bool listen();
    quint16 port() const;
    // "http://127.0.0.1:<port>", with `pathAndQuery` appended (it should start with "/").
    QUrl url(const QString &pathAndQuery = {}) const;

    void setReply(const QString &path, const Reply &reply);
    void enqueueReply(const QString &path, const Reply &reply);

    QList<Request> requests() const { return m_requests; }
    // All requests, or those to one path.
    int requestCount(const QString &path = {}) const;
    // Replies waiting for release(), in the order their requests arrived.
    int heldCount() const;
    // Sends the held reply at `index` (0: the oldest); false when there is none.
    bool release(int index = 0);
    void releaseAll();

private:
    struct Held
    {
        QPointer<QTcpSocket> socket;
        Reply reply;
    };
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);
    static void send(QTcpSocket *socket, const Reply &reply);

    QTcpServer m_server;
    QHash<QString, Reply> m_standing;
    QHash<QString, QList<Reply>> m_queued;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<Request> m_requests;
    QList<Held> m_held;
};

} // namespace talvo
