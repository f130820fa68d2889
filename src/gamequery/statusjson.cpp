#include "statusjson.h"

#include <QJsonArray>

namespace gamequery {

namespace {

QJsonValue richText(const RichText& text)
{
    QJsonArray runs;
    for (const RichText::Run& run : text.runs) {
        QJsonObject r{{"text", run.text}};
        if (run.colour)
            r.insert(QStringLiteral("colour"), run.colour->name());
        runs.append(r);
    }
    return QJsonObject{{"text", text.plain()}, {"runs", runs}};
}

QString outcomeName(QueryResult::Outcome outcome)
{
    switch (outcome) {
    case QueryResult::Outcome::Answered: return QStringLiteral("answered");
    case QueryResult::Outcome::NoQueryPort: return QStringLiteral("no-query-port");
    case QueryResult::Outcome::NotResolved: return QStringLiteral("not-resolved");
    case QueryResult::Outcome::Refused: return QStringLiteral("refused");
    case QueryResult::Outcome::NoAnswer: return QStringLiteral("no-answer");
    case QueryResult::Outcome::Malformed: return QStringLiteral("malformed");
    }
    return {};
}

} // namespace

QJsonObject toJson(const QueryResult& result)
{
    QJsonObject json{{"game", QLatin1String(gameInfo(result.request.game).id)},
                     {"host", result.request.host},
                     {"address", result.address.toString()},
                     {"queryPort", result.queryPort},
                     {"gamePort", result.gamePort()},
                     {"outcome", outcomeName(result.outcome)}};
    if (!result.status) {
        json.insert(QStringLiteral("reason"), result.reason());
        return json;
    }
    const ServerStatus& s = *result.status;
    json.insert(QStringLiteral("roundTripMs"), result.roundTripMs);
    json.insert(QStringLiteral("partial"), s.partial);
    json.insert(QStringLiteral("name"), richText(s.name));
    json.insert(QStringLiteral("map"), s.map);
    json.insert(QStringLiteral("gameType"), s.gameType);
    json.insert(QStringLiteral("players"), s.playerCount);
    json.insert(QStringLiteral("maxPlayers"), s.maxPlayers);
    json.insert(QStringLiteral("password"), s.password ? QJsonValue(*s.password) : QJsonValue());
    QJsonArray players;
    for (const Player& p : s.players) {
        QJsonObject player{{"name", richText(p.name)}, {"score", p.score}, {"ping", p.ping}};
        player.insert(QStringLiteral("team"), p.team ? QJsonValue(*p.team) : QJsonValue());
        players.append(player);
    }
    json.insert(QStringLiteral("playerList"), players);
    QJsonArray teams;
    for (const Team& t : s.teams) {
        QJsonObject team{{"name", t.name}, {"score", t.score}};
        if (t.size)
            team.insert(QStringLiteral("size"), *t.size);
        teams.append(team);
    }
    json.insert(QStringLiteral("teams"), teams);
    QJsonArray rules;
    for (const auto& [key, value] : s.rules)
        rules.append(QJsonArray{key, value});
    json.insert(QStringLiteral("rules"), rules);
    return json;
}

} // namespace gamequery
