#include "linuxpingnetwork.h"

#include "icmppacket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <linux/errqueue.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool isRawSocket(int fd)
{
    int type = 0;
    socklen_t length = sizeof type;
    return getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) == 0 && type == SOCK_RAW;
}

// The error a datagram ICMP socket queued for our request, if it was about it.
std::optional<int> queuedError(int fd, const icmp::Echo& echo)
{
    unsigned char quoted[576];
    unsigned char control[512];
    sockaddr_in offender{};
    iovec io{quoted, sizeof quoted};
    msghdr message{};
    message.msg_name = &offender;
    message.msg_namelen = sizeof offender;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t size = recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (size < 8 || quoted[0] != icmp::kEchoRequest)
        return std::nullopt;
    const auto sequence = static_cast<std::uint16_t>((quoted[6] << 8) | quoted[7]);
    if (offender.sin_addr.s_addr != echo.destination || sequence != echo.sequence)
        return std::nullopt;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_IP && c->cmsg_type == IP_RECVERR) {
            const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
            if (error->ee_origin == SO_EE_ORIGIN_ICMP)
                return static_cast<int>(error->ee_errno);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint32_t> LinuxPingNetwork::parseDotted(const QByteArray& text)
{
    const in_addr_t address = inet_addr(text.constData());
    if (address == INADDR_NONE)
        return std::nullopt;
    return address;
}

PingNetwork::Lookup LinuxPingNetwork::lookUp(const QByteArray& name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(name.constData(), nullptr, &hints, &found);
    if (rc != 0)
        return {rc == EAI_SYSTEM ? errno : rc, std::nullopt};
    Lookup result;
    if (found && found->ai_addr && found->ai_addrlen >= sizeof(sockaddr_in))
        result.address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return result;
}

PingNetwork::Opened LinuxPingNetwork::openEcho()
{
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) {
        const int on = 1;
        setsockopt(fd, SOL_IP, IP_RECVERR, &on, sizeof on); // ICMP errors about our echo come to us
        return {fd, 0};
    }
    fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0)
        return {fd, 0};
    return {-1, errno};
}

PingNetwork::Echo LinuxPingNetwork::sendEcho(int handle, std::uint32_t address, const QByteArray& data, int timeoutMs)
{
    const bool raw = isRawSocket(handle);
    // A datagram socket's identifier is its port, which the system assigns;
    // a raw socket sees every ICMP packet, so its identifier must be our own.
    icmp::Echo echo{address, static_cast<std::uint16_t>(getpid() & 0xFFFF), ++m_sequence};
    const QByteArray request = icmp::echoRequest(echo.identifier, echo.sequence, data);

    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = address;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::milliseconds(std::max(timeoutMs, 0));
    if (sendto(handle, request.constData(), static_cast<std::size_t>(request.size()), 0,
               reinterpret_cast<const sockaddr*>(&destination), sizeof destination) < 0)
        return {false, 0, errno};
    if (!raw) {
        sockaddr_in local{};
        socklen_t length = sizeof local;
        getsockname(handle, reinterpret_cast<sockaddr*>(&local), &length);
        echo.identifier = ntohs(local.sin_port);
    }

    unsigned char packet[65536];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return {false, 0, ETIMEDOUT};
        pollfd wait{handle, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR)
            return {false, 0, errno};
        if (ready <= 0)
            continue;
        if (wait.revents & POLLERR) {
            if (const std::optional<int> error = queuedError(handle, echo))
                return {false, 0, *error};
            continue;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t size =
            recvfrom(handle, packet, sizeof packet, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (size <= 0)
            continue;
        const icmp::Verdict verdict =
            icmp::classify(packet, static_cast<std::size_t>(size), raw, from.sin_addr.s_addr, echo);
        if (verdict.kind == icmp::Verdict::Reply) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            return {true, static_cast<int>(elapsed.count()), 0};
        }
        if (verdict.kind == icmp::Verdict::Error)
            return {false, 0, verdict.error};
    }
}

int LinuxPingNetwork::closeEcho(int handle) { return close(handle) == 0 ? 0 : errno; }
