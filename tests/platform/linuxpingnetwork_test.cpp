// The real look-up and echo. Traffic goes only to loopback, or inside a network
// namespace this test makes for itself (unshare -rn), so nothing leaves the machine.

#include "ping/pingipv4.h"
#include "platform/linuxpingnetwork.h"
#include "support/ownnamespace.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>

namespace {

// Routed to the namespace's loopback, where nothing answers for it.
constexpr char kSilentAddress[] = "198.51.100.7";

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

// In a network namespace of their own, with only loopback, a route for
// kSilentAddress into it, and no way out.
TESTS_IN_OWN_NAMESPACE(
    BehindASilentRoute, ::testing::Test, "-rn",
    QStringLiteral("ip link set lo up && ip route add %1/32 dev lo").arg(QLatin1String(kSilentAddress)))

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

TEST_F(BehindASilentRoute, ANameThatDoesNotResolve)
{
    LinuxPingNetwork network;
    PingIPv4 pinger(network);
    QString ip = QStringLiteral("untouched");
    EXPECT_NE(pinger.Resolve(QStringLiteral("no-such-host.invalid"), ip), 0);
    EXPECT_EQ(ip, QStringLiteral("untouched"));
}

} // namespace
