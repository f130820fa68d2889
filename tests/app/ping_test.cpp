#include "support/windowdriver.h"

#include <QLabel>
#include <QRadioButton>

#include <arpa/inet.h>

namespace {

class PingCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* text : {"127.0.0.1", "10.0.0.7", "10.0.0.8"})
            platform.network.dotted[text] = inet_addr(text);
        platform.network.names["game.example.org"] = {0, inet_addr("10.0.0.7")};
    }
    QString label(const char* name) const { return get<QLabel>(name)->text(); }
};

TEST_F(PingCommands, EachTabShowsItsOutcomeInItsOwnFields)
{
    struct Case {
        const char* button;
        std::function<void(PingCommands&)> prepare;
        const char *result, *time;
        const char* resultText;
        const char* statusLabel; // holds "0" afterwards
        const char* hostField;   // written back with the address, or nullptr
    };
    const Case cases[] = {
        {"cmdPing", [](PingCommands& t) { t.field("txtNameOrIP")->setText(" game.example.org "); }, "txtText4(0)",
         "txtText4(1)", "Ping Result: Success", "lblStatus", "txtNameOrIP"},
        {"cmdPing2",
         [](PingCommands& t) {
             t.field("ServerIP4")->setText("game.example.org");
             t.get<QRadioButton>("Option1(3)")->setChecked(true);
         },
         "txtText4(3)", "txtText4(2)", "Ping Result: Success", "lblStatus", nullptr},
        {"cmdping04", [](PingCommands& t) { t.field("txt04Server")->setText("game.example.org"); }, "txt04ping(0)",
         "txt04ping(1)", "Success", "lblUt3", "txt04Server"},
        {"cmdping042",
         [](PingCommands& t) {
             t.field("ServerIP043")->setText("10.0.0.7");
             t.get<QRadioButton>("serverOpt(2)")->setChecked(true);
         },
         "txt04ping(2)", "txt04ping(3)", "Success", "ut042", nullptr},
        {"cmdpUT3", [](PingCommands& t) { t.field("ut3iptxt")->setText("game.example.org"); }, "txtpUT3(0)",
         "txtpUT3(1)", "Success", "lblUt3", "ut3iptxt"},
        {"cmdpUT32", [](PingCommands& t) { t.field("UT3ServerIP")->setText("game.example.org"); }, "txtpUT3(2)",
         "txtpUT3(3)", "Success", "lblUt32", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        SetUp();
        platform.network.echoes.clear();
        c.prepare(*this);
        const QString hostBefore = c.hostField ? field(c.hostField)->text() : QString();
        click(c.button);
        EXPECT_EQ(field(c.result)->text(), QString::fromLatin1(c.resultText));
        EXPECT_EQ(field(c.time)->text(), QStringLiteral("47ms"));
        EXPECT_EQ(label(c.statusLabel), QStringLiteral("0"));
        ASSERT_EQ(platform.network.echoes.size(), 1u);
        EXPECT_EQ(platform.network.echoes[0].address, inet_addr("10.0.0.7"));
        EXPECT_EQ(platform.network.echoes[0].timeoutMs, 1000);
        EXPECT_TRUE(platform.network.echoes[0].data.isEmpty());
        if (c.hostField) {
            EXPECT_EQ(field(c.hostField)->text(), QStringLiteral("10.0.0.7")) << "was " << hostBefore.toStdString();
        }
        // The focus ends in the UT99 host field, the tab stays.
        EXPECT_EQ(window->focusWidget(), field("txtNameOrIP"));
        EXPECT_EQ(field("txtNameOrIP")->selectedText(), field("txtNameOrIP")->text());
        EXPECT_EQ(window->tabStrip()->currentIndex(), tabOf(get(c.button)));
    }
}

TEST_F(PingCommands, ANameThatDoesNotResolve)
{
    field("txtNameOrIP")->setText(QStringLiteral("nowhere.invalid"));
    field("txtText4(1)")->setText(QStringLiteral("old"));
    click("cmdPing");
    EXPECT_EQ(field("txtText4(0)")->text(), QStringLiteral("Failure"));
    EXPECT_EQ(field("txtText4(1)")->text(), QString());
    EXPECT_EQ(label("lblStatus"), QStringLiteral("-2"));
    EXPECT_EQ(field("txtNameOrIP")->text(), QStringLiteral("nowhere.invalid"));
    EXPECT_TRUE(platform.network.echoes.empty()); // no echo is sent

    // On the UT2004 query tab the look-up's error goes to ut042.
    field("txt04Server")->setText(QStringLiteral("nowhere.invalid"));
    click("cmdping04");
    EXPECT_EQ(field("txt04ping(0)")->text(), QStringLiteral("Failure"));
    EXPECT_EQ(label("ut042"), QStringLiteral("-2"));
}

TEST_F(PingCommands, TimesBelowTenMillisecondsShowOneDecimalNoAnswerShowsTheError)
{
    field("txtNameOrIP")->setText(QStringLiteral("game.example.org"));
    platform.network.echo = {false, 0, 110};
    click("cmdPing");
    EXPECT_EQ(field("txtText4(0)")->text(), QStringLiteral("Ping Result: Failure"));
    EXPECT_EQ(field("txtText4(1)")->text(), QStringLiteral("n/a"));
    EXPECT_EQ(label("lblStatus"), QStringLiteral("110"));
    EXPECT_EQ(field("txtNameOrIP")->text(), QStringLiteral("10.0.0.7")); // resolved, so written back
    const std::pair<int, const char*> shown[] = {{0, "0.0ms"},   {300, "0.3ms"},  {4449, "4.4ms"}, {9949, "9.9ms"},
                                                 {9950, "10ms"}, {10499, "10ms"}, {47000, "47ms"}, {999999, "1000ms"}};
    for (const auto& [microseconds, text] : shown) {
        platform.network.echo = {true, microseconds, 0};
        click("cmdPing");
        EXPECT_EQ(field("txtText4(1)")->text(), QLatin1String(text)) << microseconds;
    }
}

TEST_F(PingCommands, AfterReasonOneTheStatusLabelStaysEmptyOnAnswers)
{
    // A name that resolves to 255.255.255.255 fails the dotted parse in Ping: Reason 1.
    platform.network.names["broadcast"] = {0, inet_addr("255.255.255.255")};
    field("ut3iptxt")->setText(QStringLiteral("broadcast"));
    click("cmdpUT3");
    EXPECT_EQ(field("txtpUT3(0)")->text(), QStringLiteral("Failure"));
    EXPECT_EQ(label("lblUt3"), QStringLiteral("ut3")); // step 8 skipped
    field("ut3iptxt")->setText(QStringLiteral("127.0.0.1"));
    click("cmdpUT3");
    EXPECT_EQ(field("txtpUT3(0)")->text(), QStringLiteral("Success"));
    EXPECT_EQ(label("lblUt3"), QStringLiteral("ut3")); // Reason is still 1
    EXPECT_EQ(window->pinger()->Reason, 1);
}

TEST_F(PingCommands, AFavouritesTabWithNoOptionOfItsOwnPingsTheEmptyText)
{
    // At start only the UT3 slot 1 is chosen: the UT99 favourites have none.
    field("ServerIP")->setText(QStringLiteral("10.0.0.8"));
    click("cmdPing2");
    EXPECT_EQ(platform.network.lookedUp, QList<QByteArray>{QByteArray()});
    EXPECT_EQ(field("txtText4(3)")->text(), QStringLiteral("Failure"));
    // UT2004's top row is never a ping target, even when its button is set.
    get<QRadioButton>("serverOpt(6)")->setChecked(true);
    field("ServerIP04")->setText(QStringLiteral("10.0.0.8"));
    click("cmdping042");
    EXPECT_EQ(platform.network.lookedUp.size(), 2);
    EXPECT_TRUE(platform.network.echoes.empty());
}

} // namespace
