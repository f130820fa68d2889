#include "ut99protocol.h"

#include <QRegularExpression>
#include <QSet>

namespace gamequery::ut99 {

namespace {

// Keys whose values may hold a raw backslash.
const QSet<QString> kBackslashValues = {QStringLiteral("AdminEMail"), QStringLiteral("adminemail"),
                                        QStringLiteral("mutators")};

bool isKnownKey(const QString& key)
{
    static const QSet<QString> keys = {"gamename",      "gamever",      "minnetver",
                                       "location",      "hostname",     "hostport",
                                       "maptitle",      "mapname",      "gametype",
                                       "numplayers",    "maxplayers",   "gamemode",
                                       "worldlog",      "wantworldlog", "listenserver",
                                       "password",      "timelimit",    "fraglimit",
                                       "goalteamscore", "minplayers",   "changelevels",
                                       "tournament",    "gamestyle",    "mutators",
                                       "maxteams",      "balanceteams", "playersbalanceteams",
                                       "friendlyfire",  "botskill",     "AdminName",
                                       "AdminEMail",    "queryid",      "final",
                                       "echo",          "echo_replay",  "adminname",
                                       "adminemail"};
    static const QRegularExpression numbered(
        QStringLiteral("^(player|frags|ping|team|mesh|skin|face|ngsecret|score|size)_\\d+$"));
    return keys.contains(key) || numbered.match(key).hasMatch();
}

QString value(const std::vector<std::pair<QString, QString>>& pairs, const char* key)
{
    for (const auto& [k, v] : pairs) {
        if (k.compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
            return v;
    }
    return {};
}

} // namespace

std::vector<std::pair<QString, QString>> parsePairs(const QByteArray& packet)
{
    // One byte per character, Latin-1.
    const QStringList tokens = QString::fromLatin1(packet).split(QLatin1Char('\\'));
    std::vector<std::pair<QString, QString>> pairs;
    // The packet starts with a backslash: tokens[0] is empty.
    qsizetype i = 1;
    while (i < tokens.size()) {
        const QString key = tokens[i++];
        if (key.isEmpty() && i >= tokens.size())
            break; // the trailing backslash
        QString val = i < tokens.size() ? tokens[i++] : QString();
        if (kBackslashValues.contains(key)) {
            while (i < tokens.size() && !isKnownKey(tokens[i]) && !tokens[i].isEmpty())
                val += QLatin1Char('\\') + tokens[i++];
        }
        pairs.emplace_back(key, val);
    }
    return pairs;
}

std::optional<Packet> readPacket(const QByteArray& bytes)
{
    if (!bytes.startsWith('\\'))
        return std::nullopt;
    Packet packet;
    for (auto& [key, value] : parsePairs(bytes)) {
        if (key == QLatin1String("queryid")) {
            packet.reply = value.section(QLatin1Char('.'), 0, 0).toInt();
            packet.part = value.section(QLatin1Char('.'), 1, 1).toInt();
        } else if (key == QLatin1String("final")) {
            packet.final = true;
        } else {
            packet.pairs.emplace_back(std::move(key), std::move(value));
        }
    }
    return packet;
}

void Reply::add(Packet packet)
{
    if (packet.part <= 0) {
        m_unnumberedFinal = m_unnumberedFinal || packet.final;
        m_unnumbered.push_back(std::move(packet.pairs));
        return;
    }
    if (packet.final)
        m_finalPart = packet.part;
    m_parts[packet.part] = std::move(packet.pairs);
}

bool Reply::add(const QByteArray& bytes)
{
    auto packet = readPacket(bytes);
    if (packet)
        add(std::move(*packet));
    return packet.has_value();
}

bool Reply::complete() const
{
    // A reply without numbers ends with the packet marked final.
    if (m_parts.isEmpty())
        return m_unnumberedFinal;
    // Fewer parts than the final one's number: some are missing, however
    // large the number a hostile server sends.
    if (m_finalPart == 0 || m_finalPart > m_parts.size())
        return false;
    for (int part = 1; part <= m_finalPart; ++part) {
        if (!m_parts.contains(part))
            return false;
    }
    return true;
}

std::vector<std::pair<QString, QString>> Reply::pairs() const
{
    std::vector<std::pair<QString, QString>> all;
    for (const auto& part : m_parts)
        all.insert(all.end(), part.begin(), part.end());
    for (const auto& part : m_unnumbered)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

ServerStatus statusFrom(const Reply& status, const Reply* teams)
{
    static const QRegularExpression playerKey(QStringLiteral("^(player|frags|ping|team)_(\\d+)$"));
    static const QSet<QString> infoKeys = {"hostname", "mapname", "maptitle", "gametype", "numplayers", "maxplayers"};
    const auto pairs = status.pairs();
    ServerStatus s;
    s.name = RichText::fromPlain(value(pairs, "hostname"));
    s.map = value(pairs, "maptitle");
    if (s.map.isEmpty())
        s.map = value(pairs, "mapname");
    s.gameType = value(pairs, "gametype");
    s.playerCount = value(pairs, "numplayers").toInt();
    s.maxPlayers = value(pairs, "maxplayers").toInt();
    const QString password = value(pairs, "password");
    if (!password.isEmpty())
        s.password =
            password.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || password == QLatin1String("1");

    QMap<int, Player> players;
    QSet<int> named;
    for (const auto& [key, val] : pairs) {
        const QRegularExpressionMatch m = playerKey.match(key);
        if (m.hasMatch()) {
            Player& p = players[m.captured(2).toInt()];
            const QString field = m.captured(1);
            if (field == QLatin1String("player")) {
                p.name = RichText::fromPlain(val);
                named.insert(m.captured(2).toInt());
            } else if (field == QLatin1String("frags")) {
                p.score = val.toInt();
            } else if (field == QLatin1String("ping")) {
                p.ping = val.toInt();
            } else if (val.toInt() != 255) {
                p.team = val.toInt();
            }
        } else if (!infoKeys.contains(key) && !key.contains(QLatin1Char('_'))) {
            s.rules.emplace_back(key, val);
        }
    }
    for (auto it = players.begin(); it != players.end(); ++it) {
        if (named.contains(it.key()))
            s.players.push_back(it.value());
    }

    if (teams && !teams->empty()) {
        static const QRegularExpression teamKey(QStringLiteral("^(team|score|size)_(\\d+)$"));
        QMap<int, Team> byNumber;
        for (const auto& [key, val] : teams->pairs()) {
            const QRegularExpressionMatch m = teamKey.match(key);
            if (!m.hasMatch())
                continue;
            Team& t = byNumber[m.captured(2).toInt()];
            if (m.captured(1) == QLatin1String("team"))
                t.name = val;
            else if (m.captured(1) == QLatin1String("score"))
                t.score = val.toDouble();
            else
                t.size = val.toInt();
        }
        const int maxTeams = value(pairs, "maxteams").toInt();
        for (auto it = byNumber.begin(); it != byNumber.end(); ++it) {
            if (maxTeams <= 0 || it.key() < maxTeams)
                s.teams.push_back(it.value());
        }
    }
    s.rules = oneRulePerKey(s.rules);
    s.partial = !status.complete() || static_cast<int>(s.players.size()) < s.playerCount;
    return s;
}

QByteArray pair(const QString& key, const QString& value)
{
    const auto latin1 = [](const QString& text) {
        QByteArray bytes;
        for (const QChar c : text)
            bytes += c.unicode() > 255 ? '\x7F' : static_cast<char>(c.unicode());
        return bytes;
    };
    return '\\' + latin1(key) + '\\' + latin1(value);
}

QList<QByteArray> replyPackets(const QList<QByteArray>& chunks, int splitSize, int queryId)
{
    QList<QByteArray> packets;
    QByteArray buffer;
    const auto send = [&](bool final) {
        buffer += "\\queryid\\" + QByteArray::number(queryId) + '.' + QByteArray::number(packets.size() + 1);
        if (final)
            buffer += "\\final\\";
        packets << buffer;
        buffer.clear();
    };
    for (const QByteArray& chunk : chunks) {
        if (!buffer.isEmpty() && buffer.size() + chunk.size() > splitSize)
            send(false);
        buffer += chunk;
    }
    send(true);
    return packets;
}

} // namespace gamequery::ut99
