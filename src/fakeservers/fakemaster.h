#pragma once

#include "gamequery/mastersession.h"

#include <QHostAddress>
#include <QObject>

class QTcpServer;
class QTcpSocket;

// Master servers that are not there: TCP listeners on loopback that list the
// servers of a scenario as UT99's or UT2004's masters do, or misbehave as a
// broken or hostile master would. For tests, the demo and the benchmarks.
namespace fakeservers {

struct MasterScenario {
    enum class Behaviour {
        Lists,      // greets, checks the client's answer, lists, closes
        Refuses,    // answers the client with a refusal in its own words
        ClosesEarly, // closes after the greeting's answer, before any list
        Garbles,    // answers the list request with bytes of no list
        Drips,      // sends its greeting a byte at a time, slowly, for ever
        Floods,     // answers the list request with rows that never end
    };
    MasterProtocol protocol = MasterProtocol::Ut99Text;
    std::vector<gamequery::ListedServer> servers; // UT2004: each listed with query port = game port + 1
    Behaviour behaviour = Behaviour::Lists;
    QByteArray challenge = "ABCDEF";   // UT99
    bool greetingEndsWithFinal = false; // UT99: some masters add \final\, some a NUL
    bool greetingEndsWithNul = false;
    bool anyValidate = false; // UT99: take any answer, as list tools' masters must
    bool textForm = false;    // UT99: list as text even where the compact form is asked
    QByteArray refusal = "Go away"; // UT99: in \echo\; UT2004: the word in place of APPROVED
};

class FakeMaster : public QObject {
    Q_OBJECT
public:
    explicit FakeMaster(MasterScenario scenario, QObject* parent = nullptr,
                        const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);

    quint16 port() const;
    bool listening() const;
    MasterScenario& scenario() { return m_scenario; }

private:
    void greet(QTcpSocket* client);
    void answer(QTcpSocket* client);
    void answerUt99(QTcpSocket* client, const QByteArray& request);
    void answerUt2004(QTcpSocket* client);
    // Writes bytes again and again until the client goes.
    void flood(QTcpSocket* client, const QByteArray& bytes, int everyMs);

    MasterScenario m_scenario;
    QTcpServer* m_server;
};

} // namespace fakeservers
