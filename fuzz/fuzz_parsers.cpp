// libFuzzer targets for the three reply parsers. The first byte picks how the
// rest is cut into packets, so one input can be a whole multi-packet reply.

#include "gamequery/ut2004protocol.h"
#include "gamequery/ut3protocol.h"
#include "gamequery/ut99protocol.h"

#include <cstddef>
#include <cstdint>

namespace {

// Cuts data into packets at the byte sequence FF FE (never seen in replies).
template <typename Add> void packets(const std::uint8_t* data, std::size_t size, Add add)
{
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& packet : all.split('\xFE'))
        add(packet);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
#if defined(FUZZ_UT99)
    gamequery::ut99::Reply status, teams;
    packets(data, size, [&](const QByteArray& p) { status.add(p); });
    (void)gamequery::ut99::statusFrom(status, &teams);
#elif defined(FUZZ_UT2004)
    gamequery::ut2004::Reply reply;
    packets(data, size, [&](const QByteArray& p) { reply.add(p); });
    (void)reply.complete();
    (void)reply.status();
#elif defined(FUZZ_UT3)
    gamequery::ut3::Reply reply(0x01020304);
    packets(data, size, [&](const QByteArray& p) {
        reply.add(p);
        (void)gamequery::ut3::challengeFrom(p, 0x01020304);
    });
    (void)reply.complete();
    (void)reply.status();
#endif
    return 0;
}
