#include "servicethread.h"

#include "core/routes.h"
#include "statusservice.h"

#include <QTcpSocket>

namespace statusservice {

Listener probe(const QHostAddress& address, quint16 port, int timeoutMs)
{
    QTcpSocket socket;
    socket.connectToHost(address, port);
    if (!socket.waitForConnected(timeoutMs))
        return Listener::Nobody;
    socket.write("GET " + QByteArray(startRoute(StartPage::Ut99Lobby).path) + " HTTP/1.0\r\nHost: probe\r\n\r\n");
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
        return m_outcome = Outcome::Started;
    wait();
    // Only a port in use is asked who holds it: any other failure sends nothing.
    if (!m_addressInUse)
        return m_outcome = Outcome::CannotListen;
    switch (probe(options.address, options.port)) {
    case Listener::OurService: return m_outcome = Outcome::AlreadyRunning;
    case Listener::SomethingElse: return m_outcome = Outcome::PortTaken;
    case Listener::Nobody: break;
    }
    return m_outcome = Outcome::CannotListen;
}

QString ServiceThread::failure() const
{
    const QString where = QStringLiteral("port %1 on %2").arg(m_options.port).arg(m_options.address.toString());
    switch (m_outcome) {
    case Outcome::Started:
    case Outcome::AlreadyRunning: return {};
    case Outcome::PortTaken:
        return QStringLiteral("The status pages cannot be shown: %1 is in use by another program.").arg(where);
    case Outcome::CannotListen:
        return QStringLiteral("The status pages cannot be shown: the program cannot listen on %1: %2.")
            .arg(where, m_error);
    }
    return {};
}

void ServiceThread::run()
{
    StatusService service(m_options);
    const bool listening = service.start();
    m_port = service.port();
    if (!listening) {
        m_error = service.errorString();
        m_addressInUse = service.addressInUse();
    }
    m_listening.set_value(listening);
    if (listening)
        exec();
}

} // namespace statusservice
