#include "fakemaster.h"

#include "gamequery/ut2004master.h"
#include "gamequery/ut99master.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace fakeservers {

namespace ut99 = gamequery::ut99master;
namespace ut2004 = gamequery::ut2004master;
using Behaviour = MasterScenario::Behaviour;

FakeMaster::FakeMaster(MasterScenario scenario, QObject* parent, const QHostAddress& address, quint16 port)
    : QObject(parent), m_scenario(std::move(scenario)), m_server(new QTcpServer(this))
{
    m_server->listen(address, port);
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QTcpSocket::readyRead, this, [this, client] { answer(client); });
            greet(client);
        }
    });
}

quint16 FakeMaster::port() const { return m_server->serverPort(); }

bool FakeMaster::listening() const { return m_server->isListening(); }

void FakeMaster::greet(QTcpSocket* client)
{
    const QByteArray greeting =
        m_scenario.protocol == MasterProtocol::Ut99Text
            ? ut99::greeting(m_scenario.challenge, m_scenario.greetingEndsWithFinal, m_scenario.greetingEndsWithNul)
            : ut2004::stringFrame("111111111");
    if (m_scenario.behaviour == Behaviour::Drips)
        flood(client, greeting.left(1), 100); // never a whole greeting
    else
        client->write(greeting);
}

void FakeMaster::answer(QTcpSocket* client)
{
    client->setProperty("heard", client->property("heard").toByteArray() + client->readAll());
    if (m_scenario.protocol == MasterProtocol::Ut99Text)
        answerUt99(client, client->property("heard").toByteArray());
    else
        answerUt2004(client);
}

void FakeMaster::answerUt99(QTcpSocket* client, const QByteArray& request)
{
    const qsizetype list = request.indexOf("\\list\\");
    if (list < 0 || !request.mid(list).contains("\\final\\"))
        return; // the whole request is not in yet
    client->setProperty("heard", QByteArray());
    const bool validated =
        m_scenario.anyValidate || request.contains("\\validate\\" + ut99::validate(m_scenario.challenge) + "\\");
    switch (m_scenario.behaviour) {
    case Behaviour::Lists:
        if (!validated) {
            client->write("\\echo\\wrong validate\\final\\");
        } else {
            client->write(ut99::asksCompact(request) && !m_scenario.textForm ? ut99::compactList(m_scenario.servers)
                                                                             : ut99::textList(m_scenario.servers));
        }
        break;
    case Behaviour::Refuses: client->write("\\echo\\" + m_scenario.refusal + "\\final\\"); break;
    case Behaviour::Garbles: client->write("\\nonsense\\final\\"); break;
    case Behaviour::Floods: flood(client, "\\ip\\203.0.113.9:7778", 0); return;
    case Behaviour::ClosesEarly:
    case Behaviour::Drips: break;
    }
    client->disconnectFromHost();
}

void FakeMaster::answerUt2004(QTcpSocket* client)
{
    QByteArray stream = client->property("heard").toByteArray();
    bool tooLong = false;
    while (const auto frame = ut2004::takeFrame(stream, tooLong)) {
        const int step = client->property("step").toInt();
        client->setProperty("step", step + 1);
        const bool refuses = m_scenario.behaviour == Behaviour::Refuses;
        if (step == 0) { // the client's answer to the challenge
            client->write(ut2004::approvalFrame(refuses ? m_scenario.refusal : QByteArray("APPROVED")));
            if (refuses)
                client->disconnectFromHost();
        } else if (step == 1) { // its verification
            client->write(ut2004::stringFrame("VERIFIED"));
        } else if (m_scenario.behaviour == Behaviour::ClosesEarly) {
            client->disconnectFromHost();
        } else if (m_scenario.behaviour == Behaviour::Garbles) {
            client->write(ut2004::frame("garbage, no count"));
        } else if (m_scenario.behaviour == Behaviour::Floods) {
            client->write(ut2004::countFrame(gamequery::kMostListedServers + 1)); // more than a list holds
            flood(client, ut2004::serverFrame({QHostAddress(QStringLiteral("203.0.113.9")), 7777}, 7778), 0);
        } else { // the list request
            client->write(ut2004::countFrame(static_cast<std::uint32_t>(m_scenario.servers.size())));
            for (const gamequery::ListedServer& server : m_scenario.servers)
                client->write(ut2004::serverFrame(server, static_cast<quint16>(server.port + 1)));
            client->disconnectFromHost();
        }
    }
    client->setProperty("heard", stream);
}

void FakeMaster::flood(QTcpSocket* client, const QByteArray& bytes, int everyMs)
{
    auto* timer = new QTimer(client);
    const QByteArray chunk = everyMs == 0 ? bytes.repeated(1000) : bytes;
    connect(timer, &QTimer::timeout, client, [client, chunk] {
        if (client->state() == QAbstractSocket::ConnectedState &&
            client->bytesToWrite() < 1 << 20) // no faster than it reads
            client->write(chunk);
    });
    timer->start(everyMs);
}

} // namespace fakeservers
