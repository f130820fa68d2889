// utstatus: asks Unreal Tournament servers for their status; the usage below.

#include "core/hostport.h"
#include "fakeservers/fakegameserver.h"
#include "fakeservers/fakemaster.h"
#include "favourites/savedservers.h"
#include "gamequery/queryclient.h"
#include "gamequery/serversweep.h"
#include "gamequery/statusjson.h"
#include "gamequery/ut2004protocol.h"
#include "platform/programfolders.h"
#include "report.h"
#include "statusservice/defaults.h"
#include "statusservice/statusservice.h"
#include "watchcommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <memory>

namespace {

constexpr int kBadArguments = 2;

struct Command {
    const char* name;
    const char* usage; // its lines of the usage
    const char* notes; // what it does, for COMMAND --help
};

// clang-format off
constexpr Command kCommands[] = {
    {"query", "query --game ut99|ut2004|ut3 HOST[:PORT] [HOST[:PORT]...] [--json] [--query-port] [--timeout MS]",
     "Asks each server for its status. PORT is the game port (UT99, UT2004; asked on PORT + 1) or\n"
     "the query port (UT3); --query-port asks PORT as given. A server that does not answer is\n"
     "looked for on the other usual query ports of its host. Exits 1 when one did not answer.\n"},
    {"demo", "demo",
     "Starts a fake server of each game and a fake master of UT99 and UT2004 on 127.0.0.1.\n"},
    {"serve", "serve [--listen ADDRESS:PORT] [--allow-lan] [--no-budgets] [--master GAME=HOST:PORT]...",
     "Serves status pages. It asks public servers only; --allow-lan also asks this machine and\n"
     "private networks; --no-budgets lifts the per-client and per-server budgets, for load tests.\n"},
    {"favourites", "favourites [--dir FOLDER] [--json]",
     "Asks the servers saved in the favourites files of FOLDER (default: where utquery keeps them).\n"},
    {"list", "list --game ut99|ut2004 [--master HOST:PORT]... [--json] [--no-query] [--timeout MS]",
     "Asks the game's master servers (the community masters, unless --master names others) for\n"
     "every live server and asks each; --no-query prints the addresses as listed.\n"},
    {"watch", "watch --game ut99|ut2004|ut3 HOST[:PORT]... [--players N] [--player NAME]... [--interval S]\n"
              "                      [--once] [--json]",
     "Asks the servers at once and then every S seconds (default 60, at least 10) and prints a\n"
     "line (--json: a JSON object a line) per event: a server reaching N human players (default 1\n"
     "when no --player is given), a named player joining or leaving. What holds at the first\n"
     "answer counts; after that only changes do. --once exits 0 at the first event.\n"},
};
// clang-format on

QString usage(const Command* only = nullptr)
{
    QString text;
    for (const Command& command : kCommands) {
        if (!only || only == &command)
            text += QLatin1String(text.isEmpty() ? "usage: utstatus " : "       utstatus ") + command.usage + '\n';
    }
    if (only)
        return text + only->notes;
    for (const Command& command : kCommands)
        text += QStringLiteral("\n%1: ").arg(QLatin1String(command.name)) + command.notes;
    return text + "\nutstatus COMMAND --help tells one command's usage.\n";
}

int badArguments(const QString& why)
{
    QTextStream(stderr) << "utstatus: " << why << "\n" << usage();
    return kBadArguments;
}

// A wait in ms from 1 to 60000 into timeoutMs; false for any other text.
bool readTimeout(const QString& text, int& timeoutMs)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 60000)
        return false;
    timeoutMs = value;
    return true;
}

// Asks every server at once; the results in the order asked.
std::vector<gamequery::QueryResult> askAll(QCoreApplication& app, const std::vector<gamequery::QueryRequest>& requests)
{
    gamequery::QueryClient client;
    std::vector<gamequery::QueryResult> results(requests.size());
    std::size_t left = requests.size();
    for (std::size_t i = 0; i < requests.size(); ++i) {
        client.query(requests[i], [&, i](const gamequery::QueryResult& result) {
            results[i] = result;
            if (--left == 0)
                app.quit();
        });
    }
    if (left > 0)
        QCoreApplication::exec();
    return results;
}

// For each silent server, the servers of its game that answer on the other
// usual query ports of its host.
std::vector<std::vector<gamequery::QueryResult>> answeringElsewhere(QCoreApplication& app,
                                                                    const std::vector<gamequery::QueryResult>& results)
{
    std::vector<gamequery::QueryRequest> strays;
    std::vector<std::size_t> strayOf;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const gamequery::QueryResult& silent = results[i];
        if (silent.outcome != gamequery::QueryResult::Outcome::NoAnswer || silent.address.isNull())
            continue;
        for (const quint16 port : strayQueryPorts(silent.request.game, silent.queryPort)) {
            strays.push_back({silent.request.game, silent.address.toString(), port, true, silent.request.timeoutMs});
            strayOf.push_back(i);
        }
    }
    std::vector<std::vector<gamequery::QueryResult>> found(results.size());
    const std::vector<gamequery::QueryResult> asked = askAll(app, strays);
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (asked[i].status)
            found[strayOf[i]].push_back(asked[i]);
    }
    return found;
}

int query(QCoreApplication& app, const QStringList& args)
{
    std::optional<Game> game;
    bool json = false, asQueryPort = false;
    int timeoutMs = 1000;
    QStringList servers;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--game") && i + 1 < args.size()) {
            game = gameFromId(args[++i]);
            if (!game)
                return badArguments(QStringLiteral("unknown game %1").arg(args[i]));
        } else if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--query-port")) {
            asQueryPort = true;
        } else if (a == QLatin1String("--timeout") && i + 1 < args.size()) {
            if (!readTimeout(args[++i], timeoutMs))
                return badArguments(QStringLiteral("the timeout must be 1 to 60000 ms"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return badArguments(QStringLiteral("unknown option %1").arg(a));
        } else {
            servers << a;
        }
    }
    if (!game)
        return badArguments(QStringLiteral("which game? --game ut99, ut2004 or ut3"));
    if (servers.isEmpty())
        return badArguments(QStringLiteral("no server given"));

    std::vector<gamequery::QueryRequest> requests;
    for (const QString& server : servers) {
        gamequery::QueryRequest request;
        request.game = *game;
        request.portIsQueryPort = asQueryPort;
        request.timeoutMs = timeoutMs;
        const std::optional<HostPort> where = parseHostPort(server);
        if (!where)
            return badArguments(QStringLiteral("not a host or host:port: %1").arg(server));
        request.host = where->host;
        request.port = where->port;
        requests.push_back(request);
    }

    bool allAnswered = true;
    QJsonArray all;
    QTextStream out(stdout);
    const std::vector<gamequery::QueryResult> results = askAll(app, requests);
    const auto elsewhere = answeringElsewhere(app, results);
    for (std::size_t i = 0; i < results.size(); ++i) {
        allAnswered = allAnswered && results[i].status.has_value();
        if (json)
            all.append(jsonReport(results[i], elsewhere[i]));
        else
            out << textReport(results[i], elsewhere[i]) << (results.size() > 1 ? "\n" : "");
    }
    if (json)
        out << QJsonDocument(all).toJson(QJsonDocument::Indented);
    return allAnswered ? 0 : 1;
}

// Every live server of a game from its master servers.
int list(QCoreApplication& app, const QStringList& args)
{
    std::optional<Game> game;
    bool json = false, listOnly = false;
    int timeoutMs = 1000;
    std::vector<HostPort> masters;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--game") && i + 1 < args.size()) {
            game = gameFromId(args[++i]);
            if (!game || gameInfo(*game).master == MasterProtocol::None)
                return badArguments(
                    QStringLiteral("no master lists the servers of %1: --game ut99 or ut2004").arg(args[i]));
        } else if (a == QLatin1String("--master") && i + 1 < args.size()) {
            const auto master = parseHostPort(args[++i]);
            if (!master || !master->port)
                return badArguments(QStringLiteral("not a HOST:PORT of a master: %1").arg(args[i]));
            masters.push_back(*master);
        } else if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--no-query")) {
            listOnly = true;
        } else if (a == QLatin1String("--timeout") && i + 1 < args.size()) {
            if (!readTimeout(args[++i], timeoutMs))
                return badArguments(QStringLiteral("the timeout must be 1 to 60000 ms"));
        } else {
            return badArguments(QStringLiteral("unknown option %1").arg(a));
        }
    }
    if (!game)
        return badArguments(QStringLiteral("which game? --game ut99 or ut2004"));
    if (masters.empty())
        masters = gamequery::mastersFrom(QLatin1String(gameInfo(*game).defaultMasters));

    gamequery::MasterClient masterClient;
    gamequery::QueryClient queryClient;
    std::optional<gamequery::Sweep> swept;
    gamequery::sweep(masterClient, queryClient, *game, masters, timeoutMs, listOnly, [&](const gamequery::Sweep& s) {
        swept = s;
        app.quit();
    });
    if (!swept)
        QCoreApplication::exec();
    const gamequery::Sweep& result = *swept;
    QTextStream(stderr) << mastersReport(result);
    QTextStream(stdout) << (json ? QString::fromUtf8(QJsonDocument(sweepJson(result)).toJson(QJsonDocument::Indented))
                                 : sweepReport(result));
    return result.lists.anyListed() ? 0 : 1;
}

// The favourites of all three games, asked as their status pages would ask them.
int favouritesReport(QCoreApplication& app, const QStringList& args)
{
    bool json = false;
    QString folder;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--json"))
            json = true;
        else if (args[i] == QLatin1String("--dir") && i + 1 < args.size())
            folder = args[++i];
        else
            return badArguments(QStringLiteral("unknown option %1").arg(args[i]));
    }
    if (folder.isEmpty())
        folder = ProgramFolders().favouritesPath();
    else if (!QDir(folder).isReadable())
        return badArguments(QStringLiteral("no folder %1 to read").arg(folder));

    struct Favourite {
        Game game;
        favourites::SavedServer saved;
        std::optional<std::size_t> asked; // its request, when it has an address to ask
    };
    std::vector<Favourite> saved;
    std::vector<gamequery::QueryRequest> requests;
    for (const GameInfo& info : kGames) {
        for (const favourites::SavedServer& server : favourites::savedServers(info.game, folder)) {
            saved.push_back({info.game, server, std::nullopt});
            if (const auto endpoint = usableEndpoint(server.host, server.port)) {
                saved.back().asked = requests.size();
                requests.push_back({info.game, endpoint->host, endpoint->port, info.pageTakesQueryPort});
            }
        }
    }
    const std::vector<gamequery::QueryResult> results = askAll(app, requests);
    bool allAnswered = true;
    QJsonArray all;
    QTextStream out(stdout);
    for (const auto& [game, server, asked] : saved) {
        const gamequery::QueryResult* result = asked ? &results[*asked] : nullptr;
        const QString noAddress = QStringLiteral("no usable address: %1:%2").arg(server.host, server.port);
        allAnswered = allAnswered && result && result->status.has_value();
        if (json) {
            QJsonObject entry{{"game", QLatin1String(gameInfo(game).id)}, {"slot", server.row}, {"name", server.name}};
            entry.insert(result ? QStringLiteral("status") : QStringLiteral("error"),
                         result ? QJsonValue(gamequery::toJson(*result)) : QJsonValue(noAddress));
            all.append(entry);
        } else {
            out << gameInfo(game).title << " favourite " << server.row << ": " << server.name << "\n"
                << (result ? textReport(*result) : QStringLiteral("  ") + noAddress + QLatin1Char('\n')) << "\n";
        }
    }
    if (json)
        out << QJsonDocument(all).toJson(QJsonDocument::Indented);
    else if (saved.empty())
        out << "no favourites saved in " << folder << "\n";
    return allAnswered ? 0 : 1;
}

int demo()
{
    using namespace fakeservers;
    Scenario ut99;
    ut99.name = QStringLiteral("{Qev} Demo UT99 - Señor Frag's CTF");
    ut99.map = QStringLiteral("CTF-Face");
    ut99.gameType = QStringLiteral("CTFGame");
    ut99.players = {{"Señor Frag", 31, 48, 0}, {"Kestrun", 25, 62, 1}, {"<b>NotBold</b>", 7, 120, 0}};
    ut99.teams = {{"Red", 3}, {"Blue", 2}};
    ut99.rules = {{"timelimit", "20"}, {"goalteamscore", "5"}, {"AdminName", "Demo Admin"}};

    using gamequery::ut2004::colourCode;
    Scenario ut2004;
    ut2004.protocol = Protocol::Ut2004Binary;
    ut2004.name = colourCode(255, 0, 0) + QStringLiteral("Red ") + colourCode(0, 0, 255) + QStringLiteral("Blue") +
                  colourCode(255, 255, 255) + QStringLiteral(" Demo ONS");
    ut2004.map = QStringLiteral("ONS-Torlan");
    ut2004.gameType = QStringLiteral("ONSOnslaughtGame");
    ut2004.players = {
        {QStringLiteral("Игрок"), 40, 35, 0},
        {colourCode(0, 255, 0) + QStringLiteral("Green") + colourCode(255, 255, 255) + QStringLiteral("Guy"), 22, 80,
         1},
        {QStringLiteral("選手"), 5, 150, 1}};
    ut2004.rules = {{"ServerMode", "dedicated"}, {"AdminName", "Demo Admin"}, {"Mutator", "MutBigHead"}};

    Scenario ut3;
    ut3.protocol = Protocol::Ut3;
    ut3.name = QStringLiteral("{Qev} Demo UT3 Warfare");
    ut3.map = QStringLiteral("WAR-Torlan");
    ut3.gameType = QStringLiteral("2");
    ut3.players = {{QStringLiteral("Jäger"), 12, 55, 0}, {QStringLiteral("玩家"), 9, 70, 1}};
    ut3.teams = {{"Red", 1}, {"Blue", 0}};

    struct Fake {
        Game game;
        Scenario scenario;
        quint16 gamePort; // what to type (UT3: the query port)
    };
    std::vector<Fake> fakes = {{Game::UT99, ut99, 7777}, {Game::UT2004, ut2004, 7787}, {Game::UT3, ut3, 6500}};
    std::vector<std::unique_ptr<FakeGameServer>> servers;
    QTextStream out(stdout);
    for (const Fake& f : fakes) {
        const GameInfo& game = gameInfo(f.game);
        const quint16 queryPort = game.queryPortOf(f.gamePort);
        auto server = std::make_unique<FakeGameServer>(f.scenario, nullptr, QHostAddress::LocalHost, queryPort);
        if (!server->listening()) {
            QTextStream(stderr) << "utstatus: UDP port " << queryPort << " on 127.0.0.1 is taken\n";
            return 1;
        }
        out << "fake " << game.id << " server on 127.0.0.1, query port " << queryPort << ": utstatus query --game "
            << game.id << " 127.0.0.1:" << f.gamePort << "\n";
        servers.push_back(std::move(server));
    }
    // A master per game that lists the demo server, where the game has masters.
    std::vector<std::unique_ptr<FakeMaster>> masters;
    for (const Fake& f : fakes) {
        const GameInfo& game = gameInfo(f.game);
        if (game.master == MasterProtocol::None)
            continue;
        const quint16 listed = game.master == MasterProtocol::Ut99Text ? game.queryPortOf(f.gamePort) : f.gamePort;
        const quint16 port = gamequery::mastersFrom(QLatin1String(game.defaultMasters)).front().port;
        auto master = std::make_unique<FakeMaster>(
            MasterScenario{
                .protocol = game.master,
                .servers = {{QHostAddress::LocalHost, listed, f.scenario.name, f.scenario.map, f.scenario.gameType,
                             static_cast<int>(f.scenario.players.size()), f.scenario.maxPlayers}}},
            nullptr, QHostAddress::LocalHost, port);
        if (!master->listening()) {
            QTextStream(stderr) << "utstatus: TCP port " << port << " on 127.0.0.1 is taken\n";
            return 1;
        }
        out << "fake " << game.id << " master on 127.0.0.1, port " << port << ": utstatus list --game " << game.id
            << " --master 127.0.0.1:" << port << "\n";
        masters.push_back(std::move(master));
    }
    out << "In utquery type 127.0.0.1 with game port 7777 (UT99, query port 7778), 7787 (UT2004) "
           "or query port 6500 (UT3). Ctrl+C ends the demo.\n";
    out.flush();
    return QCoreApplication::exec();
}

int serve(const QStringList& args)
{
    statusservice::ServiceOptions options = statusservice::defaultOptions();
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--listen") && i + 1 < args.size()) {
            if (!statusservice::setListen(options, args[++i]))
                return badArguments(QStringLiteral("not an ADDRESS:PORT to listen on: %1").arg(args[i]));
        } else if (args[i] == QLatin1String("--allow-lan")) {
            options.destinations = gamequery::Destinations::Lan;
        } else if (args[i] == QLatin1String("--no-budgets")) {
            options.budgets = false;
        } else if (args[i] == QLatin1String("--master") && i + 1 < args.size()) {
            const QString given = args[++i];
            const std::optional<Game> game = gameFromId(given.section(QLatin1Char('='), 0, 0));
            const auto master = parseHostPort(given.section(QLatin1Char('='), 1));
            if (!game || gameInfo(*game).master == MasterProtocol::None || !master || !master->port)
                return badArguments(QStringLiteral("not a GAME=HOST:PORT of a master: %1").arg(given));
            options.masters.emplace_back(*game, *master);
        } else {
            return badArguments(QStringLiteral("unknown option %1").arg(args[i]));
        }
    }
    statusservice::StatusService service(options);
    if (!service.start()) {
        QTextStream(stderr) << "utstatus: cannot listen on " << options.address.toString() << ':' << options.port
                            << ": " << service.errorString() << "\n";
        return 1;
    }
    QTextStream(stdout) << "serving status pages on http://" << options.address.toString() << ':' << service.port()
                        << "/\n";
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return badArguments(QStringLiteral("what to do?"));
    const bool help = args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
    if (help && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        QTextStream(stdout) << usage();
        return 0;
    }
    const auto known = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const Command& command) { return args[0] == QLatin1String(command.name); });
    if (known == std::end(kCommands))
        return badArguments(QStringLiteral("unknown command %1").arg(args[0]));
    if (help) {
        QTextStream(stdout) << usage(known);
        return 0;
    }
    const QStringList options = args.mid(1);
    const QString name = args[0];
    if (name == QLatin1String("query"))
        return query(app, options);
    if (name == QLatin1String("demo"))
        return options.isEmpty() ? demo() : badArguments(QStringLiteral("unknown option %1").arg(options[0]));
    if (name == QLatin1String("serve"))
        return serve(options);
    if (name == QLatin1String("list"))
        return list(app, options);
    if (name == QLatin1String("watch"))
        return watchServers(app, options, badArguments);
    return favouritesReport(app, options);
}
