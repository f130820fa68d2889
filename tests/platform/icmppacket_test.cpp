#include "platform/icmppacket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const std::uint32_t kServer = inet_addr("192.0.2.10");
const std::uint32_t kOther = inet_addr("192.0.2.99");
const icmp::Echo kEcho{kServer, 0x1234, 7};

Bytes ipHeader(std::uint32_t source, std::uint32_t destination, std::size_t ihlWords = 5)
{
    Bytes header(ihlWords * 4, 0);
    header[0] = static_cast<unsigned char>(0x40 | ihlWords);
    header[9] = 1; // ICMP
    std::memcpy(header.data() + 12, &source, 4);
    std::memcpy(header.data() + 16, &destination, 4);
    return header;
}

Bytes icmpHeader(std::uint8_t type, std::uint8_t code, std::uint16_t id, std::uint16_t seq)
{
    return {type,
            code,
            0,
            0,
            static_cast<unsigned char>(id >> 8),
            static_cast<unsigned char>(id),
            static_cast<unsigned char>(seq >> 8),
            static_cast<unsigned char>(seq)};
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

icmp::Verdict classify(const Bytes& b, bool raw, std::uint32_t source = kServer)
{
    return icmp::classify(b.data(), b.size(), raw, source, kEcho);
}

TEST(IcmpPacket, ChecksumAndRequestLayout)
{
    // RFC 1071's example words.
    const unsigned char words[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    EXPECT_EQ(icmp::checksum(words, sizeof words), static_cast<std::uint16_t>(~0xddf2 & 0xFFFF));

    const QByteArray request = icmp::echoRequest(0x1234, 7, QByteArray("hi"));
    ASSERT_EQ(request.size(), 10);
    EXPECT_EQ(static_cast<unsigned char>(request[0]), icmp::kEchoRequest);
    EXPECT_EQ(request.mid(4, 4), QByteArray("\x12\x34\x00\x07", 4));
    EXPECT_EQ(request.mid(8), QByteArray("hi"));
    // A packet with its checksum in place sums to zero.
    EXPECT_EQ(icmp::checksum(reinterpret_cast<const unsigned char*>(request.constData()), 10), 0);
    EXPECT_EQ(icmp::echoRequest(1, 1, {}).size(), 8);
}

TEST(IcmpPacket, OnlyOurReplyIsAnAnswer)
{
    const Bytes reply = icmpHeader(icmp::kEchoReply, 0, 0x1234, 7);
    const Bytes ourRequest = icmpHeader(icmp::kEchoRequest, 0, 0x1234, 7);
    struct Case {
        const char* what;
        Bytes packet;
        bool raw;
        std::uint32_t source;
        icmp::Verdict::Kind kind;
    };
    const Case cases[] = {
        {"datagram reply", reply, false, kServer, icmp::Verdict::Reply},
        {"raw reply", join({ipHeader(kServer, kOther), reply}), true, 0, icmp::Verdict::Reply},
        {"raw reply with IP options", join({ipHeader(kServer, kOther, 7), reply}), true, 0, icmp::Verdict::Reply},
        {"reply from another host", reply, false, kOther, icmp::Verdict::Unrelated},
        {"raw reply from another host", join({ipHeader(kOther, kServer), reply}), true, kServer,
         icmp::Verdict::Unrelated},
        {"another identifier", icmpHeader(0, 0, 0x4321, 7), false, kServer, icmp::Verdict::Unrelated},
        {"an earlier sequence", icmpHeader(0, 0, 0x1234, 6), false, kServer, icmp::Verdict::Unrelated},
        {"our own request, seen by a raw socket", join({ipHeader(kOther, kServer), ourRequest}), true, 0,
         icmp::Verdict::Unrelated},
        {"truncated reply", Bytes(reply.begin(), reply.begin() + 7), false, kServer, icmp::Verdict::Unrelated},
        {"empty", {}, true, 0, icmp::Verdict::Unrelated},
        {"IP header length past the end", join({Bytes{0x4F}, Bytes(19, 0)}), true, 0, icmp::Verdict::Unrelated},
        {"IP header length below 20", join({Bytes{0x44}, Bytes(40, 0)}), true, 0, icmp::Verdict::Unrelated},
        {"not IPv4", join({Bytes{0x65}, Bytes(40, 0)}), true, 0, icmp::Verdict::Unrelated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(classify(c.packet, c.raw, c.source).kind, c.kind);
    }
}

TEST(IcmpPacket, AnErrorQuotingOurRequestEndsTheWait)
{
    const Bytes quotedOurs = join({ipHeader(kOther, kServer), icmpHeader(icmp::kEchoRequest, 0, 0x1234, 7)});
    const Bytes quotedOther = join({ipHeader(kOther, kOther), icmpHeader(icmp::kEchoRequest, 0, 0x1234, 7)});
    struct Case {
        const char* what;
        Bytes packet;
        icmp::Verdict::Kind kind;
        int error;
    };
    const Case cases[] = {
        {"host unreachable", join({icmpHeader(3, 1, 0, 0), quotedOurs}), icmp::Verdict::Error, EHOSTUNREACH},
        {"network unreachable", join({icmpHeader(3, 0, 0, 0), quotedOurs}), icmp::Verdict::Error, ENETUNREACH},
        {"time exceeded", join({icmpHeader(11, 0, 0, 0), quotedOurs}), icmp::Verdict::Error, EHOSTUNREACH},
        {"about another destination", join({icmpHeader(3, 1, 0, 0), quotedOther}), icmp::Verdict::Unrelated, 0},
        {"quoting a cut request", join({icmpHeader(3, 1, 0, 0), Bytes(quotedOurs.begin(), quotedOurs.end() - 1)}),
         icmp::Verdict::Unrelated, 0},
        {"quoting nothing", icmpHeader(3, 1, 0, 0), icmp::Verdict::Unrelated, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The same from a raw socket, behind the error's own IP header.
        for (const bool raw : {false, true}) {
            const Bytes packet = raw ? join({ipHeader(kOther, kOther), c.packet}) : c.packet;
            const icmp::Verdict v = classify(packet, raw, kOther);
            EXPECT_EQ(v.kind, c.kind);
            EXPECT_EQ(v.error, c.error);
        }
    }
}

} // namespace
