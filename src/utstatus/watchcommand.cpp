#include "watchcommand.h"

#include "core/hostport.h"
#include "gamequery/queryclient.h"
#include "report.h"
#include "watch/watchrules.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace {

constexpr int kMinIntervalS = 10;

struct Watched {
    QString given; // the address as the command line gave it
    gamequery::QueryRequest request;
    bool answered = false; // what holds at the first answer is an event
    bool reached = false;
    QStringList present;
};

class Watcher {
public:
    Watcher(std::vector<Watched> servers, std::optional<int> players, QStringList names, bool once, bool json)
        : m_servers(std::move(servers)), m_players(players), m_names(std::move(names)), m_once(once), m_json(json)
    {
    }

    void askAll()
    {
        for (std::size_t i = 0; i < m_servers.size(); ++i)
            m_client.query(m_servers[i].request, [this, i](const gamequery::QueryResult& result) {
                if (result.status)
                    answered(m_servers[i], *result.status);
            });
    }

private:
    void answered(Watched& server, const gamequery::ServerStatus& status)
    {
        if (m_players) {
            const bool reached = watch::humanPlayers(status) >= *m_players;
            if (reached && !server.reached)
                event(server, status, QStringLiteral("players"), {});
            server.reached = reached;
        }
        const QStringList present = watch::namesPlaying(status, m_names);
        for (const QString& name : present)
            if (!server.present.contains(name))
                event(server, status, QStringLiteral("joined"), name);
        for (const QString& name : std::as_const(server.present))
            if (server.answered && !present.contains(name))
                event(server, status, QStringLiteral("left"), name);
        server.present = present;
        server.answered = true;
    }

    void event(const Watched& server, const gamequery::ServerStatus& status, const QString& kind, const QString& player)
    {
        if (m_once && std::exchange(m_done, true))
            return;
        const QString time = QDateTime::currentDateTime().toString(Qt::ISODate);
        QTextStream out(stdout);
        if (m_json) {
            QJsonObject line{{"time", time},
                             {"server", server.given},
                             {"game", QLatin1String(gameInfo(server.request.game).id)},
                             {"name", status.name.plain()},
                             {"event", kind},
                             {"humans", watch::humanPlayers(status)},
                             {"players", status.playerCount},
                             {"maxPlayers", status.maxPlayers}};
            if (!player.isEmpty())
                line.insert(QStringLiteral("player"), player);
            out << QJsonDocument(line).toJson(QJsonDocument::Compact) << '\n';
        } else {
            const QString what = kind == QLatin1String("players")
                                     ? QStringLiteral("%1 (%2/%3)")
                                           .arg(counted(watch::humanPlayers(status), QStringLiteral("human player")))
                                           .arg(status.playerCount)
                                           .arg(status.maxPlayers)
                                     : QStringLiteral("%1 %2").arg(player, kind);
            out << time << "  " << server.given << "  " << status.name.plain() << ": " << what << '\n';
        }
        out.flush();
        if (m_once)
            QCoreApplication::exit(0);
    }

    std::vector<Watched> m_servers;
    std::optional<int> m_players;
    QStringList m_names;
    bool m_once, m_json;
    bool m_done = false;
    gamequery::QueryClient m_client;
};

} // namespace

int watchServers(QCoreApplication& app, const QStringList& args, const std::function<int(const QString& why)>& bad)
{
    std::optional<Game> game;
    std::optional<int> players;
    QStringList names, given;
    int intervalS = 60;
    bool once = false, json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--game") && hasValue) {
            game = gameFromId(args[++i]);
            if (!game)
                return bad(QStringLiteral("--game: unknown game %1").arg(args[i]));
        } else if (a == QLatin1String("--players") && hasValue) {
            players = args[++i].toInt(&ok);
            if (!ok || *players < 1 || *players > 256)
                return bad(QStringLiteral("--players: a number of players from 1 to 256"));
        } else if (a == QLatin1String("--player") && hasValue) {
            names << args[++i].trimmed();
        } else if (a == QLatin1String("--interval") && hasValue) {
            intervalS = args[++i].toInt(&ok);
            if (!ok || intervalS < kMinIntervalS || intervalS > 24 * 3600)
                return bad(QStringLiteral("--interval: seconds from %1 to 86400").arg(kMinIntervalS));
        } else if (a == QLatin1String("--once")) {
            once = true;
        } else if (a == QLatin1String("--json")) {
            json = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return bad(QStringLiteral("unknown option %1").arg(a));
        } else {
            given << a;
        }
    }
    if (!game)
        return bad(QStringLiteral("which game? --game ut99, ut2004 or ut3"));
    if (given.isEmpty())
        return bad(QStringLiteral("no server given"));
    if (names.isEmpty() && !players)
        players = 1;
    std::vector<Watched> servers;
    for (const QString& server : given) {
        const std::optional<HostPort> where = parseHostPort(server);
        if (!where)
            return bad(QStringLiteral("not a host or host:port: %1").arg(server));
        servers.push_back({server, {*game, where->host, where->port, false, 1000}});
    }
    Watcher watcher(std::move(servers), players, names, once, json);
    QTimer rounds;
    QObject::connect(&rounds, &QTimer::timeout, &app, [&watcher] { watcher.askAll(); });
    rounds.start(intervalS * 1000);
    watcher.askAll();
    return QCoreApplication::exec();
}
