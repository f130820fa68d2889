// libFuzzer targets for the three games' query sessions: the reply parsers
// and, around them, the grouping of packets into replies and the checks of
// completeness that run on every packet. The input is cut into packets, so
// one input can be a whole multi-packet reply.

#include "gamequery/session.h"

#include <QList>

#include <cstddef>
#include <cstdint>

namespace {

constexpr quint16 kQueryPort = 7778;
constexpr std::uint32_t kId = 0x01020304;

#if defined(FUZZ_UT99)
constexpr QueryProtocol kProtocol = QueryProtocol::Ut99Text;
#elif defined(FUZZ_UT2004)
constexpr QueryProtocol kProtocol = QueryProtocol::Ut2004Binary;
#elif defined(FUZZ_UT3)
constexpr QueryProtocol kProtocol = QueryProtocol::Ut3;
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto session = gamequery::makeSession(kProtocol, kQueryPort, kQueryPort + 9, kId);
    // The second attempt, which also asks UT2004's text protocol on game port + 10.
    (void)session->requests(1);
    const auto asked = session->requests(2);
    const quint16 textPort = asked.back().port;
    if (kProtocol == QueryProtocol::Ut3) // the challenge, so the status packets are read
        (void)session->receive(kQueryPort, QByteArray("\x09\x01\x02\x03\x04"
                                                      "1928374650",
                                                      15));
    // Packets are cut at the byte FE; one that starts with a backslash comes
    // from the text port.
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& packet : all.split('\xFE')) {
        (void)session->receive(packet.startsWith('\\') ? textPort : kQueryPort, packet);
        (void)session->quietGapMs();
    }
    if (session->hasStatus())
        (void)session->status();
    return 0;
}
