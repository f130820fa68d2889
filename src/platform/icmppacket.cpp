#include "icmppacket.h"

#include <cerrno>
#include <cstring>

namespace icmp {

namespace {

std::uint16_t read16(const unsigned char* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

std::uint32_t readAddress(const unsigned char* p)
{
    std::uint32_t address = 0;
    std::memcpy(&address, p, 4); // stays in network byte order
    return address;
}

// The length of the IPv4 header at packet, or 0 when there is none whole.
std::size_t ipHeaderLength(const unsigned char* packet, std::size_t size)
{
    if (size < 20 || (packet[0] >> 4) != 4)
        return 0;
    const std::size_t length = (packet[0] & 0x0Fu) * 4u;
    return length >= 20 && length <= size ? length : 0;
}

bool quotesOurRequest(const unsigned char* quoted, std::size_t size, const Echo& echo)
{
    const std::size_t ip = ipHeaderLength(quoted, size);
    if (ip == 0 || size < ip + 8)
        return false;
    const unsigned char* request = quoted + ip;
    return readAddress(quoted + 16) == echo.destination && request[0] == kEchoRequest &&
           read16(request + 4) == echo.identifier && read16(request + 6) == echo.sequence;
}

} // namespace

std::uint16_t checksum(const unsigned char* bytes, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += read16(bytes + i);
    if (size % 2)
        sum += static_cast<std::uint32_t>(bytes[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFFu) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

QByteArray echoRequest(std::uint16_t identifier, std::uint16_t sequence, const QByteArray& data)
{
    QByteArray packet(8, '\0');
    packet[0] = static_cast<char>(kEchoRequest);
    packet[4] = static_cast<char>(identifier >> 8);
    packet[5] = static_cast<char>(identifier & 0xFF);
    packet[6] = static_cast<char>(sequence >> 8);
    packet[7] = static_cast<char>(sequence & 0xFF);
    packet += data;
    const std::uint16_t sum =
        checksum(reinterpret_cast<const unsigned char*>(packet.constData()), static_cast<std::size_t>(packet.size()));
    packet[2] = static_cast<char>(sum >> 8);
    packet[3] = static_cast<char>(sum & 0xFF);
    return packet;
}

Verdict classify(const unsigned char* packet, std::size_t size, bool withIpHeader, std::uint32_t source,
                 const Echo& echo)
{
    if (withIpHeader) {
        const std::size_t ip = ipHeaderLength(packet, size);
        if (ip == 0)
            return {};
        source = readAddress(packet + 12);
        packet += ip;
        size -= ip;
    }
    if (size < 8)
        return {};
    const std::uint8_t type = packet[0];
    if (type == kEchoReply) {
        const bool ours =
            source == echo.destination && read16(packet + 4) == echo.identifier && read16(packet + 6) == echo.sequence;
        return ours ? Verdict{Verdict::Reply, 0} : Verdict{};
    }
    if ((type == kDestinationUnreachable || type == kTimeExceeded) && quotesOurRequest(packet + 8, size - 8, echo))
        return {Verdict::Error, errorNumber(type, packet[1])};
    return {};
}

int errorNumber(std::uint8_t type, std::uint8_t code)
{
    if (type != kDestinationUnreachable)
        return EHOSTUNREACH; // time exceeded, as the system reports it
    switch (code) {
    case 0: // network unreachable
    case 6: // network unknown
    case 9: // network prohibited
    case 11: return ENETUNREACH;
    case 2: return ENOPROTOOPT;
    case 3: return ECONNREFUSED;
    case 4: return EMSGSIZE;
    case 5: return EOPNOTSUPP;
    case 7: return EHOSTDOWN;
    case 8: return ENONET;
    default: return EHOSTUNREACH;
    }
}

} // namespace icmp
