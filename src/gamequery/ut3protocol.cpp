#include "ut3protocol.h"

#include <QStringDecoder>

namespace gamequery::ut3 {

namespace {

constexpr unsigned char kChallengeType = 0x09;
constexpr unsigned char kStatusType = 0x00;

QByteArray header(unsigned char type, std::uint32_t session)
{
    QByteArray bytes("\xFE\xFD", 2);
    bytes += static_cast<char>(type);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((session >> shift) & 0xFF);
    return bytes;
}

bool startsWithSession(const QByteArray& packet, unsigned char type, std::uint32_t session)
{
    return packet.size() >= 5 && static_cast<unsigned char>(packet[0]) == type &&
           header(type, session).mid(3) == packet.mid(1, 4);
}

// Text is UTF-8 where it is valid UTF-8, else Latin-1.
QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// Reads a NUL-terminated string at pos; nullopt when no NUL ends it.
std::optional<QByteArray> readString(const QByteArray& bytes, qsizetype& pos)
{
    const qsizetype end = bytes.indexOf('\0', pos);
    if (end < 0)
        return std::nullopt;
    QByteArray s = bytes.mid(pos, end - pos);
    pos = end + 1;
    return s;
}

} // namespace

QByteArray challengeRequest(std::uint32_t session) { return header(kChallengeType, session); }

std::optional<std::int32_t> challengeFrom(const QByteArray& packet, std::uint32_t session)
{
    if (!startsWithSession(packet, kChallengeType, session))
        return std::nullopt;
    const QByteArray number = packet.mid(5).split('\0').front();
    if (number.isEmpty())
        return 0;
    bool ok = false;
    const qint64 value = number.toLongLong(&ok);
    if (!ok || value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

QByteArray statusRequest(std::uint32_t session, std::int32_t challenge)
{
    QByteArray bytes = header(kStatusType, session);
    const auto c = static_cast<std::uint32_t>(challenge);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((c >> shift) & 0xFF);
    bytes += QByteArray("\xFF\xFF\xFF\x01", 4);
    return bytes;
}

bool Reply::add(const QByteArray& packet)
{
    if (!startsWithSession(packet, kStatusType, m_session))
        return false;
    // "splitnum" NUL, the packet's index byte (bit 7: the last), one byte to skip.
    static const QByteArray splitnum("splitnum\0", 9);
    if (packet.mid(5, splitnum.size()) != splitnum || packet.size() < 5 + splitnum.size() + 2)
        return false;
    const auto indexByte = static_cast<unsigned char>(packet[5 + splitnum.size()]);
    const int index = indexByte & 0x7F;
    if (m_packets.contains(index))
        return true; // a repeat
    m_packets[index] = true;
    if (indexByte & 0x80)
        m_lastIndex = index;
    if (!parsePayload(packet, 5 + splitnum.size() + 2))
        m_damaged = true;
    return true;
}

bool Reply::parsePayload(const QByteArray& bytes, qsizetype pos)
{
    // The server section: key, value pairs up to an empty key. A packet that
    // carries only later sections starts with their marker.
    while (pos < bytes.size() && bytes[pos] != '\x01' && bytes[pos] != '\x02') {
        const auto key = readString(bytes, pos);
        if (!key)
            return false;
        if (key->isEmpty())
            break;
        const auto value = readString(bytes, pos);
        if (!value)
            return false;
        m_server.emplace_back(decode(*key), decode(*value));
    }
    // The player (01) and team (02) sections: per field a name, a start offset
    // and values up to an empty one; an empty name ends the section.
    while (pos < bytes.size()) {
        const char marker = bytes[pos++];
        if (marker != '\x01' && marker != '\x02')
            continue; // padding between sections
        auto& fields = marker == '\x01' ? m_playerFields : m_teamFields;
        for (;;) {
            const auto name = readString(bytes, pos);
            if (!name)
                return pos >= bytes.size(); // a section may end with the packet
            if (name->isEmpty())
                break;
            if (pos >= bytes.size())
                return false;
            int offset = static_cast<unsigned char>(bytes[pos++]);
            auto& column = fields[decode(*name)];
            for (;;) {
                const auto value = readString(bytes, pos);
                if (!value)
                    return false;
                if (value->isEmpty())
                    break;
                if (column.size() > 1024)
                    return false; // no server has that many
                column[offset++] = decode(*value);
            }
        }
    }
    return true;
}

bool Reply::complete() const
{
    if (m_lastIndex < 0 || m_damaged)
        return false;
    for (int i = 0; i <= m_lastIndex; ++i) {
        if (!m_packets.contains(i))
            return false;
    }
    return true;
}

QString keyName(const QString& key)
{
    static const QMap<QString, QString> names = {
        {"p1073741825", "mapname"},
        {"p1073741826", "gameclass"},
        {"p1073741827", "description"},
        {"p1073741828", "custommutators"},
        {"p1073741829", "mutatorclasses"},
        {"p268435703", "numbots"},
        {"p268435704", "goalscore"},
        {"p268435705", "timelimit"},
        {"p268435717", "mutators"},
        {"s32779", "gamemodeid"},
        {"s0", "botskill"},
        {"s6", "pure"},
        {"s7", "locked"},
        {"s10", "forcerespawn"},
        {"s12", "full"},
        {"s13", "empty"},
        {"s14", "dedicated"},
    };
    return names.value(key, key);
}

QString gameModeName(const QString& number)
{
    static const QStringList modes = {"Deathmatch", "CTF",    "Warfare",  "Vehicle CTF", "Team Deathmatch",
                                      "Duel",       "Custom", "Campaign", "Greed",       "Betrayal"};
    bool ok = false;
    const int mode = number.toInt(&ok);
    return ok && mode >= 0 && mode < modes.size() ? modes[mode] : number;
}

ServerStatus Reply::status() const
{
    ServerStatus s;
    s.game = Game::UT3;
    QString hostname, description, map, mapname, gameMode;
    for (const auto& [key, value] : m_server) {
        const QString name = keyName(key);
        if (key == QLatin1String("hostname"))
            hostname = value;
        else if (name == QLatin1String("description"))
            description = value;
        else if (key == QLatin1String("p1073741825"))
            map = value;
        else if (key == QLatin1String("mapname"))
            mapname = value;
        else if (key == QLatin1String("s32779"))
            gameMode = gameModeName(value);
        else if (key == QLatin1String("numplayers"))
            s.playerCount = value.toInt();
        else if (key == QLatin1String("maxplayers"))
            s.maxPlayers = value.toInt();
        else if (key == QLatin1String("s7") || key == QLatin1String("password"))
            s.password = value == QLatin1String("1") || value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
        if (key != QLatin1String("hostname") && key != QLatin1String("numplayers") &&
            key != QLatin1String("maxplayers"))
            s.rules.emplace_back(name, value);
    }
    // hostname holds the owner's player name; the server's own name is its description.
    s.name = RichText::fromPlain(description.isEmpty() ? hostname : description);
    s.map = map.isEmpty() ? mapname : map;
    s.gameType = gameMode;

    const auto column = [this](const char* name) { return m_playerFields.value(QLatin1String(name)); };
    const auto names = column("player_"), scores = column("score_"), pings = column("ping_"), teams = column("team_");
    for (auto it = names.begin(); it != names.end(); ++it) {
        Player p;
        p.name = RichText::fromPlain(it.value());
        p.score = scores.value(it.key()).toInt();
        p.ping = pings.value(it.key()).toInt();
        if (teams.contains(it.key()))
            p.team = teams.value(it.key()).toInt();
        s.players.push_back(p);
    }
    const auto teamNames = m_teamFields.value(QStringLiteral("team_t"));
    const auto teamScores = m_teamFields.value(QStringLiteral("score_t"));
    for (auto it = teamNames.begin(); it != teamNames.end(); ++it)
        s.teams.push_back({it.value(), teamScores.value(it.key()).toDouble(), std::nullopt});
    s.partial = !complete() || static_cast<int>(s.players.size()) < s.playerCount;
    return s;
}

} // namespace gamequery::ut3
