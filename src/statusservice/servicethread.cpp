#include "servicethread.h"

#include <QTcpSocket>

namespace statusservice {

Listener probe(const QHostAddress& address, quint16 port, int timeoutMs)
{
    QTcpSocket socket;
    socket.connectToHost(address, port);
    if (!socket.waitForConnected(timeoutMs))
        return Listener::Nobody;
    socket.write("GET /php/UTstats/lobby2.html HTTP/1.0\r\nHost: probe\r\n\r\n");
    QByteArray head;
    while (!head.contains("\r\n\r\n") && socket.waitForReadyRead(timeoutMs))
        head += socket.readAll();
    return head.contains("\r\nServer: utstatus\r\n") ? Listener::OurService : Listener::SomethingElse;
}

ServiceThread::~ServiceThread()
{
    quit();
    wait();
}

ServiceThread::Outcome ServiceThread::launch(const ServiceOptions& options)
{
    m_options = options;
    m_listening = {};
    std::future<bool> listening = m_listening.get_future();
    start();
    if (listening.get())
        return Outcome::Started;
    wait();
    return probe(options.address, options.port) == Listener::OurService ? Outcome::AlreadyRunning : Outcome::PortTaken;
}

void ServiceThread::run()
{
    StatusService service(m_options);
    const bool listening = service.start();
    m_port = service.port();
    m_listening.set_value(listening);
    if (listening)
        exec();
}

} // namespace statusservice
