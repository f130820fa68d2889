#include "httpserver.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

#include <cerrno>

namespace http {

namespace {

// After the process ran out of file handles, accepting rests this long
// instead of spinning on the connection it cannot take.
constexpr int kAcceptRestMs = 200;

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Content Too Large";
    case 414: return "URI Too Long";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return "Status";
    }
}

} // namespace

QString clientOf(const QHostAddress& peer)
{
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    if (isV4)
        return QHostAddress(v4).toString();
    Q_IPV6ADDR v6 = peer.toIPv6Address();
    std::fill(std::begin(v6.c) + 8, std::end(v6.c), 0);
    return QHostAddress(v6).toString() + QStringLiteral("/64");
}

HttpReply::HttpReply(HttpConnection* connection, bool withBody, bool keepAlive)
    : m_connection(connection), m_withBody(withBody), m_keepAlive(keepAlive)
{
}

void HttpReply::send(int status, const QByteArray& contentType, const QByteArray& body, const QByteArray& fields)
{
    if (!m_connection)
        return; // the browser went away
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    head += "Server: utstatus\r\n";
    head += "Content-Type: " + contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    head += "Cache-Control: no-store\r\n";
    head += "X-Content-Type-Options: nosniff\r\n";
    // Pages carry no script at all; the policy makes sure none runs.
    head += "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'; img-src 'self' data:; "
            "frame-ancestors 'none'\r\n";
    head += fields;
    head += m_keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    m_connection->sent(m_withBody ? head + body : head, m_keepAlive);
    m_connection = nullptr;
}

HttpServer::HttpServer(Handler handler, HttpLimits limits, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_limits(limits), m_server(new QTcpServer(this))
{
}

bool HttpServer::listen(const QHostAddress& address, quint16 port)
{
    m_server->setListenBacklogSize(1024); // a burst of clients waits for accept, not in SYN retries
    if (!m_server->listen(address, port))
        return false;
    // Accepting is ours: Qt 6.4 retries an accept that failed for want of
    // file handles at once, and again, at full speed.
    m_server->pauseAccepting();
    m_acceptor = new QSocketNotifier(m_server->socketDescriptor(), QSocketNotifier::Read, this);
    connect(m_acceptor, &QSocketNotifier::activated, this, &HttpServer::accept);
    return true;
}

quint16 HttpServer::port() const { return m_server->serverPort(); }

QString HttpServer::errorString() const { return m_server->errorString(); }

bool HttpServer::addressInUse() const { return m_server->serverError() == QAbstractSocket::AddressInUseError; }

void HttpServer::accept()
{
    for (;;) {
        const int descriptor =
            ::accept4(static_cast<int>(m_server->socketDescriptor()), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                m_acceptor->setEnabled(false); // rest, then try again
                QTimer::singleShot(kAcceptRestMs, m_acceptor, [this] { m_acceptor->setEnabled(true); });
            }
            return;
        }
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        const QString client = clientOf(socket->peerAddress());
        if (m_connections >= m_limits.maxConnections || m_perClient.value(client) >= m_limits.maxPerClient) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_connections;
        ++m_perClient[client];
        new HttpConnection(socket, *this, client);
    }
}

void HttpServer::closed(const QString& client)
{
    --m_connections;
    if (--m_perClient[client] <= 0)
        m_perClient.remove(client);
}

HttpConnection::HttpConnection(QTcpSocket* socket, HttpServer& server, QString client)
    : QObject(&server), m_socket(socket), m_server(server), m_client(std::move(client)), m_timer(new QTimer(this))
{
    socket->setParent(this);
    // Unread bytes wait in the system's buffers, not ours: a client that
    // sends while its request is answered is held back by TCP itself.
    socket->setReadBufferSize(kLongestHead);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, socket, &QTcpSocket::abort);
    connect(socket, &QTcpSocket::readyRead, this, &HttpConnection::readRequest);
    connect(socket, &QTcpSocket::bytesWritten, this, &HttpConnection::readRequest);
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        m_server.closed(m_client);
        m_timer->stop();
        deleteLater();
    });
    waitFor(m_server.m_limits.headTimeoutMs);
}

void HttpConnection::waitFor(int ms) { m_timer->start(ms); }

void HttpConnection::readRequest()
{
    if (m_answering || m_socket->bytesToWrite() > 0 || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    const QByteArray pending = m_socket->peek(kLongestHead);
    if (pending.isEmpty())
        return;
    if (m_idle) {
        m_idle = false;
        waitFor(m_server.m_limits.headTimeoutMs);
    }
    const HeadParse parse = parseHead(pending);
    switch (parse.state) {
    case HeadParse::State::Incomplete: return;
    case HeadParse::State::Refused: refuse(parse); return;
    case HeadParse::State::Complete: break;
    }
    m_socket->skip(parse.length);
    m_answering = true;
    m_timer->stop();
    const RequestHead& head = parse.head;
    m_server.m_handler({head.method, head.target, head.host, m_socket->peerAddress()},
                       HttpReply(this, head.method != "HEAD", head.keepAlive));
}

void HttpConnection::refuse(const HeadParse& parse)
{
    m_answering = true;
    const QByteArray allow = parse.status == 405 ? "Allow: GET, HEAD\r\n" : QByteArray();
    HttpReply(this, true, false).send(parse.status, "text/plain; charset=utf-8", parse.why + '\n', allow);
}

void HttpConnection::sent(const QByteArray& bytes, bool keepAlive)
{
    m_socket->write(bytes);
    m_answering = false;
    if (!keepAlive) {
        m_socket->disconnectFromHost(); // once the reply has left
        waitFor(m_server.m_limits.idleTimeoutMs);
        m_answering = true; // no more requests on it
        return;
    }
    m_idle = true;
    waitFor(m_server.m_limits.idleTimeoutMs);
    // A request that came meanwhile is read once the reply has left.
    QMetaObject::invokeMethod(this, &HttpConnection::readRequest, Qt::QueuedConnection);
}

} // namespace http
