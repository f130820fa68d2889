#pragma once

#include "core/game.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <memory>
#include <vector>

namespace gamequery {

// A server as a master lists it: UT99's masters give the address its
// heartbeats came from (the query port); UT2004's the game and query ports
// and a few facts of the server's last heartbeat.
struct ListedServer {
    QHostAddress address;
    quint16 port = 0; // as the list gives it: UT99 the query port, UT2004 the game port
    QString name, map, gameType;
    int players = -1, maxPlayers = -1; // -1: the list does not say
    bool operator==(const ListedServer& other) const { return address == other.address && port == other.port; }
};

// An IPv4 address as both masters send it: 4 bytes in dotted order.
inline QByteArray dottedBytes(const QHostAddress& address)
{
    const quint32 value = address.toIPv4Address();
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes;
}
// The address of the first 4 bytes of bytes.
inline QHostAddress fromDottedBytes(const QByteArray& bytes)
{
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return QHostAddress(value);
}

// At most so many rows from one master: more make it a failed one.
inline constexpr int kMostListedServers = 20000;

// One master's exchange without sockets or clocks, as a Session is for a
// server's query: what each piece of the stream means and what to answer.
// The transport connects, sends, waits and keeps the bounds.
class MasterSession {
public:
    enum class State { Talking, Listed, Failed };

    virtual ~MasterSession() = default;
    // Bytes from the master; returns what to send it (often nothing).
    virtual QByteArray receive(const QByteArray& bytes) = 0;
    // The master closed the connection.
    virtual void closed() = 0;

    State state() const { return m_state; }
    // Why there is no list, in the master's own words where it gave any.
    const QString& failure() const { return m_failure; }
    const std::vector<ListedServer>& servers() const { return m_servers; }

protected:
    void fail(const QString& why)
    {
        m_state = State::Failed;
        m_failure = why;
        m_servers.clear();
    }
    // A row; a list past kMostListedServers fails.
    bool add(ListedServer server)
    {
        if (m_servers.size() >= kMostListedServers) {
            fail(QStringLiteral("more than %1 servers listed").arg(kMostListedServers));
            return false;
        }
        m_servers.push_back(std::move(server));
        return true;
    }
    void listed() { m_state = State::Listed; }
    bool talking() const { return m_state == State::Talking; }

private:
    State m_state = State::Talking;
    QString m_failure;
    std::vector<ListedServer> m_servers;
};

// The exchange of a master protocol; nullptr for MasterProtocol::None.
std::unique_ptr<MasterSession> makeMasterSession(MasterProtocol protocol);

} // namespace gamequery
