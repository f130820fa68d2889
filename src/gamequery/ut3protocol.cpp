#include "ut3protocol.h"

#include <QStringDecoder>

#include <algorithm>

namespace gamequery::ut3 {

namespace {

constexpr unsigned char kChallengeType = 0x09;
constexpr unsigned char kStatusType = 0x00;

constexpr char kRequestMagic[] = "\xFE\xFD";
constexpr qsizetype kHeaderSize = 7; // the magic, the type, the session
const QByteArray kStatusTail("\xFF\xFF\xFF\x01", 4);

QByteArray bigEndian(std::uint32_t value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes;
}

std::uint32_t bigEndianAt(const QByteArray& bytes, qsizetype pos)
{
    std::uint32_t value = 0;
    for (qsizetype i = pos; i < pos + 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

QByteArray header(unsigned char type, std::uint32_t session)
{
    return QByteArray(kRequestMagic, 2) + static_cast<char>(type) + bigEndian(session);
}

bool startsWithSession(const QByteArray& packet, unsigned char type, std::uint32_t session)
{
    return packet.size() >= 5 && static_cast<unsigned char>(packet[0]) == type &&
           header(type, session).mid(3) == packet.mid(1, 4);
}

// Text is UTF-8 where it is valid UTF-8, else Latin-1.
QString decode(const QByteArray& bytes)
{
    // Stateless: a sequence cut at the end is an error, not kept for later.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
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
    return header(kStatusType, session) + bigEndian(static_cast<std::uint32_t>(challenge)) + kStatusTail;
}

std::optional<Request> readRequest(const QByteArray& bytes)
{
    if (bytes.size() < kHeaderSize || !bytes.startsWith(QByteArray(kRequestMagic, 2)))
        return std::nullopt;
    const auto type = static_cast<unsigned char>(bytes[2]);
    const std::uint32_t session = bigEndianAt(bytes, 3);
    if (type == kChallengeType)
        return Request{true, session, 0};
    if (type != kStatusType || bytes.size() < kHeaderSize + 4 + kStatusTail.size())
        return std::nullopt;
    return Request{false, session, static_cast<std::int32_t>(bigEndianAt(bytes, kHeaderSize))};
}

QByteArray challengeReply(std::uint32_t session, std::int32_t challenge)
{
    return header(kChallengeType, session).mid(2) + QByteArray::number(challenge) + '\0';
}

QByteArray textBytes(const QString& text)
{
    const bool latin = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    return latin ? text.toLatin1() : text.toUtf8();
}

namespace {

constexpr char kSplitnum[] = "splitnum";
constexpr char kPlayerMarker = '\x01', kTeamMarker = '\x02';
constexpr int kMaxRows = 1024;                      // no server has that many
const QLatin1String kCustomMutators("p1073741828"); // names separated by 1C

// A column's name: lower-case letters ending in "_" (players, section 1) or
// in "_t" (teams, section 2).
bool isColumnName(const QByteArray& s, int section)
{
    const QByteArray end = section == 1 ? "_" : "_t";
    const qsizetype letters = s.size() - end.size();
    return letters > 0 && s.endsWith(end) &&
           std::all_of(s.begin(), s.begin() + letters, [](char c) { return c >= 'a' && c <= 'z'; });
}

// Writes packets of at most about splitSize bytes, each opening with the
// header that names the section its payload begins in.
class PacketWriter {
public:
    PacketWriter(std::uint32_t session, int splitSize) : m_head(header(kStatusType, session).mid(2)), m_split(splitSize)
    {
        m_head += QByteArray(kSplitnum, sizeof kSplitnum);
    }
    // Bytes that may begin a packet; within a column, row is the value's row.
    void item(const QByteArray& bytes, int row = -1)
    {
        if (!m_payload.isEmpty() && m_payload.size() + bytes.size() > m_split) {
            if (row >= 0)
                m_payload += '\0'; // the column ends with the packet
            m_packets << m_payload;
            m_sections << m_section;
            m_payload.clear();
            if (row >= 0)
                m_payload += m_column + '\0' + static_cast<char>(row);
        }
        m_payload += bytes;
    }
    // Bytes that stay with what came before them.
    void glue(const QByteArray& bytes) { m_payload += bytes; }
    void enterSection(int section) { m_section = section; }
    void enterColumn(const QByteArray& name)
    {
        item(name + '\0' + '\0');
        m_column = name;
    }
    QList<QByteArray> finish()
    {
        m_packets << m_payload;
        QList<QByteArray> packets;
        for (qsizetype i = 0; i < m_packets.size(); ++i) {
            const int last = i == m_packets.size() - 1 ? 0x80 : 0;
            packets << m_head + static_cast<char>(i | last) + static_cast<char>(m_sections[i]) + m_packets[i];
        }
        return packets;
    }

private:
    QByteArray m_head, m_payload, m_column;
    int m_split;
    int m_section = 0;
    QList<QByteArray> m_packets;
    QList<int> m_sections{0}; // where each packet's payload begins
};

void writeSection(PacketWriter& out, int section, const std::vector<Column>& columns)
{
    out.enterSection(section);
    for (const Column& column : columns) {
        out.enterColumn(column.name);
        for (qsizetype row = 0; row < column.values.size(); ++row)
            out.item(column.values[row] + '\0', static_cast<int>(row));
        out.glue(QByteArray(1, '\0'));
    }
    out.glue(QByteArray(1, '\0'));
}

} // namespace

QList<QByteArray> replyPackets(std::uint32_t session, const ReplyContent& content, int splitSize)
{
    PacketWriter out(session, splitSize);
    for (const auto& [key, value] : content.serverKeys)
        out.item(key + '\0' + value + '\0');
    out.glue(QByteArray(1, '\0') + kPlayerMarker);
    writeSection(out, 1, content.players);
    out.glue(QByteArray(1, kTeamMarker));
    writeSection(out, 2, content.teams);
    return out.finish();
}

bool Reply::add(const QByteArray& packet)
{
    if (!startsWithSession(packet, kStatusType, m_session))
        return false;
    // "splitnum" NUL, the packet's index (bit 7: the last), the section its payload begins in.
    static const QByteArray splitnum(kSplitnum, sizeof kSplitnum);
    const qsizetype payload = 5 + splitnum.size() + 2;
    if (packet.size() < payload || packet.mid(5, splitnum.size()) != splitnum)
        return false;
    const auto indexByte = static_cast<unsigned char>(packet[payload - 2]);
    const int index = indexByte & 0x7F;
    if (m_packets.contains(index))
        return true; // a repeat
    m_packets[index] = true;
    if (indexByte & 0x80)
        m_lastIndex = index;
    if (!parsePayload(packet, payload, static_cast<unsigned char>(packet[payload - 1])))
        m_damaged = true;
    return true;
}

bool Reply::parsePayload(const QByteArray& bytes, qsizetype pos, int section)
{
    // The server's keys: key, value pairs up to an empty key.
    while (section == 0 && pos < bytes.size()) {
        const auto key = readString(bytes, pos);
        if (!key)
            return false;
        if (key->isEmpty()) {
            section = -1; // a section marker follows
            break;
        }
        const auto value = readString(bytes, pos);
        if (!value)
            return false;
        m_server.emplace_back(decode(*key), decode(*value));
    }
    // The player and team sections: per column its name, the row of its first
    // value, then values, empty ones included, each ending in NUL, then one
    // more NUL; a further NUL ends the section. A column runs up to the next
    // column's name, a section marker or the end of the packet.
    QMap<int, QString>* column = nullptr;
    int row = 0;
    QList<QByteArray> values;
    const auto closeColumn = [&](int terminators) {
        for (; terminators > 0 && !values.isEmpty() && values.back().isEmpty(); --terminators)
            values.removeLast();
        for (const QByteArray& value : std::as_const(values)) {
            if (column && row < kMaxRows)
                (*column)[row] = decode(value);
            ++row;
        }
        values.clear();
    };
    while (pos < bytes.size()) {
        const char next = bytes[pos];
        if (next == kPlayerMarker || next == kTeamMarker) {
            closeColumn(2);
            column = nullptr;
            section = next == kPlayerMarker ? 1 : 2;
            ++pos;
            continue;
        }
        const auto text = readString(bytes, pos);
        if (!text)
            return false;
        if (isColumnName(*text, section)) {
            closeColumn(1);
            if (pos >= bytes.size())
                return false;
            column = &(section == 1 ? m_playerFields : m_teamFields)[decode(*text)];
            row = static_cast<unsigned char>(bytes[pos++]);
        } else if (values.size() < kMaxRows) {
            values << *text;
        }
    }
    closeColumn(2);
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
            s.rules.emplace_back(name,
                                 key == kCustomMutators ? value.split(QChar(0x1C)).join(QLatin1String(", ")) : value);
    }
    // hostname holds the owner's player name; the server's own name is its description.
    s.name = RichText::fromPlain(description.isEmpty() ? hostname : description);
    s.map = map.isEmpty() ? mapname : map;
    s.gameType = gameMode;

    const auto column = [this](const char* name) { return m_playerFields.value(QLatin1String(name)); };
    const auto names = column("player_"), scores = column("score_"), pings = column("ping_"), teams = column("team_");
    for (auto it = names.begin(); it != names.end(); ++it) {
        if (it.value().isEmpty())
            continue; // a bot's padded row
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
    s.rules = oneRulePerKey(s.rules);
    s.partial = !complete() || static_cast<int>(names.size()) < s.playerCount;
    return s;
}

} // namespace gamequery::ut3
