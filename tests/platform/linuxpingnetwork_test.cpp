// The real look-up and echo. Traffic goes only to loopback, or inside a network
// namespace this test makes for itself (unshare -rn), so nothing leaves the machine.

#include "ping/pingipv4.h"
#include "platform/linuxpingnetwork.h"
#include "support/files.h"
#include "support/ownnamespace.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>

namespace {

// Routed to the namespace's loopback, where nothing answers for it.
constexpr char kSilentAddress[] = "198.51.100.7";
// On a link of the namespace where no neighbour answers for it.
constexpr char kUnreachableAddress[] = "10.9.0.2";

TEST(LinuxPingNetwork, ResolvesLocalhostAndPingsLoopback)
{
    LinuxPingNetwork network;
    PingIPv4 pinger(network);
    QString ip;
    ASSERT_EQ(pinger.Resolve(QStringLiteral("localhost"), ip), 0);
    EXPECT_EQ(ip, QStringLiteral("127.0.0.1"));

    const PingNetwork::Opened probe = network.openEcho();
    if (probe.handle < 0)
        SKIP_REAL_PART("this machine allows neither ICMP socket (errno "
                       << probe.error << "): set net.ipv4.ping_group_range or run as root");
    EXPECT_EQ(network.closeEcho(probe.handle), 0);
    EXPECT_EQ(network.closeEcho(probe.handle), EBADF); // closed already: the system's reason
    ASSERT_TRUE(pinger.Ping(QStringLiteral("127.0.0.1"), 1000, QStringLiteral("payload")))
        << pinger.Reason << " " << pinger.Status;
    EXPECT_EQ(pinger.Status, 0);
    EXPECT_LT(pinger.RoundTripTime, 200);
    EXPECT_GT(pinger.RoundTripMicroseconds, 0); // loopback answers within a millisecond, never in none
}

// In a network namespace of their own, with loopback, a route for
// kSilentAddress into it, a link whose far end never answers (the system
// gives up on its neighbour after 100 ms), and no way out.
TESTS_IN_OWN_NAMESPACE(BehindASilentRoute, ::testing::Test, "-rn",
                       QStringLiteral("ip link set lo up && ip route add %1/32 dev lo && "
                                      "ip link add v0 type veth peer name v1 && ip addr add 10.9.0.1/24 dev v0 && "
                                      "ip link set v0 up && ip link set v1 up && "
                                      "echo 1 > /proc/sys/net/ipv4/neigh/v0/mcast_solicit && "
                                      "echo 100 > /proc/sys/net/ipv4/neigh/v0/retrans_time_ms")
                           .arg(QLatin1String(kSilentAddress)))

TEST_F(BehindASilentRoute, NoAnswerFailsWithCode3AfterTheTimeout)
{
    LinuxPingNetwork network;
    PingIPv4 pinger(network);
    pinger.RoundTripTime = 33;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(pinger.Ping(QLatin1String(kSilentAddress), 1000, QString()));
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(pinger.Reason, 3);
    EXPECT_EQ(pinger.Status, ETIMEDOUT);
    EXPECT_EQ(pinger.RoundTripTime, 33);
    EXPECT_GE(elapsed, 990);
    EXPECT_LT(elapsed, 1500);
}

// The system's "host unreachable" for our echo ends the wait with its reason,
// on a raw ICMP socket and on a datagram one, once our group may open those.
TEST_F(BehindASilentRoute, AnUnreachableHostFailsAtOnceWithTheSystemsReason)
{
    const auto expectUnreachable = [](const char* socket) {
        LinuxPingNetwork network;
        PingIPv4 pinger(network);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(pinger.Ping(QLatin1String(kUnreachableAddress), 2000, QString()));
        EXPECT_EQ(pinger.Reason, 3);
        EXPECT_EQ(pinger.Status, EHOSTUNREACH) << socket;
        EXPECT_LT(clock.elapsed(), 1000);
    };
    expectUnreachable("raw"); // a new namespace allows datagram ICMP sockets to no group
    const QString groups = QStringLiteral("/proc/sys/net/ipv4/ping_group_range");
    writeFile(groups, "0 0");
    ASSERT_EQ(fileBytes(groups).simplified(), "0 0");
    expectUnreachable("datagram");
}

TEST_F(BehindASilentRoute, ANameThatDoesNotResolve)
{
    LinuxPingNetwork network;
    PingIPv4 pinger(network);
    QString ip = QStringLiteral("untouched");
    EXPECT_NE(pinger.Resolve(QStringLiteral("no-such-host.invalid"), ip), 0);
    EXPECT_EQ(ip, QStringLiteral("untouched"));
}

} // namespace
