#pragma once

#include "serverstatus.h"

#include <QByteArray>
#include <QMap>

#include <cstdint>
#include <optional>

// UT2004's binary protocol on game port + 1: a 4-byte version, a command
// byte, then little-endian int32s and compact-index strings.
namespace gamequery::ut2004 {

enum Command : std::uint8_t { Info = 0, Rules = 1, Players = 2, RulesAndPlayers = 3 };

inline constexpr std::uint32_t kVersion = 0x80;

// A request, and every reply packet's head: the version and one command
// byte, exactly 5 bytes.
QByteArray request(Command command);

// A compact index: sign, "more" and 6 value bits in the first byte, then 7
// value bits and "more" per byte; at most 5 bytes.
QByteArray compactIndex(std::int32_t value);

// The writer's side, for the fake servers: an int32, and a string as servers
// send it (Latin-1 with a positive length where every character fits, else
// UCS-2LE with a negative one; the length counts the terminating NUL).
QByteArray int32Bytes(std::int32_t value);
QByteArray stringBytes(const QString& text);

// The records of the replies as Reply reads them, and their packets.
struct InfoRecord {
    QString name, map, gameType;
    std::int32_t players = 0, maxPlayers = 0;
    bool password = false;
    std::int32_t gamePort = 7777;
};
QByteArray infoPacket(const InfoRecord& info);
QByteArray ruleRecord(const QString& key, const QString& value);
// number counts from 1 (0 marks a scoreboard line); team 0 red, 1 blue.
QByteArray playerRecord(std::int32_t number, const QString& name, std::int32_t ping, std::int32_t score,
                        std::optional<int> team);
// Records into packets of at most splitSize bytes, each with the command's head.
QList<QByteArray> packets(Command command, const QList<QByteArray>& records, int splitSize);
// A colour code as names carry it: 1B, then red, green and blue, a zero sent as 1.
QString colourCode(int red, int green, int blue);

// Reads values from a packet; every read past the end fails instead.
class Reader {
public:
    explicit Reader(const QByteArray& bytes, qsizetype from = 0) : m_bytes(bytes), m_pos(from) {}
    std::optional<std::int32_t> int32();
    // An unsigned little-endian number of size bytes (1 to 4).
    std::optional<std::uint32_t> unsignedLE(int size);
    std::optional<QByteArray> raw(qsizetype size);
    std::optional<std::int32_t> index();
    // A string: Latin-1 for a positive length, UCS-2LE for a negative one.
    // Colour codes (1B R G B) become runs.
    std::optional<RichText> string();
    bool atEnd() const { return m_pos >= m_bytes.size(); }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos;
};

// Colour codes of a text into runs: 1B then red, green, blue (a zero sent as 1).
RichText colouredText(const QString& raw);

// Collects the packets of the info, rules and players replies.
class Reply {
public:
    // False for a packet that is no UT2004 reply or cannot be read whole;
    // what could be read before the fault is kept.
    bool add(const QByteArray& packet);
    bool hasInfo() const { return m_hasInfo; }
    bool hasRules() const { return m_hasRules; }
    // Info, rules and every player the info counts are in.
    bool complete() const;
    ServerStatus status() const;

private:
    bool m_hasInfo = false;
    bool m_hasRules = false;
    bool m_damaged = false;
    ServerStatus m_info;
    std::vector<std::pair<QString, QString>> m_rules;
    QMap<std::int32_t, Player> m_players;
};

} // namespace gamequery::ut2004
