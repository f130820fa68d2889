#include "masterclient.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace gamequery {

namespace {

// One master's exchange on a socket of its own, with its deadlines.
class MasterFetch : public QObject {
public:
    MasterFetch(QObject* parent, MasterProtocol protocol, const HostPort& master, const MasterLimits& limits,
                std::function<void(const MasterResult&)> done)
        : QObject(parent), m_session(makeMasterSession(protocol)), m_limits(limits), m_done(std::move(done))
    {
        m_result.master = master;
        m_socket = new QTcpSocket(this);
        m_socket->setReadBufferSize(64 * 1024);
        connect(m_socket, &QTcpSocket::connected, this, [this] { m_read.start(m_limits.readMs); });
        connect(m_socket, &QTcpSocket::readyRead, this, &MasterFetch::read);
        connect(m_socket, &QTcpSocket::disconnected, this, [this] {
            read();
            if (m_session->state() == MasterSession::State::Talking)
                m_session->closed();
            settle();
        });
        connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            if (error != QAbstractSocket::RemoteHostClosedError)
                finish(m_socket->errorString());
        });
        for (QTimer* timer : {&m_read, &m_whole})
            timer->setSingleShot(true);
        connect(&m_read, &QTimer::timeout, this, [this] {
            finish(m_socket->state() == QAbstractSocket::ConnectedState
                       ? QStringLiteral("the master said nothing for %1 s").arg(m_limits.readMs / 1000.0)
                       : QStringLiteral("no connection within %1 s").arg(m_limits.connectMs / 1000.0));
        });
        connect(&m_whole, &QTimer::timeout, this,
                [this] { finish(QStringLiteral("the list took longer than %1 s").arg(m_limits.wholeMs / 1000.0)); });
        m_read.start(m_limits.connectMs);
        m_whole.start(m_limits.wholeMs);
        m_socket->connectToHost(master.host, master.port);
    }

private:
    void read()
    {
        while (!m_finished && m_socket->bytesAvailable() > 0) {
            const QByteArray bytes = m_socket->read(64 * 1024);
            m_bytes += bytes.size();
            if (m_bytes > m_limits.maxBytes) {
                finish(QStringLiteral("the master sent more than %1 MiB").arg(m_limits.maxBytes >> 20));
                return;
            }
            m_read.start(m_limits.readMs);
            const QByteArray reply = m_session->receive(bytes);
            if (!reply.isEmpty())
                m_socket->write(reply);
            settle();
        }
    }

    // Ends the exchange once the session has its list or has failed.
    void settle()
    {
        switch (m_session->state()) {
        case MasterSession::State::Talking: return;
        case MasterSession::State::Listed:
            m_result.servers = m_session->servers();
            finish({});
            return;
        case MasterSession::State::Failed: finish(m_session->failure()); return;
        }
    }

    void finish(const QString& failure)
    {
        if (std::exchange(m_finished, true))
            return;
        m_result.failure = failure;
        m_read.stop();
        m_whole.stop();
        m_socket->abort();
        m_done(m_result);
        deleteLater();
    }

    std::unique_ptr<MasterSession> m_session;
    MasterLimits m_limits;
    std::function<void(const MasterResult&)> m_done;
    MasterResult m_result;
    QTcpSocket* m_socket;
    QTimer m_read, m_whole;
    qint64 m_bytes = 0;
    bool m_finished = false;
};

} // namespace

bool MasterLists::anyListed() const
{
    return std::any_of(masters.begin(), masters.end(), [](const MasterResult& r) { return r.failure.isEmpty(); });
}

void MasterClient::fetch(MasterProtocol protocol, const HostPort& master, std::function<void(const MasterResult&)> done)
{
    if (protocol == MasterProtocol::None) {
        done({master, {}, QStringLiteral("this game has no master list")});
        return;
    }
    new MasterFetch(this, protocol, master, m_limits, std::move(done));
}

void MasterClient::fetchAll(MasterProtocol protocol, const std::vector<HostPort>& masters,
                            std::function<void(const MasterLists&)> done)
{
    auto lists = std::make_shared<MasterLists>();
    lists->masters.resize(masters.size());
    auto left = std::make_shared<std::size_t>(masters.size());
    const auto merge = [lists, done] {
        for (const MasterResult& result : lists->masters)
            for (const ListedServer& server : result.servers)
                if (std::find(lists->servers.begin(), lists->servers.end(), server) == lists->servers.end())
                    lists->servers.push_back(server);
        done(*lists);
    };
    if (masters.empty()) {
        merge();
        return;
    }
    for (std::size_t i = 0; i < masters.size(); ++i) {
        fetch(protocol, masters[i], [lists, left, merge, i](const MasterResult& result) {
            lists->masters[i] = result;
            if (--*left == 0)
                merge();
        });
    }
}

std::vector<HostPort> mastersFrom(const QString& list)
{
    std::vector<HostPort> masters;
    for (const QString& entry : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto master = parseHostPort(entry.trimmed());
        if (master && master->port)
            masters.push_back(*master);
    }
    return masters;
}

} // namespace gamequery
