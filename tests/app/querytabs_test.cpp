#include "buildconfig.h"
#include "support/windowdriver.h"

#include <QLabel>
#include <QRadioButton>

namespace {

const QString kMain = QStringLiteral("http://") + QStringLiteral(UTQ_MAIN_STATUS_HOST);
const QString kGame = QStringLiteral("http://") + QStringLiteral(UTQ_GAME_STATUS_HOST);

class QueryTabs : public WindowTest {
public:
    void setFields(std::initializer_list<std::pair<const char*, const char*>> texts)
    {
        for (const auto& [name, text] : texts)
            field(name)->setText(QString::fromUtf8(text));
    }
    void choose(const char* option) { get<QRadioButton>(option)->setChecked(true); }
    // Clicks "Begin Query" and lets the run take its eleven ticks.
    QStringList query(const char* button, const char* timerName, const char* paneName)
    {
        click(button);
        fire(timerName, 11);
        return pane(paneName)->navigations;
    }
};

TEST_F(QueryTabs, EachTabLoadsItsAddress)
{
    struct Case {
        const char* what;
        std::function<void(QueryTabs&)> prepare;
        const char *button, *timer, *pane;
        QString expected;
    };
    const Case cases[] = {
        {"UT99 query",
         [](QueryTabs& t) {
             t.setFields({{"txtNameOrIP", "10.0.0.1"}, {"txtText2", "7778"}, {"txtText3", "1"}});
         },
         "cmdBeginQuery", "Timer1", "WebBrowser1", kMain + "/php/UTstats/index.php?txtip=10.0.0.1&portnum=7778"},
        {"UT99 query, empty fields",
         [](QueryTabs& t) {
             t.setFields({{"txtNameOrIP", ""}, {"txtText2", ""}});
         },
         "cmdBeginQuery", "Timer1", "WebBrowser1", kMain + "/php/UTstats/index.php?txtip=&portnum="},
        {"UT99 query, blanks kept",
         [](QueryTabs& t) {
             t.setFields({{"txtNameOrIP", " h "}, {"txtText2", "7 8"}});
         },
         "cmdBeginQuery", "Timer1", "WebBrowser1", kMain + "/php/UTstats/index.php?txtip= h &portnum=7 8"},
        {"UT99 favourites take the query port column",
         [](QueryTabs& t) {
             t.setFields({{"ServerIP4", "4.4.4.4"}, {"ServerPort4", "7777"}, {"QueryPort4", "7778"}});
             t.choose("Option1(3)");
         },
         "cmdBeginQuery2", "Timer3", "WebBrowser2", kMain + "/php/UTstats/index.php?txtip=4.4.4.4&portnum=7778"},
        {"UT2004 query untouched: placeholders go in", [](QueryTabs&) {}, "cmdBeginQuery04", "Timer04", "WebBrowser6",
         kMain + "/phpnuke/html/SQuery/index.php?ip=Server IP&port=Server Port&game=UT2004&block=1"},
        {"UT2004 favourites: serverOpt(2) queries slot 3",
         [](QueryTabs& t) {
             t.setFields({{"ServerIP043", "3.3.3.3"}, {"ServerPort043", "7787"}, {"ServerIP042", "wrong"}});
             t.choose("serverOpt(2)");
         },
         "cmdBeginQuery04f", "Timer041", "WebBrowser7",
         kMain + "/phpnuke/html/SQuery/index.php?ip=3.3.3.3&port=7787&game=UT2004&block=1"},
        {"UT2004 favourites: slot 1 is never queried",
         [](QueryTabs& t) {
             t.setFields({{"ServerIP04", "1.1.1.1"}, {"ServerPort04", "7777"}});
             t.choose("serverOpt(6)");
         },
         "cmdBeginQuery04f", "Timer041", "WebBrowser7",
         kMain + "/phpnuke/html/SQuery/index.php?ip=&port=&game=UT2004&block=1"},
        {"UT3 query on the main host with /Qev",
         [](QueryTabs& t) {
             t.setFields({{"ut3iptxt", "5.5.5.5"}, {"txtQueryPort", "6500"}, {"txtServerWeb", "0"}});
         },
         "cmdBeginQueryut3", "Timerut3", "WebBrowser4",
         kMain + "/Qev/UT3Query/ut3query.php?serverip=5.5.5.5&serverqport=6500&serverwport=0"},
        {"UT3 favourites on the game host without /Qev",
         [](QueryTabs& t) {
             t.setFields({{"UT3ServerIP", "5.5.5.5"}, {"UT3ServerPort", "6500"}, {"Serverwport", "0"}});
         },
         "cmdBeginQueryut3f", "Timerut3f", "WebBrowser5",
         kGame + "/UT3Query/ut3query.php?serverip=5.5.5.5&serverqport=6500&serverwport=0"},
        {"UT3 favourites while a UT99 favourite is chosen: all values empty",
         [](QueryTabs& t) {
             t.setFields({{"UT3ServerIP", "5.5.5.5"}, {"UT3ServerPort", "6500"}, {"Serverwport", "80"}});
             t.choose("Option1(0)");
         },
         "cmdBeginQueryut3f", "Timerut3f", "WebBrowser5",
         kGame + "/UT3Query/ut3query.php?serverip=&serverqport=&serverwport="},
        {"UT99 favourites while the UT3 slot is chosen: all values empty",
         [](QueryTabs& t) {
             t.setFields({{"ServerIP", "1.1.1.1"}, {"QueryPort", "7778"}});
         },
         "cmdBeginQuery2", "Timer3", "WebBrowser2", kMain + "/php/UTstats/index.php?txtip=&portnum="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp(); // a fresh window per case
        c.prepare(*this);
        EXPECT_EQ(query(c.button, c.timer, c.pane), QStringList{c.expected});
    }
}

TEST_F(QueryTabs, RunLoadsExactlyOnceOnTheEleventhTick)
{
    click("cmdBeginQuery");
    EXPECT_TRUE(timer("Timer1")->isEnabled());
    EXPECT_EQ(bar("pg")->value(), 0); // the click touches neither bar nor pane
    for (int tick = 1; tick <= 10; ++tick) {
        timer("Timer1")->fire();
        EXPECT_EQ(bar("pg")->value(), 10 * tick);
        EXPECT_TRUE(pane("WebBrowser1")->navigations.isEmpty());
    }
    timer("Timer1")->fire();
    EXPECT_EQ(pane("WebBrowser1")->navigations.size(), 1);
    EXPECT_EQ(bar("pg")->value(), 0);
    EXPECT_FALSE(timer("Timer1")->isEnabled());
    fire("Timer1", 20); // a stopped timer never ticks again
    EXPECT_EQ(pane("WebBrowser1")->navigations.size(), 1);
}

TEST_F(QueryTabs, SecondClickMidRunNeitherRestartsNorLoadsTwice)
{
    click("cmdBeginQueryut3");
    fire("Timerut3", 5);
    click("cmdBeginQueryut3");
    EXPECT_EQ(bar("pgut3")->value(), 50);
    fire("Timerut3", 5);
    EXPECT_TRUE(pane("WebBrowser4")->navigations.isEmpty());
    fire("Timerut3", 1);
    EXPECT_EQ(pane("WebBrowser4")->navigations.size(), 1);
    // A click after the run starts a new run from 0.
    click("cmdBeginQueryut3");
    fire("Timerut3", 10);
    EXPECT_EQ(pane("WebBrowser4")->navigations.size(), 1);
    fire("Timerut3", 1);
    EXPECT_EQ(pane("WebBrowser4")->navigations.size(), 2);
}

TEST_F(QueryTabs, FieldsAreReadAtTheEndNotAtTheClick)
{
    field("txt04Server")->setText(QStringLiteral("before"));
    click("cmdBeginQuery04");
    fire("Timer04", 6);
    field("txt04Server")->setText(QStringLiteral("after"));
    field("txt04port")->setText(QStringLiteral("7777"));
    fire("Timer04", 5);
    EXPECT_EQ(pane("WebBrowser6")->navigations,
              QStringList{kMain + "/phpnuke/html/SQuery/index.php?ip=after&port=7777&game=UT2004&block=1"});
}

TEST_F(QueryTabs, RunsOfTwoTabsAreIndependent)
{
    click("cmdBeginQuery");
    fire("Timer1", 3);
    click("cmdBeginQueryut3");
    fire("Timerut3", 2);
    EXPECT_EQ(bar("pg")->value(), 30);
    EXPECT_EQ(bar("pgut3")->value(), 20);
    fire("Timer1", 8);
    EXPECT_EQ(pane("WebBrowser1")->navigations.size(), 1);
    EXPECT_TRUE(pane("WebBrowser4")->navigations.isEmpty());
    EXPECT_TRUE(timer("Timerut3")->isEnabled());
    fire("Timerut3", 9);
    EXPECT_EQ(pane("WebBrowser4")->navigations.size(), 1);
    for (const char* other : {"WebBrowser2", "WebBrowser3", "WebBrowser5", "WebBrowser6", "WebBrowser7"})
        EXPECT_TRUE(pane(other)->navigations.isEmpty()) << other;
}

TEST_F(QueryTabs, Ut99LoadsBlankTheirPingDisplayOthersDoNot)
{
    struct Case {
        const char *button, *timer;
        std::array<const char*, 2> display; // result and time fields of the tab
        bool blanked;
    };
    const Case cases[] = {
        {"cmdBeginQuery", "Timer1", {"txtText4(0)", "txtText4(1)"}, true},
        {"cmdBeginQuery2", "Timer3", {"txtText4(3)", "txtText4(2)"}, true},
        {"cmdBeginQuery04", "Timer04", {"txt04ping(0)", "txt04ping(1)"}, false},
        {"cmdBeginQueryut3f", "Timerut3f", {"txtpUT3(2)", "txtpUT3(3)"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        for (const char* name : c.display)
            field(name)->setText(QStringLiteral("47ms"));
        get<QLabel>("lblStatus")->setText(QStringLiteral("0"));
        query(c.button, c.timer, "WebBrowser1");
        for (const char* name : c.display)
            EXPECT_EQ(field(name)->text().isEmpty(), c.blanked) << name;
        EXPECT_EQ(get<QLabel>("lblStatus")->text().isEmpty(), c.blanked);
    }
}

TEST_F(QueryTabs, ClosingStopsEveryRunWithoutAFurtherTick)
{
    click("cmdBeginQuery");
    click("cmdBeginQuery04f");
    fire("Timer1", 5);
    window->close();
    EXPECT_FALSE(timer("Timer1")->isEnabled());
    EXPECT_FALSE(timer("Timer041")->isEnabled());
    fire("Timer1", 20);
    EXPECT_TRUE(pane("WebBrowser1")->navigations.isEmpty());
}

} // namespace
