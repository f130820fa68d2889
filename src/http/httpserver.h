#pragma once

#include "httphead.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QPointer>

#include <functional>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;
class QTimer;

// A small HTTP/1.1 server for GET and HEAD: enough for pages in a browser
// pane and for load tools, with keep-alive. Replies may come later than the
// request, on the same event loop; a reply to a connection that has gone is
// dropped. Every connection is bounded: its head in bytes and time, its idle
// time between requests, what it may have unread or unsent; and so are the
// connections in total and from one client.
namespace http {

struct HttpLimits {
    int headTimeoutMs = 10000; // from a request's first byte to its whole head
    int idleTimeoutMs = 5000;  // a kept-alive connection with no request
    int maxConnections = 512;
    int maxPerClient = 64; // from one IPv4 address or IPv6 /64: a LAN party behind one address
};

// The clients counted together: an IPv4 address, or an IPv6 /64.
QString clientOf(const QHostAddress& peer);

struct HttpRequest {
    QByteArray method;
    QByteArray target; // path and query as sent, still percent-encoded
    QByteArray host;   // the Host field
    QHostAddress peer;
};

class HttpConnection;

class HttpReply {
public:
    HttpReply(HttpConnection* connection, bool withBody, bool keepAlive);
    // fields: more head lines, each ending in CR LF.
    void send(int status, const QByteArray& contentType, const QByteArray& body, const QByteArray& fields = {});

private:
    QPointer<HttpConnection> m_connection;
    bool m_withBody;
    bool m_keepAlive;
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const HttpRequest&, HttpReply)>;

    explicit HttpServer(Handler handler, HttpLimits limits = {}, QObject* parent = nullptr);
    bool listen(const QHostAddress& address, quint16 port);
    quint16 port() const;
    QString errorString() const;
    bool addressInUse() const; // the last listen failed because something else listens there
    int connections() const { return m_connections; }

private:
    friend class HttpConnection;
    void accept();
    void closed(const QString& client);

    Handler m_handler;
    HttpLimits m_limits;
    QTcpServer* m_server;
    QSocketNotifier* m_acceptor = nullptr;
    int m_connections = 0;
    QHash<QString, int> m_perClient;
};

// One client's connection: reads one request at a time, and the next only
// once the reply before it has left, so a client that sends without reading
// holds at most one head and one reply.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    HttpConnection(QTcpSocket* socket, HttpServer& server, QString client);

private:
    friend class HttpReply;
    void readRequest();
    void refuse(const HeadParse& parse);
    void sent(const QByteArray& bytes, bool keepAlive);
    void waitFor(int ms);

    QTcpSocket* m_socket;
    HttpServer& m_server;
    QString m_client;
    QTimer* m_timer;
    bool m_answering = false;
    bool m_idle = false; // waiting for a request's first byte
};

} // namespace http
