#pragma once

#include "gamequery/serverstatus.h"

#include <QHostAddress>
#include <QList>
#include <QObject>

#include <cstdint>

class QUdpSocket;

// Game servers that are not there: UDP responders on loopback that answer
// the UT99, UT2004 and UT3 status queries from a scenario. For tests and the
// demo, never for the program's own queries.
namespace fakeservers {

struct FakePlayer {
    QString name; // UT2004: may carry colour codes (1B R G B); UT3: empty for a bot
    int score = 0;
    int ping = 0;
    int team = -1; // -1: no team
};

struct FakeTeam {
    QString name;
    double score = 0;
};

using Protocol = QueryProtocol;

struct Scenario {
    Protocol protocol = Protocol::Ut99Text;
    QString name = QStringLiteral("Fake Server");
    QString map = QStringLiteral("DM-Deck16][");
    QString gameType = QStringLiteral("DeathMatchPlus");
    int maxPlayers = 16;
    bool password = false;
    std::vector<FakePlayer> players;
    int uncounted = 0;           // UT2004: the last players are spectators, listed but left out of the count
    std::vector<FakeTeam> teams; // UT99: answered to \teams\; UT3: the team section
    std::vector<std::pair<QString, QString>> rules;
    int splitSize = 0;                   // bytes a packet may reach before the next; 0: the game's own
    bool reverseOrder = false;           // send the packets of a reply last first
    int delayMs = 0;                     // wait before answering
    bool silent = false;                 // never answer
    bool answerTeams = true;             // UT99: old servers ignore \teams\ entirely
    std::int32_t challenge = 1928374650; // as long as real ones: some clients want 12 bytes or more
};

// The datagrams a scenario answers a request with, in sending order.
QList<QByteArray> ut99Reply(const Scenario& scenario, const QByteArray& request, int queryId);
QList<QByteArray> ut2004Reply(const Scenario& scenario, const QByteArray& request);
QList<QByteArray> ut3Reply(const Scenario& scenario, const QByteArray& request);
// The scenario's protocol's answer, in the order the scenario sends it.
QList<QByteArray> reply(const Scenario& scenario, const QByteArray& request, int queryId);

class FakeGameServer : public QObject {
    Q_OBJECT
public:
    // Listens on address:port (0: any free port).
    explicit FakeGameServer(Scenario scenario, QObject* parent = nullptr,
                            const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);

    quint16 port() const;
    bool listening() const;
    int requestsSeen() const { return m_requests; }
    Scenario& scenario() { return m_scenario; }

private:
    void answer();

    Scenario m_scenario;
    QUdpSocket* m_socket;
    int m_requests = 0;
    int m_queryId = 0;
};

} // namespace fakeservers
