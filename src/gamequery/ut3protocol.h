#pragma once

#include "serverstatus.h"

#include <QByteArray>
#include <QMap>

#include <cstdint>
#include <optional>

// UT3's challenge protocol on the query port: ask for a challenge number,
// then for the full status, which may come in several numbered packets.
namespace gamequery::ut3 {

QByteArray challengeRequest(std::uint32_t session);
// The challenge number of a reply to challengeRequest, nullopt for any other
// packet. A reply without a number means none is needed: 0.
std::optional<std::int32_t> challengeFrom(const QByteArray& packet, std::uint32_t session);
QByteArray statusRequest(std::uint32_t session, std::int32_t challenge);

// The server's side: what a request asks for (a challenge, or the status with
// the challenge it carries), and the answer to a challenge request.
struct Request {
    bool forChallenge = false;
    std::uint32_t session = 0;
    std::int32_t challenge = 0;
};
std::optional<Request> readRequest(const QByteArray& bytes);
QByteArray challengeReply(std::uint32_t session, std::int32_t challenge);
// Text as the reader takes it: Latin-1, the game's own code page, where it
// fits, else UTF-8, as some servers send it.
QByteArray textBytes(const QString& text);

// What a full status reply carries: the server's keys, then the player and
// team sections as columns of values ("player_", "score_", ...; "team_t", ...).
struct Column {
    QByteArray name;
    QList<QByteArray> values; // one per row; bots have empty ones
};
struct ReplyContent {
    std::vector<std::pair<QByteArray, QByteArray>> serverKeys;
    std::vector<Column> players, teams;
};

// The packets of a full status reply as servers send it, each at most about
// splitSize bytes: a packet after the first names the section its payload
// begins in and, inside a column, repeats the column's name with the row of
// its first value.
QList<QByteArray> replyPackets(std::uint32_t session, const ReplyContent& content, int splitSize);

// Collects the packets of a full status reply.
class Reply {
public:
    explicit Reply(std::uint32_t session) : m_session(session) {}
    // False for a packet of another session or one that cannot be read.
    bool add(const QByteArray& packet);
    // Every packet up to the one marked last is in.
    bool complete() const;
    bool hasAnyPacket() const { return !m_packets.isEmpty(); }
    ServerStatus status() const;

private:
    bool parsePayload(const QByteArray& bytes, qsizetype pos, int section);

    std::uint32_t m_session;
    QMap<int, bool> m_packets;
    int m_lastIndex = -1;
    bool m_damaged = false;
    std::vector<std::pair<QString, QString>> m_server;
    QMap<QString, QMap<int, QString>> m_playerFields; // "player_" -> row -> value, empty ones too
    QMap<QString, QMap<int, QString>> m_teamFields;
};

// The names of UT3's numeric keys, and of its game modes (s32779).
QString keyName(const QString& key);
QString gameModeName(const QString& number);

} // namespace gamequery::ut3
