#include "ut2004protocol.h"

#include <algorithm>

namespace gamequery::ut2004 {

namespace {

constexpr std::int32_t kRedTeamBit = 1 << 29;
constexpr std::int32_t kBlueTeamBit = 1 << 30;
// No string in a packet of at most 64 KiB can be longer.
constexpr std::int32_t kLongestString = 65536;

} // namespace

QByteArray int32Bytes(std::int32_t value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray stringBytes(const QString& text)
{
    if (text.isEmpty())
        return QByteArray(1, '\0'); // the empty string is a zero length
    const bool latin = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    if (latin)
        return compactIndex(static_cast<std::int32_t>(text.size() + 1)) + text.toLatin1() + '\0';
    QByteArray bytes = compactIndex(-static_cast<std::int32_t>(text.size() + 1));
    for (const QChar c : text + QChar(0)) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

QByteArray request(Command command) { return int32Bytes(kVersion) + static_cast<char>(command); }

QByteArray compactIndex(std::int32_t value)
{
    QByteArray bytes;
    std::uint32_t magnitude =
        value < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(value)) : static_cast<std::uint32_t>(value);
    unsigned char first = static_cast<unsigned char>(magnitude & 0x3F);
    if (value < 0)
        first |= 0x80;
    magnitude >>= 6;
    if (magnitude)
        first |= 0x40;
    bytes += static_cast<char>(first);
    while (magnitude) {
        unsigned char next = static_cast<unsigned char>(magnitude & 0x7F);
        magnitude >>= 7;
        if (magnitude)
            next |= 0x80;
        bytes += static_cast<char>(next);
    }
    return bytes;
}

std::optional<std::int32_t> Reader::int32()
{
    const auto value = unsignedLE(4);
    return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value)) : std::nullopt;
}

std::optional<std::uint32_t> Reader::unsignedLE(int size)
{
    if (m_bytes.size() - m_pos < size)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
    m_pos += size;
    return value;
}

std::optional<QByteArray> Reader::raw(qsizetype size)
{
    if (m_bytes.size() - m_pos < size)
        return std::nullopt;
    m_pos += size;
    return m_bytes.mid(m_pos - size, size);
}

std::optional<std::int32_t> Reader::index()
{
    if (atEnd())
        return std::nullopt;
    const auto first = static_cast<unsigned char>(m_bytes[m_pos++]);
    std::int64_t value = first & 0x3F;
    bool more = first & 0x40;
    int shift = 6;
    for (int extra = 0; more; ++extra) {
        if (atEnd() || extra == 4)
            return std::nullopt;
        const auto byte = static_cast<unsigned char>(m_bytes[m_pos++]);
        value |= static_cast<std::int64_t>(byte & 0x7F) << shift;
        shift += 7;
        more = byte & 0x80;
    }
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>((first & 0x80) ? -value : value);
}

std::optional<RichText> Reader::string()
{
    const std::optional<std::int32_t> length = index();
    if (!length || *length > kLongestString || *length < -kLongestString)
        return std::nullopt;
    QString text;
    if (*length >= 0) {
        if (m_bytes.size() - m_pos < *length)
            return std::nullopt;
        text = QString::fromLatin1(m_bytes.constData() + m_pos, *length);
        m_pos += *length;
    } else {
        const qsizetype units = -static_cast<qsizetype>(*length);
        if (m_bytes.size() - m_pos < units * 2)
            return std::nullopt;
        for (qsizetype i = 0; i < units; ++i) {
            const auto lo = static_cast<unsigned char>(m_bytes[m_pos + 2 * i]);
            const auto hi = static_cast<unsigned char>(m_bytes[m_pos + 2 * i + 1]);
            text += QChar(static_cast<char16_t>(lo | (hi << 8)));
        }
        m_pos += units * 2;
    }
    // The length counts the terminating NUL; anything from a NUL on is dropped.
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return colouredText(text);
}

RichText colouredText(const QString& raw)
{
    RichText rich;
    RichText::Run run;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i].unicode() != 0x1B) {
            run.text += raw[i];
            continue;
        }
        if (!run.text.isEmpty())
            rich.runs.push_back(run);
        run = {};
        if (i + 3 < raw.size()) {
            const auto component = [&](qsizetype k) {
                const auto v = static_cast<unsigned char>(raw[k].unicode() & 0xFF);
                return v == 1 ? static_cast<unsigned char>(0) : v;
            };
            run.colour = Colour{component(i + 1), component(i + 2), component(i + 3)};
        }
        i += 3; // a code cut short by the end of the text is dropped whole
    }
    if (!run.text.isEmpty())
        rich.runs.push_back(run);
    return rich;
}

QByteArray infoPacket(const InfoRecord& info)
{
    return request(Info) + int32Bytes(1) /* server id */ + stringBytes({}) /* address: empty */ +
           int32Bytes(info.gamePort) + int32Bytes(0) /* query port */ + stringBytes(info.name) + stringBytes(info.map) +
           stringBytes(info.gameType) + int32Bytes(info.players) + int32Bytes(info.maxPlayers) +
           int32Bytes(0) /* ping */ + int32Bytes(info.password ? 1 : 0) + stringBytes(QStringLiteral("1")) /* skill */ +
           QByteArray(2, '\0');
}

QByteArray ruleRecord(const QString& key, const QString& value) { return stringBytes(key) + stringBytes(value); }

QByteArray playerRecord(std::int32_t number, const QString& name, std::int32_t ping, std::int32_t score,
                        std::optional<int> team)
{
    const std::int32_t statsId = team == 0 ? kRedTeamBit : team == 1 ? kBlueTeamBit : 0;
    return int32Bytes(number) + stringBytes(name) + int32Bytes(ping) + int32Bytes(score) + int32Bytes(statsId);
}

QList<QByteArray> packets(Command command, const QList<QByteArray>& records, int splitSize)
{
    const QByteArray head = request(command);
    QList<QByteArray> packets;
    QByteArray packet = head;
    for (const QByteArray& record : records) {
        if (packet.size() > head.size() && packet.size() + record.size() > splitSize) {
            packets << packet;
            packet = head;
        }
        packet += record;
    }
    if (packet.size() > head.size())
        packets << packet;
    return packets;
}

QString colourCode(int red, int green, int blue)
{
    const auto component = [](int v) { return QChar(static_cast<char16_t>(v == 0 ? 1 : v)); };
    return QString(QChar(0x1B)) + component(red) + component(green) + component(blue);
}

bool Reply::add(const QByteArray& packet)
{
    Reader in(packet);
    if (!in.int32() || in.atEnd())
        return false;
    const auto command = static_cast<unsigned char>(packet[4]);
    Reader body(packet, 5);
    switch (command) {
    case Info: {
        const auto serverId = body.int32();
        const auto ip = body.string();
        const auto gamePort = body.int32();
        const auto queryPort = body.int32();
        const auto name = body.string();
        const auto map = body.string();
        const auto gameType = body.string();
        const auto players = body.int32();
        const auto maxPlayers = body.int32();
        if (!serverId || !ip || !gamePort || !queryPort || !name || !map || !gameType || !players || !maxPlayers) {
            m_damaged = true;
            return false;
        }
        m_info.name = *name;
        m_info.map = map->plain();
        m_info.gameType = gameType->plain();
        m_info.playerCount = std::max(0, *players);
        m_info.maxPlayers = std::max(0, *maxPlayers);
        m_hasInfo = true; // ping, flags and skill follow; nothing here needs them
        return true;
    }
    case Rules:
    case RulesAndPlayers:
        while (!body.atEnd()) {
            const auto key = body.string();
            const auto val = body.string();
            if (!key || !val) {
                m_damaged = true;
                return false;
            }
            m_rules.emplace_back(key->plain(), val->plain()); // a continuation may repeat some
        }
        m_hasRules = true;
        return true;
    case Players:
        while (!body.atEnd()) {
            const auto number = body.int32();
            const auto name = body.string();
            const auto ping = body.int32();
            const auto score = body.int32();
            const auto statsId = body.int32();
            if (!number || !name || !ping || !score || !statsId) {
                m_damaged = true;
                return false;
            }
            Player& p = m_players[*number];
            p.name = *name;
            p.ping = *ping;
            p.score = *score;
            if (*statsId & kRedTeamBit)
                p.team = 0;
            else if (*statsId & kBlueTeamBit)
                p.team = 1;
        }
        return true;
    default: return false;
    }
}

bool Reply::complete() const
{
    return m_hasInfo && m_hasRules && !m_damaged && static_cast<int>(m_players.size()) >= m_info.playerCount;
}

ServerStatus Reply::status() const
{
    ServerStatus s = m_info;
    s.rules = oneRulePerKey(m_rules);
    for (const Player& p : m_players)
        s.players.push_back(p);
    for (const auto& [key, val] : m_rules) {
        if (key == QLatin1String("GamePassword"))
            s.password = val.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    }
    if (m_hasRules && !s.password)
        s.password = false; // GamePassword is listed only when a password is set
    s.partial = !complete();
    return s;
}

} // namespace gamequery::ut2004
