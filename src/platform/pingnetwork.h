#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

// Name look-up and ICMP echo as the ping class needs them. Every call blocks
// the calling thread until it has its answer; error numbers are the
// platform's own.
class PingNetwork {
public:
    virtual ~PingNetwork() = default;

    // The dotted-address parse (inet_addr's rules: short forms, octal and hex
    // parts). nullopt for a text it rejects and for 255.255.255.255, whose value
    // is the parse's failure mark. The address is in network byte order.
    virtual std::optional<std::uint32_t> parseDotted(const QByteArray& text) = 0;

    struct Lookup {
        int error = 0;                        // 0, or the look-up's error number
        std::optional<std::uint32_t> address; // the first IPv4 address, network byte order
    };
    virtual Lookup lookUp(const QByteArray& name) = 0;

    // An echo in three steps, each failing with its own error number.
    struct Opened {
        int handle = -1; // -1: none could be opened
        int error = 0;
    };
    virtual Opened openEcho() = 0;

    struct Echo {
        bool answered = false; // true only for the echo reply to this request
        int roundTripUs = 0;   // microseconds
        int error = 0;         // when not answered: why (no answer in time, send failed, ICMP error)
    };
    virtual Echo sendEcho(int handle, std::uint32_t address, const QByteArray& data, int timeoutMs) = 0;

    // 0, or the error number of closing the handle.
    virtual int closeEcho(int handle) = 0;
};
