#include "fakegameserver.h"

#include "gamequery/ut2004protocol.h"
#include "gamequery/ut3protocol.h"
#include "gamequery/ut99protocol.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>

namespace fakeservers {

namespace {

QString withoutBackslashes(QString text) { return text.remove(QLatin1Char('\\')); }

using gamequery::ut99::pair;

} // namespace

QList<QByteArray> ut99Reply(const Scenario& s, const QByteArray& request, int queryId)
{
    const int split = s.splitSize > 0 ? s.splitSize : 1000;
    if (request == "\\teams\\") {
        if (!s.answerTeams)
            return {};
        // A team game lists four teams, as real servers do; maxteams says how many play.
        static const FakeTeam kUnused[] = {{"Red", 0}, {"Blue", 0}, {"Green", 0}, {"Gold", 0}};
        QList<QByteArray> chunks;
        for (std::size_t i = 0; i < (s.teams.empty() ? 0 : 4); ++i) {
            const QString n = QString::number(i);
            const FakeTeam& team = i < s.teams.size() ? s.teams[i] : kUnused[i];
            chunks << pair("team_" + n, team.name) + pair("score_" + n, QString::number(team.score, 'f', 2)) +
                          pair("size_" + n, QString::number(std::count_if(
                                                s.players.begin(), s.players.end(),
                                                [&](const FakePlayer& p) { return p.team == static_cast<int>(i); })));
        }
        return gamequery::ut99::replyPackets(chunks, split, queryId);
    }
    if (!request.startsWith("\\status\\") && !request.startsWith("\\basic\\") && !request.startsWith("\\info\\"))
        return {};
    QList<QByteArray> chunks;
    chunks << pair("gamename", s.protocol == Protocol::Ut99Text ? "ut" : "ut2004") + pair("gamever", "451") +
                  pair("minnetver", "432") + pair("location", "0");
    chunks << pair("hostname", withoutBackslashes(s.name)) + pair("hostport", "7777") + pair("maptitle", s.map) +
                  pair("mapname", s.map) + pair("gametype", s.gameType) +
                  pair("numplayers", QString::number(s.players.size())) +
                  pair("maxplayers", QString::number(s.maxPlayers)) + pair("gamemode", "openplaying");
    QByteArray rules = pair("password", s.password ? "True" : "False");
    if (!s.teams.empty())
        rules += pair("maxteams", QString::number(s.teams.size()));
    for (const auto& [key, value] : s.rules)
        rules += pair(key, value);
    chunks << rules;
    for (std::size_t i = 0; i < s.players.size(); ++i) {
        const FakePlayer& p = s.players[i];
        const QString n = QString::number(i);
        chunks << pair("player_" + n, withoutBackslashes(p.name)) + pair("frags_" + n, QString::number(p.score)) +
                      pair("ping_" + n, QString::number(p.ping)) +
                      pair("team_" + n, QString::number(p.team < 0 ? 255 : p.team)) +
                      pair("mesh_" + n, "Male Commando") + pair("skin_" + n, "CommandoSkins.cmdo") +
                      pair("face_" + n, "CommandoSkins.Blake") + pair("ngsecret_" + n, "true");
    }
    return gamequery::ut99::replyPackets(chunks, split, queryId);
}

QList<QByteArray> ut2004Reply(const Scenario& s, const QByteArray& request)
{
    using namespace gamequery::ut2004;
    if (request.size() != 5)
        return {}; // longer requests are ignored
    const int split = s.splitSize > 0 ? s.splitSize : 450;
    const auto command = static_cast<std::uint8_t>(request[4]);
    QList<QByteArray> replies;
    if (command == Info)
        replies << infoPacket({s.name, s.map, s.gameType, static_cast<std::int32_t>(s.players.size()) - s.uncounted,
                               s.maxPlayers, s.password});
    if (command == Rules || command == RulesAndPlayers) {
        QList<QByteArray> records;
        for (const auto& [key, value] : s.rules)
            records << ruleRecord(key, value);
        if (s.password)
            records << ruleRecord(QStringLiteral("GamePassword"), QStringLiteral("True"));
        replies << (records.isEmpty() ? QList<QByteArray>{gamequery::ut2004::request(Rules)}
                                      : packets(Rules, records, split));
    }
    if (command == Players || command == RulesAndPlayers) {
        QList<QByteArray> records;
        for (std::size_t i = 0; i < s.players.size(); ++i) {
            const FakePlayer& p = s.players[i];
            records << playerRecord(static_cast<std::int32_t>(i + 1), p.name, p.ping, p.score,
                                    p.team < 0 ? std::nullopt : std::optional<int>(p.team));
        }
        replies << packets(Players, records, split); // nothing at all when there are no players
    }
    return replies;
}

QList<QByteArray> ut3Reply(const Scenario& s, const QByteArray& request)
{
    using gamequery::ut3::textBytes;
    const auto asked = gamequery::ut3::readRequest(request);
    if (!asked)
        return {};
    if (asked->forChallenge)
        return {gamequery::ut3::challengeReply(asked->session, s.challenge)};
    if (asked->challenge != s.challenge)
        return {};

    // Key order as real servers send it: the owner's name first.
    using gamequery::ut3::Column;
    gamequery::ut3::ReplyContent content;
    const auto kv = [&](const QString& key, const QString& value) {
        content.serverKeys.emplace_back(textBytes(key), textBytes(value));
    };
    kv("hostname", "FakeOwner");
    kv("p1073741827", s.name);
    kv("p1073741825", s.map);
    kv("mapname", s.map);
    kv("s32779", s.gameType);
    kv("numplayers", QString::number(s.players.size()));
    kv("maxplayers", QString::number(s.maxPlayers));
    kv("s7", s.password ? "1" : "0");
    kv("gamemode", "openplaying");
    for (const auto& [key, value] : s.rules)
        kv(key, value);
    // A bot (no name) has a row of empty values, as real servers pad them.
    content.players = {{"player_", {}}, {"score_", {}}, {"ping_", {}}, {"team_", {}}, {"deaths_", {}}, {"pid_", {}}};
    for (std::size_t i = 0; i < s.players.size(); ++i) {
        const FakePlayer& p = s.players[i];
        const bool bot = p.name.isEmpty();
        const auto number = [bot](int n) { return bot ? QByteArray() : QByteArray::number(n); };
        const QByteArray row[] = {textBytes(p.name),           number(p.score), number(p.ping),
                                  number(std::max(p.team, 0)), number(0),       number(static_cast<int>(i) + 1)};
        for (std::size_t c = 0; c < content.players.size(); ++c)
            content.players[c].values << row[c];
    }
    content.teams = {{"team_t", {}}, {"score_t", {}}};
    for (const FakeTeam& t : s.teams) {
        content.teams[0].values << textBytes(t.name);
        content.teams[1].values << QByteArray::number(static_cast<int>(t.score));
    }
    return gamequery::ut3::replyPackets(asked->session, content, s.splitSize > 0 ? s.splitSize : 1400);
}

FakeGameServer::FakeGameServer(Scenario scenario, QObject* parent, const QHostAddress& address, quint16 port)
    : QObject(parent), m_scenario(std::move(scenario)), m_socket(new QUdpSocket(this))
{
    m_socket->bind(address, port);
    connect(m_socket, &QUdpSocket::readyRead, this, &FakeGameServer::answer);
}

quint16 FakeGameServer::port() const { return m_socket->localPort(); }

bool FakeGameServer::listening() const { return m_socket->state() == QAbstractSocket::BoundState; }

QList<QByteArray> reply(const Scenario& scenario, const QByteArray& request, int queryId)
{
    QList<QByteArray> packets;
    switch (scenario.protocol) {
    case Protocol::Ut99Text: packets = ut99Reply(scenario, request, queryId); break;
    case Protocol::Ut2004Binary: packets = ut2004Reply(scenario, request); break;
    case Protocol::Ut3: packets = ut3Reply(scenario, request); break;
    }
    if (scenario.reverseOrder)
        std::reverse(packets.begin(), packets.end());
    return packets;
}

void FakeGameServer::answer()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram request = m_socket->receiveDatagram(65536);
        ++m_requests;
        if (m_scenario.silent)
            continue;
        m_queryId = m_queryId % 100 + 1;
        const QList<QByteArray> packets = reply(m_scenario, request.data(), m_queryId);
        const QHostAddress to = request.senderAddress();
        const quint16 toPort = static_cast<quint16>(request.senderPort());
        const auto send = [this, packets, to, toPort] {
            for (const QByteArray& packet : packets)
                m_socket->writeDatagram(packet, to, toPort);
        };
        if (m_scenario.delayMs > 0)
            QTimer::singleShot(m_scenario.delayMs, this, send);
        else
            send();
    }
}

} // namespace fakeservers
