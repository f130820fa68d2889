#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

#include <functional>

class QTcpServer;

// A small HTTP/1.1 server for GET requests: enough for pages in a browser
// pane and for load tools, with keep-alive and bounded request sizes. Replies
// may come later than the request, on the same event loop; a reply to a
// connection that has gone is dropped.
namespace statusservice {

struct HttpRequest {
    QByteArray method;
    QByteArray target; // path and query as sent, still percent-encoded
    QHostAddress peer;
};

class HttpReply {
public:
    // sent: called once the reply is on its way, to read the connection's next request.
    HttpReply(QTcpSocket* socket, bool keepAlive, std::function<void()> sent = {})
        : m_socket(socket), m_keepAlive(keepAlive), m_sent(std::move(sent))
    {
    }
    void send(int status, const QByteArray& contentType, const QByteArray& body);

private:
    QPointer<QTcpSocket> m_socket;
    bool m_keepAlive;
    std::function<void()> m_sent;
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const HttpRequest&, HttpReply)>;

    HttpServer(Handler handler, QObject* parent = nullptr);
    bool listen(const QHostAddress& address, quint16 port);
    quint16 port() const;
    QString errorString() const;
    bool addressInUse() const; // the last listen failed because something else listens there

private:
    void accept();
    void read(QTcpSocket* socket);

    Handler m_handler;
    QTcpServer* m_server;
};

} // namespace statusservice
