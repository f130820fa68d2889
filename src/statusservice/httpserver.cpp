#include "httpserver.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace statusservice {

namespace {

constexpr qsizetype kLongestHead = 16 * 1024;

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

} // namespace

void HttpReply::send(int status, const QByteArray& contentType, const QByteArray& body)
{
    if (!m_socket)
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
    head += m_keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    m_socket->write(head + body);
    if (!m_keepAlive)
        m_socket->disconnectFromHost();
    else if (m_sent)
        m_sent();
}

HttpServer::HttpServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &HttpServer::accept);
}

bool HttpServer::listen(const QHostAddress& address, quint16 port) { return m_server->listen(address, port); }

quint16 HttpServer::port() const { return m_server->serverPort(); }

QString HttpServer::errorString() const { return m_server->errorString(); }

bool HttpServer::addressInUse() const { return m_server->serverError() == QAbstractSocket::AddressInUseError; }

void HttpServer::accept()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HttpServer::read(QTcpSocket* socket)
{
    // One request at a time per connection, so replies keep the requests'
    // order; GET requests have no body.
    if (socket->property("answering").toBool())
        return;
    for (;;) {
        const QByteArray pending = socket->peek(kLongestHead + 4);
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0) {
            if (pending.size() > kLongestHead) {
                HttpReply(socket, false).send(400, "text/plain", "request too large\n");
                socket->readAll();
            }
            return;
        }
        const QByteArray head = socket->read(end + 4);
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
        if (requestLine.size() != 3) {
            HttpReply(socket, false).send(400, "text/plain", "bad request\n");
            return;
        }
        bool keepAlive = requestLine[2] == "HTTP/1.1";
        for (const QByteArray& line : lines) {
            const QByteArray lower = line.trimmed().toLower();
            if (lower.startsWith("connection:"))
                keepAlive = lower.contains("keep-alive") || (keepAlive && !lower.contains("close"));
        }
        HttpRequest request{requestLine[0], requestLine[1], socket->peerAddress()};
        if (request.method != "GET" && request.method != "HEAD") {
            HttpReply(socket, false).send(405, "text/plain", "only GET\n");
            return;
        }
        socket->setProperty("answering", true);
        QPointer<QTcpSocket> guard(socket);
        m_handler(request, HttpReply(socket, keepAlive, [this, guard] {
                      if (!guard)
                          return;
                      guard->setProperty("answering", false);
                      QMetaObject::invokeMethod(
                          this,
                          [this, guard] {
                              if (guard)
                                  read(guard);
                          },
                          Qt::QueuedConnection);
                  }));
        return;
    }
}

} // namespace statusservice
