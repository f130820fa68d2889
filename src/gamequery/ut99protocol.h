#pragma once

#include "serverstatus.h"

#include <QByteArray>
#include <QMap>

#include <optional>

// UT99's text protocol: "\key\value" pairs, a reply split over packets that
// carry "\queryid\N.M" and, on the last, "\final\". Also the UT2004 text
// protocol on game port + 10, which is the same.
namespace gamequery::ut99 {

inline constexpr char kStatusRequest[] = "\\status\\";
inline constexpr char kTeamsRequest[] = "\\teams\\";

// The pairs of one packet, in order. Values of the keys known to carry raw
// backslashes (the admin's e-mail, mutator lists) run on to the next known key.
std::vector<std::pair<QString, QString>> parsePairs(const QByteArray& packet);

// One packet of a reply: its number N and part M from "\queryid\N.M" (-1
// and 0 where it has none), whether it is marked final, its other pairs.
struct Packet {
    int reply = -1;
    int part = 0;
    bool final = false;
    std::vector<std::pair<QString, QString>> pairs;
};
// Nullopt for a packet that is not in the text protocol.
std::optional<Packet> readPacket(const QByteArray& bytes);

// Collects the packets of one reply, in whatever order they come.
class Reply {
public:
    void add(Packet packet);
    // False for a packet that is not part of such a reply.
    bool add(const QByteArray& bytes);
    // Every part up to the one marked final is in.
    bool complete() const;
    bool empty() const { return m_parts.isEmpty() && m_unnumbered.empty(); }
    // All pairs, parts in order.
    std::vector<std::pair<QString, QString>> pairs() const;

private:
    QMap<int, std::vector<std::pair<QString, QString>>> m_parts;
    int m_finalPart = 0;
    // Packets without a part number, kept after the numbered ones.
    std::vector<std::vector<std::pair<QString, QString>>> m_unnumbered;
    bool m_unnumberedFinal = false;
};

// The writer's side, for the fake servers: "\key\value" in UT99's one byte a
// character (code points above 255 become 7F), and a reply's chunks in
// packets of about splitSize, a chunk never split, each ending in
// "\queryid\N.M", the last with "\final\" too.
QByteArray pair(const QString& key, const QString& value);
QList<QByteArray> replyPackets(const QList<QByteArray>& chunks, int splitSize, int queryId);

// The status from a \status\ reply and, if any, a \teams\ reply.
ServerStatus statusFrom(const Reply& status, const Reply* teams);

} // namespace gamequery::ut99
