#include "pages.h"

#include "core/routes.h"
#include "gamequery/statusjson.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace statusservice {

namespace {

// One page design for every page kind; each kind fills its own template.
const char kStyle[] = R"(
body { margin: 0; font: 13px/1.35 "DejaVu Sans", Verdana, Tahoma, sans-serif; color: #e8e2d6;
       background: #1b120e linear-gradient(#3a1a0c, #120a07) fixed; }
main { padding: 10px 14px; }
h1 { font-size: 18px; margin: 0 0 6px; word-break: break-word; }
h2 { font-size: 14px; margin: 12px 0 4px; color: #f0a040; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; padding: 2px 6px; border-bottom: 1px solid #3c2a20; vertical-align: top; }
th { color: #f0a040; font-weight: bold; }
td.n { text-align: right; font-variant-numeric: tabular-nums; }
.facts th { width: 9em; }
.team { display: inline-block; width: 10px; height: 10px; margin-right: 4px; border: 1px solid #000; }
.t0 { background: #d33; } .t1 { background: #36f; } .t2 { background: #3b3; } .t3 { background: #eb3; }
tr.found td { background: #4a3010; }
.note { color: #c8b8a0; } .warn { color: #ffcf70; } .bad { color: #ff8a70; }
a { color: #ffb060; }
details summary { cursor: pointer; color: #f0a040; margin-top: 10px; }
footer { margin-top: 12px; font-size: 11px; color: #a89880; }
/* The UT99 tabs show their ping result over the top right of the page. */
.ut99 main { padding-top: 40px; }
)";

// The frame every page shares; each page kind fills {{content}} from its own template.
const char kFrame[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{{title}}</title><style>{{style}}</style></head>
<body class="{{bodyClass}}"><main>
{{content}}</main></body></html>
)";

const char kStatusTemplate[] = R"(<h1>{{name}}</h1>{{partial}}
<table class="facts">{{facts}}</table>
<h2>Players</h2>{{players}}
{{teams}}
<details><summary>Rules ({{ruleCount}})</summary><table>{{rules}}</table></details>
<footer>Asked at {{time}} &middot; <a href="{{refresh}}">Refresh</a>{{webStats}} &middot; {{home}}</footer>
)";

const char kProblemTemplate[] = R"(<h1>{{title}}</h1>
<p class="bad">{{message}}</p>{{findings}}
<p class="note">{{hint}}</p>
<footer><a href="{{refresh}}">Try again</a> &middot; {{home}}</footer>
)";

const char kStartTemplate[] = R"(<h1>{{title}}</h1>
<p class="note">{{about}}</p>
{{servers}}<form method="get" action=""><p><label>Find a player: <input name="player" value="{{player}}"
maxlength="64"></label> <button>Find</button></p></form>{{found}}
<h2>Our servers</h2>
{{presets}}
{{favourites}}{{friends}})";

// The watch's state; changing it is the program's own affair, through links
// of its own scheme that only its panes follow.
const char kFriendsTemplate[] = R"(<form method="get" action="utquery:friends"><p><label>Friends to watch for, one a
line or separated by commas (the desktop tells you when one plays on a watched server or on the list):<br>
<textarea name="names" rows="3" cols="48">%1</textarea></label><input type="hidden" name="game" value="%2">
<button>Keep</button></p></form>
)";

const char kServerTableHead[] =
    R"(<table><tr><th>Server</th><th>Map</th><th class="n">Players</th><th>Status</th></tr>)";

const char kVoiceTemplate[] = R"(<h1>Voice chat: TeamSpeak 3</h1>
<p>Our voice-chat server is <b>{{host}}</b>.</p>
<p class="note">To join, start TeamSpeak 3, choose Connections, then Connect, and enter {{host}} as the
server address (port 9987, the TeamSpeak default). No password is needed to listen in.</p>
)";

// What each game's start page says to do, by game; %1 stands for its usual port.
const char* const kStartAbout[] = {
    "Choose one of our servers in the list or type a server's IP and query port, then press Begin Query to see "
    "who is playing. Launch Game joins the server.",
    "Type a server's IP and game port (the query goes to the next port up), or choose a favourite, then press "
    "Begin Query.",
    "Type a server's IP, its query port (usually %1) and its web statistics port (0 for none), then press Begin "
    "Query.",
};
static_assert(std::size(kStartAbout) == kGames.size());

QString queryPortHint(Game game)
{
    const GameInfo& info = gameInfo(game);
    if (info.queryPortOffset)
        return QStringLiteral("The query port of %1 is usually the game port + %2.")
            .arg(QLatin1String(info.title))
            .arg(info.queryPortOffset);
    return QStringLiteral("The query port of %1 is usually %2.").arg(QLatin1String(info.title)).arg(info.defaultPort);
}

// The backgrounds a name can stand on: the page's base colour, its gradient's
// ends and a found row's.
constexpr gamequery::Colour kBackgrounds[] = {
    {0x1b, 0x12, 0x0e}, {0x3a, 0x1a, 0x0c}, {0x12, 0x0a, 0x07}, {0x4a, 0x30, 0x10}};

// Relative luminance as the web's contrast rule defines it.
double luminance(const gamequery::Colour& c)
{
    const auto linear = [](unsigned char channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double worstContrast(const gamequery::Colour& c)
{
    double worst = 21;
    for (const gamequery::Colour& background : kBackgrounds) {
        const double mine = luminance(c), theirs = luminance(background);
        worst = std::min(worst, (std::max(mine, theirs) + 0.05) / (std::min(mine, theirs) + 0.05));
    }
    return worst;
}

// Mixed with white step by step until it stands out 3:1: the hue stays.
gamequery::Colour readable(gamequery::Colour c)
{
    const gamequery::Colour given = c;
    const auto mix = [](unsigned char channel, int step) {
        return static_cast<unsigned char>(channel + (255 - channel) * step / 20);
    };
    for (int step = 1; worstContrast(c) < 3 && step <= 20; ++step)
        c = {mix(given.red, step), mix(given.green, step), mix(given.blue, step)};
    return c;
}

QString homeLink(Game game)
{
    return QStringLiteral("<a href=\"%1\">%2 start page</a>")
        .arg(QLatin1String(startRoute(game).path), gameTitle(game));
}

QString refreshLink(const PageRequest& request)
{
    QString target = QString::fromUtf8(request.target);
    if (!request.refresh)
        target += (target.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?")) +
                  QStringLiteral("refresh=1");
    return escaped(target);
}

QString row(const QString& head, const QString& cellHtml)
{
    return QStringLiteral("<tr><th>%1</th><td>%2</td></tr>").arg(escaped(head), cellHtml);
}

QString teamCell(const std::optional<int>& team, const gamequery::ServerStatus& s)
{
    if (!team)
        return QStringLiteral("&ndash;");
    static const QStringList colours{"Red", "Blue", "Green", "Gold"};
    QString name = *team >= 0 && *team < colours.size() ? colours[*team] : QString::number(*team);
    if (*team >= 0 && static_cast<std::size_t>(*team) < s.teams.size() &&
        !s.teams[static_cast<std::size_t>(*team)].name.isEmpty())
        name = s.teams[static_cast<std::size_t>(*team)].name;
    const int swatch = std::clamp(*team, 0, 3);
    return QStringLiteral("<span class=\"team t%1\"></span>%2").arg(swatch).arg(escaped(name));
}

} // namespace

// A page of the template with its parts, in a colour scheme (a class of its body; "": the plain one).
QByteArray fill(const char* pageTemplate, const std::vector<std::pair<const char*, QString>>& parts,
                const char* bodyClass)
{
    QHash<QString, QString> values{{QStringLiteral("style"), QString::fromUtf8(kStyle)},
                                   {QStringLiteral("bodyClass"), QString::fromLatin1(bodyClass)}};
    for (const auto& [key, html] : parts)
        values.insert(QLatin1String(key), html);
    const QString frame =
        QString::fromUtf8(kFrame).replace(QStringLiteral("{{content}}"), QString::fromUtf8(pageTemplate));
    // One pass: a "{{...}}" inside a server's text is never taken for a placeholder.
    QString page;
    qsizetype at = 0;
    for (qsizetype open = frame.indexOf(QLatin1String("{{")); open >= 0;
         open = frame.indexOf(QLatin1String("{{"), at)) {
        const qsizetype close = frame.indexOf(QLatin1String("}}"), open);
        page += frame.mid(at, open - at) + values.value(frame.mid(open + 2, close - open - 2));
        at = close + 2;
    }
    return (page + frame.mid(at)).toUtf8();
}

QString gameTitle(Game game) { return QLatin1String(gameInfo(game).title); }

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default:
            // Control characters (a UT99 0x7F, stray codes) show as nothing.
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
                out += c;
        }
    }
    return out;
}

QString searchKey(const QString& text)
{
    QString key;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing)
            key += c;
    }
    return key.toCaseFolded();
}

QString colouredHtml(const gamequery::RichText& text)
{
    QString html;
    for (const gamequery::RichText::Run& run : text.runs) {
        if (run.colour)
            html += QStringLiteral("<span style=\"color:%1\">%2</span>")
                        .arg(readable(*run.colour).name(), escaped(run.text));
        else
            html += escaped(run.text);
    }
    return QStringLiteral("<bdi>%1</bdi>").arg(html.isEmpty() ? QStringLiteral("(no name)") : html);
}

QByteArray statusPage(const PageRequest& request, const gamequery::QueryResult& result, const QDateTime& askedAt)
{
    const gamequery::ServerStatus& s = *result.status;
    QString facts = row(QStringLiteral("Map"), escaped(s.map)) + row(QStringLiteral("Game type"), escaped(s.gameType)) +
                    row(QStringLiteral("Players"), QStringLiteral("%1 / %2").arg(s.playerCount).arg(s.maxPlayers)) +
                    row(QStringLiteral("Password"), !s.password   ? QStringLiteral("unknown")
                                                    : *s.password ? QStringLiteral("yes")
                                                                  : QStringLiteral("no")) +
                    row(QStringLiteral("Query round trip"), QStringLiteral("%1 ms").arg(result.roundTripMs)) +
                    row(QStringLiteral("Address"),
                        escaped(result.address.toString() + QLatin1Char(':') + QString::number(result.queryPort)));

    std::vector<gamequery::Player> players = s.players;
    std::stable_sort(players.begin(), players.end(), [](const auto& a, const auto& b) { return a.score > b.score; });
    QString playerTable;
    if (players.empty()) {
        playerTable = QStringLiteral("<p class=\"note\">Nobody is playing.</p>");
    } else {
        playerTable = QStringLiteral("<table><tr><th>Name</th><th class=\"n\">Score</th><th class=\"n\">Ping</th>"
                                     "<th>Team</th></tr>");
        for (const gamequery::Player& p : players)
            playerTable +=
                QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td><td class=\"n\">%3</td><td>%4</td></tr>")
                    .arg(colouredHtml(p.name), QString::number(p.score), QString::number(p.ping), teamCell(p.team, s));
        playerTable += QStringLiteral("</table>");
    }

    QString teams;
    if (!s.teams.empty()) {
        teams = QStringLiteral("<h2>Team scores</h2><table><tr><th>Team</th><th class=\"n\">Score</th></tr>");
        for (std::size_t i = 0; i < s.teams.size(); ++i)
            teams += QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td></tr>")
                         .arg(teamCell(static_cast<int>(i), s), QString::number(s.teams[i].score));
        teams += QStringLiteral("</table>");
    }

    QString rules;
    for (const auto& [key, value] : s.rules)
        rules += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>").arg(escaped(key), escaped(value));

    QString webStats;
    bool webPortOk = false;
    const int webPort = request.webPort.toInt(&webPortOk);
    if (statusRoute(request.game).secondPortKey && webPortOk && webPort > 0 && webPort < 65536)
        webStats = QStringLiteral(" &middot; <a href=\"http://%1:%2/\">Web statistics</a>")
                       .arg(escaped(request.host), QString::number(webPort));

    return fill(kStatusTemplate,
                {{"title", escaped(gameTitle(request.game) + QStringLiteral(": ") + s.name.plain())},
                 {"name", colouredHtml(s.name)},
                 {"partial", s.partial ? QStringLiteral("<p class=\"warn\">Part of the server's answer did not "
                                                        "arrive; what is shown here is what it said.</p>")
                                       : QString()},
                 {"facts", facts},
                 {"players", playerTable},
                 {"teams", teams},
                 {"ruleCount", QString::number(s.rules.size())},
                 {"rules", rules},
                 {"time", askedAt.toString(QStringLiteral("HH:mm:ss"))},
                 {"refresh", refreshLink(request)},
                 {"webStats", webStats},
                 {"home", homeLink(request.game)}},
                gameInfo(request.game).pageClass);
}

namespace {

// What was found out about a silent server, as a list in plain words.
QString findingsHtml(const PageRequest& request, quint16 queryPort, const Findings& found)
{
    QStringList items;
    const QString host = escaped(found.address.toString());
    switch (found.echo.kind) {
    case Echo::Kind::Answered:
        items << QStringLiteral("The host %1 answers ping (%2 ms), but nothing answers on query port %3.")
                     .arg(host, QString::number(found.echo.roundTripUs / 1000.0, 'f', 1), QString::number(queryPort));
        break;
    case Echo::Kind::Silent: items << QStringLiteral("The host %1 does not answer ping either.").arg(host); break;
    case Echo::Kind::NotPermitted:
        items << QStringLiteral("This service may not send ping here, so whether the host %1 is up is not known.")
                     .arg(host);
        break;
    case Echo::Kind::NotTried: break;
    }
    for (const Findings::Answering& answering : found.answering)
        items << QStringLiteral("Query port %1 on the same host answers as a %2 server: <a href=\"%3\">see its "
                                "status</a>. The game port may have been typed where the query port belongs, or the "
                                "query port moved because several servers share the host.")
                     .arg(QString::number(answering.queryPort), gameTitle(request.game), escaped(answering.statusLink));
    if (found.answering.empty()) {
        QStringList others;
        for (quint16 port : strayQueryPorts(request.game, queryPort))
            others << QString::number(port);
        items << (found.echo.kind == Echo::Kind::Silent
                      ? QStringLiteral("Nothing on that host answers at all.")
                      : QStringLiteral("No %1 server answers on the other usual query ports of that host either (%2).")
                            .arg(gameTitle(request.game), others.join(QStringLiteral(", "))));
    }
    return QStringLiteral("\n<ul class=\"findings\"><li>") + items.join(QStringLiteral("</li><li>")) +
           QStringLiteral("</li></ul>");
}

} // namespace

QByteArray problemPage(const PageRequest& request, Problem problem, quint16 queryPort, const Findings* findings)
{
    QString title, message, hint;
    switch (problem) {
    case Problem::NoAddress:
        title = QStringLiteral("No server address");
        message = QStringLiteral("There is no usable server address to ask: the host \"%1\" with port \"%2\".")
                      .arg(escaped(request.host), escaped(request.port));
        hint = QStringLiteral("Type the server's host name or IP address and its port into the fields, or choose "
                              "a preset or a favourite, then press Begin Query.");
        break;
    case Problem::NotResolved:
        title = QStringLiteral("Unknown server name");
        message = QStringLiteral("The name %1 did not resolve to an address.").arg(escaped(request.host));
        hint = QStringLiteral("Check the spelling, or type the server's IP address instead.");
        break;
    case Problem::Refused:
        title = QStringLiteral("Address not asked");
        message = QStringLiteral("%1 is an address this service does not send queries to.").arg(escaped(request.host));
        hint = QStringLiteral("This service asks game servers on the internet only, not private, local or "
                              "broadcast addresses.");
        break;
    case Problem::NoAnswer:
        title = QStringLiteral("No answer");
        message = QStringLiteral("No answer from %1 on query port %2.")
                      .arg(escaped(request.host), QString::number(queryPort));
        hint = QStringLiteral("The server may be down, or the port may be wrong. ") + queryPortHint(request.game);
        break;
    case Problem::Malformed:
        title = QStringLiteral("Unreadable answer");
        message = QStringLiteral("%1 answered on port %2, but the reply made no sense for %3.")
                      .arg(escaped(request.host), QString::number(queryPort), gameTitle(request.game));
        hint = QStringLiteral("Is it a server of that game? Check the game and the port.");
        break;
    case Problem::Busy:
        title = QStringLiteral("Too many queries");
        message = QStringLiteral("Too many queries are under way at this moment.");
        hint = QStringLiteral("Try again in a second.");
        break;
    case Problem::TooMany:
        title = QStringLiteral("Too many requests");
        message = QStringLiteral("You have asked for more pages than this service answers in a short time.");
        hint = QStringLiteral("Wait a few seconds, then try again.");
        break;
    }
    return fill(kProblemTemplate,
                {{"title", escaped(gameTitle(request.game) + QStringLiteral(": ") + title)},
                 {"message", message},
                 {"findings", findings ? findingsHtml(request, queryPort, *findings) : QString()},
                 {"hint", escaped(hint)},
                 {"refresh", refreshLink(request)},
                 {"home", homeLink(request.game)}},
                gameInfo(request.game).pageClass);
}

namespace {

// Whether a player of a line's server has a name, without its colour codes,
// that holds the one searched for, in any letter case, accents aside.
bool isPlaying(const ServerLine& line, const QString& player)
{
    if (player.isEmpty() || !line.result || !line.result->status)
        return false;
    const QString wanted = searchKey(player);
    const std::vector<gamequery::Player>& players = line.result->status->players;
    return std::any_of(players.begin(), players.end(),
                       [&](const gamequery::Player& p) { return searchKey(p.name.plain()).contains(wanted); });
}

// A table of the lines, marking the rows where player plays; their labels go to found.
QString serverTable(Game game, const std::vector<ServerLine>& lines, const QString& player, QStringList& found)
{
    QString rows = QLatin1String(kServerTableHead);
    for (const ServerLine& line : lines) {
        QString label = escaped(line.label);
        if (!line.statusLink.isEmpty())
            label = QStringLiteral("<a href=\"%1\">%2</a>").arg(escaped(line.statusLink), label);
        if (line.slot)
            label += QStringLiteral(" &middot; <a href=\"utquery:%1?game=%2&amp;slot=%3\">%4</a>")
                         .arg(line.watched ? QStringLiteral("unwatch") : QStringLiteral("watch"),
                              QLatin1String(gameInfo(game).id), QString::number(line.slot),
                              line.watched ? QStringLiteral("Stop watching") : QStringLiteral("Watch"));
        const bool here = isPlaying(line, player);
        if (here)
            found << escaped(line.label);
        const QString row = here ? QStringLiteral("<tr class=\"found\">") : QStringLiteral("<tr>");
        if (line.result && line.result->status) {
            const gamequery::ServerStatus& s = *line.result->status;
            rows += row +
                    QStringLiteral("<td>%1<br>%2</td><td>%3</td><td class=\"n\">%4 / %5</td><td>up, %6 ms%7</td></tr>")
                        .arg(label, colouredHtml(s.name), escaped(s.map), QString::number(s.playerCount),
                             QString::number(s.maxPlayers), QString::number(line.result->roundTripMs),
                             here ? QStringLiteral("<br>%1 is playing here").arg(escaped(player)) : QString());
        } else {
            const QString why = line.result ? line.result->reason() : line.note;
            rows +=
                row +
                QStringLiteral("<td>%1</td><td></td><td></td><td class=\"note\">%2</td></tr>").arg(label, escaped(why));
        }
    }
    return rows + QStringLiteral("</table>");
}

// The way to the game's list, with the players on it at its last sweep.
QString serverListLink(Game game, const gamequery::Sweep* lastSweep)
{
    if (gameInfo(game).master == MasterProtocol::None)
        return {};
    const QString online = lastSweep ? QStringLiteral(" (players online: %1)").arg(lastSweep->players()) : QString();
    return QStringLiteral("<p><a href=\"%1\">Every live %2 server</a>%3</p>\n")
        .arg(QLatin1String(listRoute(game).path), gameTitle(game), online);
}

} // namespace

QByteArray startPage(const PageRequest& request, const std::vector<ServerLine>& presets,
                     const std::optional<std::vector<ServerLine>>& favourites, const QStringList& friends,
                     const gamequery::Sweep* lastSweep)
{
    const Game game = request.game;
    const QString title = gameTitle(game) + QStringLiteral(" Server Query");
    const QString about = QString::fromUtf8(kStartAbout[static_cast<std::size_t>(game)])
                              .replace(QStringLiteral("%1"), QString::number(gameInfo(game).defaultPort));
    QStringList found;
    const QString presetTable = serverTable(game, presets, request.player, found);
    QString favouritesTable;
    if (favourites) {
        favouritesTable = QStringLiteral("<h2>Your favourites</h2>\n");
        favouritesTable += favourites->empty() ? QStringLiteral("<p class=\"note\">No favourite %1 servers are saved "
                                                                "yet.</p>\n")
                                                     .arg(gameTitle(game))
                                               : serverTable(game, *favourites, request.player, found);
    }
    const QString friendsForm =
        favourites ? QString::fromUtf8(kFriendsTemplate)
                         .arg(escaped(friends.join(QLatin1Char(','))).replace(QLatin1Char(','), QLatin1String("&#10;")),
                              QLatin1String(gameInfo(game).id))
                   : QString();
    QString foundText;
    if (!request.player.isEmpty())
        foundText = found.isEmpty() ? QStringLiteral("<p class=\"warn\">%1 was found on none of these servers.</p>")
                                          .arg(escaped(request.player))
                                    : QStringLiteral("<p class=\"warn\">%1 was found on: %2.</p>")
                                          .arg(escaped(request.player), found.join(QStringLiteral(", ")));
    return fill(kStartTemplate,
                {{"title", escaped(title)},
                 {"about", escaped(about)},
                 {"presets", presetTable},
                 {"favourites", favouritesTable},
                 {"friends", friendsForm},
                 {"player", escaped(request.player)},
                 {"found", foundText},
                 {"servers", serverListLink(game, lastSweep)}},
                gameInfo(game).pageClass);
}

QByteArray voiceChatPage(const QString& voiceChatHost)
{
    return fill(kVoiceTemplate, {{"title", QStringLiteral("Voice chat")}, {"host", escaped(voiceChatHost)}}, "");
}

QByteArray notFoundPage()
{
    return QByteArrayLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Not found</title></head>"
                             "<body><p>No such page.</p></body></html>");
}

} // namespace statusservice
