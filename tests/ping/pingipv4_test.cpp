#include "ping/pingipv4.h"
#include "support/fakenetwork.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

namespace {

std::uint32_t address(const char* dotted) { return inet_addr(dotted); }

class PingClass : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.names["example-host"] = {0, address("10.0.0.7")};
        network.names["no-address"] = {0, std::nullopt};
    }
    FakeNetwork network;
    PingIPv4 pinger{network};
};

TEST_F(PingClass, ResolveTurnsHostTextsIntoDottedAddresses)
{
    const std::tuple<const char*, std::int32_t, const char*, bool> cases[] = {
        // text, code, what IP holds afterwards (it starts as "before"), looked up
        {"  192.168.0.1  ", 0, "192.168.0.1", false}, // blanks trimmed, no look-up
        {"example-host", 0, "10.0.0.7", true},
        {"unknown-host", -2, "before", true}, // the look-up's error; IP untouched
        {"no-address", 1, "before", true},
        {"255.255.255.255", -2, "before", true}, // not dotted to the parse
        {"\texample-host", -2, "before", true},  // only blanks are trimmed
    };
    for (const auto& [text, code, ip, lookedUp] : cases) {
        SCOPED_TRACE(text);
        network.lookedUp.clear();
        QString got = QStringLiteral("before");
        EXPECT_EQ(pinger.Resolve(QString::fromLatin1(text), got), code);
        EXPECT_EQ(got, QString::fromLatin1(ip));
        EXPECT_EQ(!network.lookedUp.isEmpty(), lookedUp);
    }
    EXPECT_EQ(pinger.Reason, 0);
    EXPECT_EQ(pinger.Status, 0);
}

TEST_F(PingClass, EveryReasonCodeWithItsStatus)
{
    const std::tuple<const char*, const char*, int, int, PingNetwork::Echo, bool, std::int32_t, std::int32_t,
                     std::int32_t>
        cases[] = {
            // what, address, open error, close error, echo, answered, reason, status, round trip
            {"answered", "127.0.0.1", 0, 0, {true, 47000, 0}, true, 0, 0, 47},
            {"not a dotted address", "255.255.255.255", 0, 0, {true, 5000, 0}, false, 1, 0, 0},
            {"no echo could be opened", "127.0.0.1", 13, 0, {true, 5000, 0}, false, 2, 13, 0},
            {"no answer in time", "127.0.0.1", 0, 0, {false, 0, 110}, false, 3, 110, 0},
            // An ICMP error about our echo is a failure, never an answer.
            {"host unreachable", "127.0.0.1", 0, 0, {false, 0, 113}, false, 3, 113, 0},
            {"close failed after an answer", "127.0.0.1", 0, 9, {true, 5000, 0}, false, 4, 9, 5},
            {"close failure overrides code 3", "127.0.0.1", 0, 9, {false, 0, 110}, false, 4, 9, 0},
        };
    for (const auto& [what, ip, openError, closeError, echo, answered, reason, status, roundTrip] : cases) {
        SCOPED_TRACE(what);
        PingIPv4 fresh(network);
        network.openError = openError;
        network.closeError = closeError;
        network.echo = echo;
        EXPECT_EQ(fresh.Ping(QString::fromLatin1(ip), 1000, QString()), answered);
        EXPECT_EQ(fresh.Reason, reason);
        EXPECT_EQ(fresh.Status, status);
        EXPECT_EQ(fresh.RoundTripTime, roundTrip);
    }
    // Between pings only the fields stay: an answer after a failure clears the
    // status and keeps the failure's reason.
    network.openError = network.closeError = 0;
    network.echo = {false, 0, 110};
    EXPECT_FALSE(pinger.Ping(QStringLiteral("127.0.0.1"), 1000, QString()));
    network.echo = {true, 47000, 0};
    EXPECT_TRUE(pinger.Ping(QStringLiteral("127.0.0.1"), 1000, QString()));
    EXPECT_EQ(std::tuple(pinger.Reason, pinger.Status, pinger.RoundTripTime), std::tuple(3, 0, 47));
}

} // namespace
