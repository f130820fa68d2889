#pragma once

#include "destinations.h"
#include "serverstatus.h"

#include <QHostAddress>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QTimer;
class QUdpSocket;

// Asks game servers for their status over UDP, many at once, on the Qt event
// loop of the thread that owns the client. Each query ends exactly once, in
// its callback: with the status, or with the reason there is none.
namespace gamequery {

struct QueryRequest {
    Game game = Game::UT99;
    QString host;
    // UT99 and UT2004: the game port, asked on + 1; UT3: the query port.
    // 0: the game's usual port.
    quint16 port = 0;
    bool portIsQueryPort = false; // take port as the query port as given
    int timeoutMs = 1000;         // per attempt and for the name's look-up; a silent server is asked once more
};

struct QueryResult {
    enum class Outcome { Answered, NoQueryPort, NotResolved, Refused, NoAnswer, Malformed };
    QueryRequest request;
    Outcome outcome = Outcome::NoAnswer;
    QHostAddress address;
    quint16 queryPort = 0;
    std::optional<ServerStatus> status;
    int roundTripMs = -1;
    // The game port: the one the server reports (UT99's hostport), else the
    // one of the query port asked.
    quint16 gamePort() const;
    // Why there is no status, in a few words for a person.
    QString reason() const;
};

class Exchange;

class QueryClient : public QObject {
    Q_OBJECT
public:
    explicit QueryClient(QObject* parent = nullptr);
    ~QueryClient() override;

    void query(const QueryRequest& request, std::function<void(const QueryResult&)> done);
    // Where queries may go; any address but multicast and broadcast unless set.
    void setDestinations(Destinations destinations) { m_destinations = destinations; }
    int inFlight() const { return static_cast<int>(m_exchanges.size()); }

    // The query port a request is sent to; 0 where the game port's offset
    // would pass 65535.
    static quint16 queryPort(const QueryRequest& request);

private:
    friend class Exchange;
    void start(const QueryRequest& request, const QHostAddress& address, std::function<void(const QueryResult&)> done);
    void send(const QHostAddress& address, quint16 port, const QByteArray& datagram);
    void readDatagrams(QUdpSocket* socket);
    void lookUp(const QueryRequest& request, std::function<void(const QueryResult&)> done);
    void finished(Exchange* exchange);
    void startWaiting();

    QUdpSocket* m_ipv4;
    QUdpSocket* m_ipv6;
    std::vector<std::unique_ptr<Exchange>> m_exchanges;
    // Queries wait here for a place in the window of those under way:
    // hundreds of replies at once would overflow the socket's receive buffer.
    std::deque<Exchange*> m_waiting;
    std::size_t m_started = 0;
    QTimer* m_pacer;
    Destinations m_destinations = Destinations::Lan;
};

} // namespace gamequery
