#include "report.h"

#include "gamequery/statusjson.h"

#include <QJsonArray>
#include <QStringList>

namespace {

using gamequery::QueryResult;
using gamequery::ServerStatus;

// Columns a text takes in a terminal: East Asian wide characters take two.
qsizetype columns(const QString& text)
{
    qsizetype width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

QString pad(const QString& text, qsizetype width, bool right)
{
    const QString fill(std::max<qsizetype>(0, width - columns(text)), QLatin1Char(' '));
    return right ? fill + text : text + fill;
}

// Rows of cells as aligned columns, indented; the last column is not padded.
QString table(const std::vector<QStringList>& rows, const QString& indent, const std::vector<bool>& rightAligned = {})
{
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows) {
        widths.resize(std::max(widths.size(), static_cast<std::size_t>(row.size())));
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[static_cast<std::size_t>(i)] = std::max(widths[static_cast<std::size_t>(i)], columns(row[i]));
    }
    QString out;
    for (const QStringList& row : rows) {
        QString line = indent;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const qsizetype w = widths[static_cast<std::size_t>(i)];
            const bool right =
                static_cast<std::size_t>(i) < rightAligned.size() && rightAligned[static_cast<std::size_t>(i)];
            const bool last = i == row.size() - 1;
            line += (last && !right) ? row[i] : pad(row[i], w, right);
            if (!last)
                line += QStringLiteral("  ");
        }
        out += line + QLatin1Char('\n');
    }
    return out;
}

QString teamName(const ServerStatus& s, std::optional<int> team)
{
    if (!team)
        return QStringLiteral("-");
    if (*team >= 0 && static_cast<std::size_t>(*team) < s.teams.size() &&
        !s.teams[static_cast<std::size_t>(*team)].name.isEmpty())
        return s.teams[static_cast<std::size_t>(*team)].name;
    static const QStringList colours{"Red", "Blue", "Green", "Gold"};
    return *team >= 0 && *team < colours.size() ? colours[*team] : QString::number(*team);
}

} // namespace

QString textReport(const QueryResult& result, const std::vector<QueryResult>& elsewhere)
{
    const QString where = result.address.isNull()
                              ? result.request.host
                              : result.address.toString() + QLatin1Char(':') + QString::number(result.queryPort);
    QString out = QString::fromLatin1(gameInfo(result.request.game).id).toUpper() + QStringLiteral("  ") + where;
    if (!result.status) {
        out += QStringLiteral("  ") + result.reason() + QLatin1Char('\n');
        for (const QueryResult& found : elsewhere)
            out += QStringLiteral("  Query port %1 of the same host answers as a %2 server: %3. The game port may "
                                  "have been typed where the query port belongs, or the query port moved.\n")
                       .arg(QString::number(found.queryPort), QLatin1String(gameInfo(found.request.game).title),
                            found.status->name.plain());
        return out;
    }
    const ServerStatus& s = *result.status;
    out += QStringLiteral("  %1 ms").arg(result.roundTripMs);
    if (s.partial)
        out += QStringLiteral("  (partial reply)");
    out += QLatin1Char('\n');
    out += table({{"Name", s.name.plain()},
                  {"Map", s.map},
                  {"Game type", s.gameType},
                  {"Game port", QString::number(result.gamePort())},
                  {"Players", QStringLiteral("%1/%2").arg(s.playerCount).arg(s.maxPlayers)},
                  {"Password", !s.password   ? QStringLiteral("unknown")
                               : *s.password ? QStringLiteral("yes")
                                             : QStringLiteral("no")}},
                 QStringLiteral("  "));
    if (!s.players.empty()) {
        std::vector<QStringList> rows{{"Player", "Score", "Ping", "Team"}};
        for (const gamequery::Player& p : s.players)
            rows.push_back({p.name.plain(), QString::number(p.score), QString::number(p.ping), teamName(s, p.team)});
        out += table(rows, QStringLiteral("  "), {false, true, true, false});
    }
    if (!s.teams.empty()) {
        std::vector<QStringList> rows{{"Team", "Score"}};
        for (const gamequery::Team& t : s.teams)
            rows.push_back({t.name, QString::number(t.score)});
        out += table(rows, QStringLiteral("  "), {false, true});
    }
    if (!s.rules.empty()) {
        std::vector<QStringList> rows{{"Rule", "Value"}};
        for (const auto& [key, value] : s.rules)
            rows.push_back({key, value});
        out += table(rows, QStringLiteral("  "));
    }
    return out;
}

QJsonObject jsonReport(const QueryResult& result, const std::vector<QueryResult>& elsewhere)
{
    QJsonObject json = gamequery::toJson(result);
    if (result.status)
        return json;
    QJsonArray found;
    for (const QueryResult& other : elsewhere)
        found.append(QJsonObject{{"queryPort", other.queryPort}, {"name", other.status->name.plain()}});
    json.insert(QStringLiteral("answersOn"), found);
    return json;
}

QString sweepReport(const gamequery::Sweep& sweep)
{
    std::vector<QStringList> rows;
    for (const gamequery::SweptServer& server : sweep.servers) {
        const QString address = server.listed.address.toString();
        if (!server.result) {
            rows.push_back({address + QLatin1Char(':') + QString::number(server.listed.port)});
            continue;
        }
        const QString where = address + QLatin1Char(':') + QString::number(server.gamePort());
        if (const auto& s = server.result->status) {
            rows.push_back({where, s->name.plain(), s->map,
                            QStringLiteral("%1/%2").arg(s->playerCount).arg(s->maxPlayers),
                            QStringLiteral("%1 ms").arg(server.result->roundTripMs)});
        } else {
            rows.push_back({where, server.result->reason()});
        }
    }
    return table(rows, {}, {false, false, false, true, true});
}

QString mastersReport(const gamequery::Sweep& sweep)
{
    QString out;
    for (const gamequery::MasterResult& master : sweep.lists.masters) {
        out += QStringLiteral("master %1:%2: ").arg(master.master.host).arg(master.master.port) +
               (master.failure.isEmpty() ? counted(master.servers.size(), QStringLiteral("server")) : master.failure) +
               QLatin1Char('\n');
    }
    return out;
}

QString counted(qsizetype count, const QString& noun)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? QString() : QStringLiteral("s"));
}

QJsonObject sweepJson(const gamequery::Sweep& sweep)
{
    QJsonArray masters, servers;
    for (const gamequery::MasterResult& master : sweep.lists.masters) {
        QJsonObject entry{{"master", QStringLiteral("%1:%2").arg(master.master.host).arg(master.master.port)}};
        if (master.failure.isEmpty())
            entry.insert(QStringLiteral("servers"), static_cast<int>(master.servers.size()));
        else
            entry.insert(QStringLiteral("error"), master.failure);
        masters.append(entry);
    }
    for (const gamequery::SweptServer& server : sweep.servers) {
        QJsonObject entry = server.result ? gamequery::toJson(*server.result) : QJsonObject();
        entry.insert(QStringLiteral("address"), server.listed.address.toString());
        entry.insert(QStringLiteral("listedPort"), server.listed.port);
        servers.append(entry);
    }
    return {{"game", QLatin1String(gameInfo(sweep.game).id)}, {"masters", masters}, {"servers", servers}};
}
