#include "pages.h"

#include "core/routes.h"

#include <algorithm>

// The list page of a game's live servers: a plain form to filter and sort,
// a summary, and a row per server with links to its status page and to join.
namespace statusservice {

namespace {

const char kListTemplate[] = R"(<h1>{{title}}</h1>
<form method="get" action=""><p><label>Name or map: <input name="q" value="{{q}}" maxlength="64"></label>
<label><input type="checkbox" name="notempty" value="1"{{notempty}}> hide empty</label>
<label><input type="checkbox" name="notfull" value="1"{{notfull}}> hide full</label>
<label>Sort by <select name="sort">{{sorts}}</select></label> <button>Show</button></p></form>
<p class="note">{{summary}}</p>
{{table}}
)";

const char kListHead[] = R"(<table><tr><th>Server</th><th>Map</th><th>Game type</th><th class="n">Players</th>)"
                         R"(<th>Password</th><th class="n">Ping</th><th></th></tr>)";

const gamequery::ServerStatus* statusOf(const gamequery::SweptServer& server)
{
    return server.result && server.result->status ? &*server.result->status : nullptr;
}

bool shown(const gamequery::SweptServer& server, const PageRequest& request)
{
    const gamequery::ServerStatus* s = statusOf(server);
    if (!s)
        return request.filter.isEmpty() && !request.hideEmpty && !request.hideFull;
    const QString wanted = searchKey(request.filter);
    if (!wanted.isEmpty() && !searchKey(s->name.plain()).contains(wanted) && !searchKey(s->map).contains(wanted))
        return false;
    return !(request.hideEmpty && s->playerCount == 0) && !(request.hideFull && s->playerCount >= s->maxPlayers);
}

QString sortOptions(const QString& chosen)
{
    QString options;
    for (const char* sort : {"players", "name", "ping"})
        options +=
            QStringLiteral("<option%1>%2</option>")
                .arg(chosen == QLatin1String(sort) ? QStringLiteral(" selected") : QString(), QLatin1String(sort));
    return options;
}

// The sweep's order is by players, then round trip; the page may ask for another.
void sortRows(std::vector<const gamequery::SweptServer*>& rows, const QString& sort)
{
    const auto name = [](const gamequery::SweptServer* s) {
        return statusOf(*s) ? statusOf(*s)->name.plain() : QString();
    };
    const auto ping = [](const gamequery::SweptServer* s) {
        return statusOf(*s) ? s->result->roundTripMs : std::numeric_limits<int>::max();
    };
    if (sort == QLatin1String("name"))
        std::stable_sort(rows.begin(), rows.end(),
                         [&](auto* a, auto* b) { return QString::compare(name(a), name(b), Qt::CaseInsensitive) < 0; });
    else if (sort == QLatin1String("ping"))
        std::stable_sort(rows.begin(), rows.end(), [&](auto* a, auto* b) { return ping(a) < ping(b); });
}

QString serverRow(Game game, const gamequery::SweptServer& server)
{
    const GameInfo& info = gameInfo(game);
    const QString host = server.listed.address.toString();
    const quint16 queryPort = gamequery::QueryClient::queryPort(gamequery::requestFor(game, server.listed, 0));
    const QString status = statusPath(statusRoute(game), {host, QString::number(info.pagePortOf(queryPort)), "0"});
    const gamequery::ServerStatus* s = statusOf(server);
    if (!s) {
        return QStringLiteral("<tr><td><a href=\"%1\">%2</a></td><td colspan=\"6\" class=\"note\">%3</td></tr>")
            .arg(escaped(status), escaped(host + QLatin1Char(':') + QString::number(server.listed.port)),
                 escaped(server.result ? server.result->reason() : QStringLiteral("not asked")));
    }
    const QString join = QStringLiteral("unreal://%1:%2").arg(host).arg(server.gamePort());
    return QStringLiteral("<tr><td><a href=\"%1\">%2</a></td><td>%3</td><td>%4</td><td class=\"n\">%5 / %6</td>"
                          "<td>%7</td><td class=\"n\">%8 ms</td><td><a href=\"%9\">Join</a></td></tr>")
        .arg(escaped(status), colouredHtml(s->name), escaped(s->map), escaped(s->gameType),
             QString::number(s->playerCount), QString::number(s->maxPlayers),
             !s->password   ? QString()
             : *s->password ? QStringLiteral("yes")
                            : QStringLiteral("no"),
             QString::number(server.result->roundTripMs), escaped(join));
}

QString summary(const gamequery::Sweep& sweep, int shownCount)
{
    QStringList masters;
    for (const gamequery::MasterResult& master : sweep.lists.masters)
        masters << QStringLiteral("%1:%2 (%3)")
                       .arg(master.master.host)
                       .arg(master.master.port)
                       .arg(master.failure.isEmpty() ? QStringLiteral("%1 listed").arg(master.servers.size())
                                                     : master.failure);
    const qint64 age = sweep.at.secsTo(QDateTime::currentDateTimeUtc());
    return QStringLiteral("Servers listed: %1, answered: %2, shown: %4. Players in all: %3. From %5. Asked %6 s ago.")
        .arg(sweep.servers.size())
        .arg(sweep.answered())
        .arg(sweep.players())
        .arg(shownCount)
        .arg(masters.isEmpty() ? QStringLiteral("no master") : masters.join(QStringLiteral(", ")))
        .arg(age);
}

} // namespace

QByteArray serverListPage(const PageRequest& request, const gamequery::Sweep* sweep)
{
    const Game game = request.game;
    const QString title = QStringLiteral("Every live %1 server").arg(gameTitle(game));
    if (!sweep) {
        return fill("<h1>{{title}}</h1><p class=\"note\">{{summary}}</p>",
                    {{"title", escaped(title)},
                     {"summary", QStringLiteral("No server list is available for %1: its master servers give "
                                                "none that can be read.")
                                     .arg(gameTitle(game))}},
                    gameInfo(game).pageClass);
    }
    std::vector<const gamequery::SweptServer*> rows;
    for (const gamequery::SweptServer& server : sweep->servers)
        if (shown(server, request))
            rows.push_back(&server);
    sortRows(rows, request.sort);
    QString table = QLatin1String(kListHead);
    for (const gamequery::SweptServer* server : rows)
        table += serverRow(game, *server);
    const auto checked = [](bool on) { return on ? QStringLiteral(" checked") : QString(); };
    return fill(kListTemplate,
                {{"title", escaped(title)},
                 {"q", escaped(request.filter)},
                 {"notempty", checked(request.hideEmpty)},
                 {"notfull", checked(request.hideFull)},
                 {"sorts", sortOptions(request.sort)},
                 {"summary", escaped(summary(*sweep, static_cast<int>(rows.size())))},
                 {"table", table + QStringLiteral("</table>")}},
                gameInfo(game).pageClass);
}

} // namespace statusservice
