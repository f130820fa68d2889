#include "platform/icmppacket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>

namespace {

const std::uint32_t kServer = inet_addr("192.0.2.10");
const std::uint32_t kOther = inet_addr("192.0.2.99");

// An IPv4 header of ICMP from source to destination, with ihl 32-bit words.
QByteArray ip(std::uint32_t source, std::uint32_t destination, int ihl = 5)
{
    QByteArray header(ihl * 4, '\0');
    header[0] = static_cast<char>(0x40 | ihl);
    header[9] = 1;
    std::memcpy(header.data() + 12, &source, 4);
    std::memcpy(header.data() + 16, &destination, 4);
    return header;
}

QByteArray icmpHead(int type, int code, std::uint16_t id = 0x1234, std::uint16_t seq = 7)
{
    const char bytes[] = {
        static_cast<char>(type),     static_cast<char>(code), 0, 0, static_cast<char>(id >> 8), static_cast<char>(id),
        static_cast<char>(seq >> 8), static_cast<char>(seq)};
    return QByteArray(bytes, 8);
}

TEST(IcmpPacket, ChecksumAndRequestLayout)
{
    const unsigned char words[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7}; // RFC 1071's example
    EXPECT_EQ(icmp::checksum(words, sizeof words), static_cast<std::uint16_t>(~0xddf2 & 0xFFFF));
    const QByteArray request = icmp::echoRequest(0x1234, 7, QByteArray("hi"));
    EXPECT_EQ(request.left(2), QByteArray("\x08\x00", 2));
    EXPECT_EQ(request.mid(4), QByteArray("\x12\x34\x00\x07hi", 6));
    // A packet with its checksum in place sums to zero.
    EXPECT_EQ(icmp::checksum(reinterpret_cast<const unsigned char*>(request.constData()), 10), 0);
}

// Only our reply is an answer; an error quoting our request ends the wait,
// seen behind an IP header on a raw socket or without one on a datagram socket.
TEST(IcmpPacket, OnlyOurReplyOrAnErrorAboutOurRequestCounts)
{
    using Kind = icmp::Verdict::Kind;
    const QByteArray ours = ip(kOther, kServer) + icmpHead(icmp::kEchoRequest, 0);
    // Cut by its size only, as in a receive buffer that still holds the bytes of an earlier packet.
    const QByteArray quotingAll = icmpHead(3, 1, 0, 0) + ours;
    const std::tuple<const char*, QByteArray, bool, std::uint32_t, Kind, int> cases[] = {
        {"datagram reply", icmpHead(0, 0), false, kServer, Kind::Reply, 0},
        {"raw reply", ip(kServer, kOther) + icmpHead(0, 0), true, 0, Kind::Reply, 0},
        {"raw reply with IP options", ip(kServer, kOther, 7) + icmpHead(0, 0), true, 0, Kind::Reply, 0},
        {"reply from another host", icmpHead(0, 0), false, kOther, Kind::Unrelated, 0},
        {"another identifier", icmpHead(0, 0, 0x4321), false, kServer, Kind::Unrelated, 0},
        {"our own request, seen by a raw socket", ours, true, 0, Kind::Unrelated, 0},
        {"truncated reply", icmpHead(0, 0).left(7), false, kServer, Kind::Unrelated, 0},
        {"IP header length past the end", QByteArray("\x4F") + QByteArray(19, '\0'), true, 0, Kind::Unrelated, 0},
        {"not IPv4", QByteArray("\x65") + QByteArray(40, '\0'), true, 0, Kind::Unrelated, 0},
        {"host unreachable", icmpHead(3, 1, 0, 0) + ours, false, kOther, Kind::Error, EHOSTUNREACH},
        {"network unreachable", icmpHead(3, 0, 0, 0) + ours, false, kOther, Kind::Error, ENETUNREACH},
        {"time exceeded, raw", ip(kOther, kOther) + icmpHead(11, 0, 0, 0) + ours, true, 0, Kind::Error, EHOSTUNREACH},
        {"about another destination", icmpHead(3, 1, 0, 0) + ip(kOther, kOther) + icmpHead(8, 0), false, kOther,
         Kind::Unrelated, 0},
        {"quoting a cut request", QByteArray::fromRawData(quotingAll.constData(), quotingAll.size() - 1), false, kOther,
         Kind::Unrelated, 0},
        {"quoting nothing", icmpHead(3, 1, 0, 0), false, kOther, Kind::Unrelated, 0},
    };
    for (const auto& [what, packet, raw, source, kind, error] : cases) {
        const icmp::Verdict v =
            icmp::classify(reinterpret_cast<const unsigned char*>(packet.constData()),
                           static_cast<std::size_t>(packet.size()), raw, source, icmp::Echo{kServer, 0x1234, 7});
        EXPECT_EQ(v.kind, kind) << what;
        EXPECT_EQ(v.error, error) << what;
    }
}

} // namespace
