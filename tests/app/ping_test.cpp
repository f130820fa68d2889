#include "support/windowdriver.h"

#include <arpa/inet.h>

namespace {

class PingCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        platform.network.names["game.example.org"] = {0, inet_addr("10.0.0.7")};
        platform.network.names["broadcast"] = {0, inet_addr("255.255.255.255")}; // no dotted address to Ping
    }
};

// Each tab's Ping shows its outcome in its own fields and status label,
// writes the address back into a query tab's host field, and leaves the
// focus in the UT99 host field.
TEST_F(PingCommands, EachTabShowsItsOutcomeInItsOwnFields)
{
    stories(
        {
            {"type txtNameOrIP  game.example.org ", "click cmdPing", "see txtText4(0) Ping Result: Success",
             "see txtText4(1) 47ms", "see lblStatus 0", "see txtNameOrIP 10.0.0.7"},
            {"type ServerIP4 game.example.org", "choose Option1(3)", "click cmdPing2",
             "see txtText4(3) Ping Result: Success", "see txtText4(2) 47ms", "see lblStatus 0"},
            {"type txt04Server game.example.org", "click cmdping04", "see txt04ping(0) Success",
             "see txt04ping(1) 47ms", "see lblUt3 0", "see ut04 ", "see txt04Server 10.0.0.7"},
            {"type ServerIP043 10.0.0.7", "choose serverOpt(2)", "click cmdping042", "see txt04ping(2) Success",
             "see txt04ping(3) 47ms", "see ut042 0"},
            {"type ut3iptxt game.example.org", "click cmdpUT3", "see txtpUT3(0) Success", "see txtpUT3(1) 47ms",
             "see lblUt3 0", "see ut3iptxt 10.0.0.7"},
            {"type UT3ServerIP game.example.org", "click cmdpUT32", "see txtpUT3(2) Success", "see txtpUT3(3) 47ms",
             "see lblUt32 0"},
        },
        [this] {
            ASSERT_EQ(platform.network.echoes.size(), 1u);
            EXPECT_EQ(platform.network.echoes[0].address, inet_addr("10.0.0.7"));
            EXPECT_EQ(platform.network.echoes[0].timeoutMs, 1000);
            EXPECT_TRUE(platform.network.echoes[0].data.isEmpty());
            EXPECT_EQ(window->focusWidget(), field("txtNameOrIP"));
            EXPECT_EQ(field("txtNameOrIP")->selectedText(), field("txtNameOrIP")->text());
            platform.network.echoes.clear();
        });
}

TEST_F(PingCommands, FailuresShowTheirReason)
{
    story({// a name that does not resolve: no echo, the look-up's error
           "type txtNameOrIP nowhere.invalid", "type txtText4(1) old", "click cmdPing", "see txtText4(0) Failure",
           "see txtText4(1) ", "see lblStatus -2", "see txtNameOrIP nowhere.invalid",
           // on the UT2004 query tab the look-up's error goes to ut042
           "type txt04Server nowhere.invalid", "click cmdping04", "see txt04ping(0) Failure", "see ut042 -2",
           // a UT99 favourites tab with no option of its own pings the empty text
           "type ServerIP 10.0.0.8", "click cmdPing2", "see txtText4(3) Failure",
           // nor is UT2004's top row ever a target, even when its button is set
           "choose serverOpt(6)", "type ServerIP04 10.0.0.8", "click cmdping042", "see txt04ping(2) Failure"});
    EXPECT_EQ(platform.network.lookedUp, (QList<QByteArray>{"nowhere.invalid", "nowhere.invalid", "", ""}));
    EXPECT_TRUE(platform.network.echoes.empty());

    // Reason 1 stays after an answer: the status label is left as it is.
    story({"type ut3iptxt broadcast", "click cmdpUT3", "see txtpUT3(0) Failure", "see lblUt3 ut3",
           "type ut3iptxt 127.0.0.1", "click cmdpUT3", "see txtpUT3(0) Success", "see lblUt3 ut3"});
    platform.network.echo = {false, 0, 110}; // no answer
    story({"type txtNameOrIP game.example.org", "click cmdPing", "see txtText4(0) Ping Result: Failure",
           "see txtText4(1) n/a", "see lblStatus 110", "see txtNameOrIP 10.0.0.7"});
}

TEST_F(PingCommands, TimesBelowTenMillisecondsShowOneDecimal)
{
    field("txtNameOrIP")->setText(QStringLiteral("10.0.0.7"));
    const std::pair<int, const char*> shown[] = {{0, "0.0ms"},   {300, "0.3ms"},  {4449, "4.4ms"}, {9949, "9.9ms"},
                                                 {9950, "10ms"}, {10499, "10ms"}, {47000, "47ms"}, {999999, "1000ms"}};
    for (const auto& [microseconds, text] : shown) {
        platform.network.echo = {true, microseconds, 0};
        click("cmdPing");
        EXPECT_EQ(field("txtText4(1)")->text(), QLatin1String(text)) << microseconds;
    }
}

} // namespace
