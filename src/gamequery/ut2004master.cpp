#include "ut2004master.h"

#include "ut2004protocol.h"

#include <QCryptographicHash>

namespace gamequery::ut2004master {

namespace {

using ut2004::int32Bytes;
using ut2004::Reader;

constexpr std::uint32_t kClientVersion = 3369;

QByteArray string(const QByteArray& text) { return ut2004::stringBytes(QString::fromLatin1(text)); }
QByteArray md5Hex(const QByteArray& text) { return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex(); }

QByteArray littleEndian(std::uint32_t value, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

QByteArray frame(const QByteArray& payload) { return int32Bytes(static_cast<std::int32_t>(payload.size())) + payload; }

std::optional<QByteArray> takeFrame(QByteArray& stream, bool& tooLong)
{
    Reader in(stream);
    const auto length = in.unsignedLE(4);
    tooLong = length && *length > kLongestFrame;
    if (!length || tooLong || stream.size() - 4 < static_cast<qsizetype>(*length))
        return std::nullopt;
    const QByteArray payload = stream.mid(4, static_cast<qsizetype>(*length));
    stream.remove(0, 4 + static_cast<qsizetype>(*length));
    return payload;
}

QByteArray hello(const QByteArray& challenge)
{
    return frame(string(md5Hex({})) + string(md5Hex(challenge)) + string("UT2K4CLIENT") +
                 littleEndian(kClientVersion, 4) + '\0' /* OS */ + string("int") + littleEndian(0, 4) /* GPU */ +
                 littleEndian(0, 4) /* GPU vendor */ + littleEndian(0, 4) /* CPU speed */ + '\0' /* CPU type */);
}

QByteArray verification() { return frame(string(md5Hex("utquery"))); }

QByteArray listRequest() { return frame(QByteArray(2, '\0')); }

QByteArray stringFrame(const QByteArray& text) { return frame(string(text)); }

QByteArray approvalFrame(const QByteArray& word) { return frame(string(word) + littleEndian(3, 4)); }

QByteArray countFrame(std::uint32_t count) { return frame(littleEndian(count, 4) + '\x01'); }

QByteArray serverFrame(const ListedServer& server, quint16 queryPort)
{
    return frame(dottedBytes(server.address) + littleEndian(server.port, 2) + littleEndian(queryPort, 2) +
                 ut2004::stringBytes(server.name) + ut2004::stringBytes(server.map) +
                 ut2004::stringBytes(server.gameType) + static_cast<char>(server.players) +
                 static_cast<char>(server.maxPlayers) + littleEndian(0, 4) /* flags */ + string("0"));
}

QByteArray Session::receive(const QByteArray& bytes)
{
    m_stream += bytes;
    QByteArray reply;
    bool tooLong = false;
    while (talking()) {
        const auto payload = takeFrame(m_stream, tooLong);
        if (tooLong)
            fail(QStringLiteral("the master sent a frame of more than %1 bytes").arg(kLongestFrame));
        if (!payload)
            break;
        reply += take(*payload);
    }
    return reply;
}

QByteArray Session::take(const QByteArray& payload)
{
    Reader in(payload);
    switch (m_stage) {
    case Stage::Challenge: {
        const auto challenge = in.string();
        if (!challenge) {
            fail(QStringLiteral("the master's greeting made no sense"));
            return {};
        }
        m_stage = Stage::Approval;
        return hello(challenge->plain().toLatin1());
    }
    case Stage::Approval: return expect(payload, "APPROVED", Stage::Verified, verification());
    case Stage::Verified: return expect(payload, "VERIFIED", Stage::Count, listRequest());
    case Stage::Count: {
        const auto count = in.unsignedLE(4);
        if (!count || payload.size() != 5 || *count > static_cast<std::uint32_t>(kMostListedServers)) {
            fail(count && payload.size() == 5 ? QStringLiteral("more than %1 servers listed").arg(kMostListedServers)
                                              : QStringLiteral("the master's list made no sense"));
            return {};
        }
        m_count = *count;
        m_stage = Stage::Rows;
        if (m_count == 0)
            listed();
        return {};
    }
    case Stage::Rows: {
        const auto address = in.raw(4); // in dotted order
        const auto gamePort = in.unsignedLE(2);
        const auto queryPort = in.unsignedLE(2);
        const auto name = in.string();
        const auto map = in.string();
        const auto gameType = in.string();
        const auto players = in.unsignedLE(1);
        const auto maxPlayers = in.unsignedLE(1);
        if (!address || !gamePort || !queryPort || !name || !map || !gameType || !players || !maxPlayers) {
            fail(QStringLiteral("the master's list made no sense"));
            return {};
        }
        if (add({fromDottedBytes(*address), static_cast<quint16>(*gamePort), name->plain(), map->plain(),
                 gameType->plain(), static_cast<int>(*players), static_cast<int>(*maxPlayers)}) &&
            servers().size() == m_count)
            listed();
        return {};
    }
    }
    return {};
}

QByteArray Session::expect(const QByteArray& payload, const char* word, Stage next, const QByteArray& reply)
{
    const auto said = Reader(payload).string();
    if (!said || said->plain() != QLatin1String(word)) {
        fail(QStringLiteral("the master refused: %1").arg(said ? said->plain() : QStringLiteral("(no word)")));
        return {};
    }
    m_stage = next;
    return reply;
}

void Session::closed()
{
    if (!talking())
        return;
    fail(m_stage == Stage::Rows
             ? QStringLiteral("the master closed after %1 of %2 servers").arg(servers().size()).arg(m_count)
             : QStringLiteral("the master closed before the list"));
}

} // namespace gamequery::ut2004master
