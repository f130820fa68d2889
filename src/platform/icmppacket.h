#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// ICMP echo packets: building a request and telling what a received packet
// says about it. Pure functions over bytes; they never read past size.
namespace icmp {

inline constexpr std::uint8_t kEchoReply = 0;
inline constexpr std::uint8_t kDestinationUnreachable = 3;
inline constexpr std::uint8_t kEchoRequest = 8;
inline constexpr std::uint8_t kTimeExceeded = 11;

// The Internet checksum of RFC 1071.
std::uint16_t checksum(const unsigned char* bytes, std::size_t size);

// An echo request: 8-byte header with checksum, then data.
QByteArray echoRequest(std::uint16_t identifier, std::uint16_t sequence, const QByteArray& data);

struct Echo {
    std::uint32_t destination; // network byte order
    std::uint16_t identifier;
    std::uint16_t sequence;
};

struct Verdict {
    enum Kind { Unrelated, Reply, Error } kind = Unrelated;
    int error = 0; // for Error: the error number that ICMP message stands for
};

// What a received packet means for our echo. withIpHeader: the packet starts
// with its IPv4 header (raw sockets); otherwise it starts at the ICMP header
// and source is the address it came from (datagram sockets).
// Only an echo reply from the destination with our identifier and sequence is
// a Reply; an unreachable or time-exceeded message quoting our request is an
// Error; everything else is Unrelated.
Verdict classify(const unsigned char* packet, std::size_t size, bool withIpHeader, std::uint32_t source,
                 const Echo& echo);

// The error number the system gives for an ICMP error of this type and code.
int errorNumber(std::uint8_t type, std::uint8_t code);

} // namespace icmp
