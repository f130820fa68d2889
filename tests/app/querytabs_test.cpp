#include "buildconfig.h"
#include "support/windowdriver.h"

#include <QLabel>
#include <QRadioButton>

namespace {

const QString kMain = QStringLiteral("http://") + QStringLiteral(UTQ_MAIN_STATUS_HOST);
const QString kGame = QStringLiteral("http://") + QStringLiteral(UTQ_GAME_STATUS_HOST);

class QueryTabs : public WindowTest {
public:
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
        std::vector<std::pair<const char*, const char*>> typed;
        const char* option; // chosen before the click, if any
        const char *button, *timer, *pane;
        QString expected;
    };
    const Case cases[] = {
        {"UT99 query",
         {{"txtNameOrIP", "10.0.0.1"}, {"txtText2", "7778"}, {"txtText3", "1"}},
         nullptr,
         "cmdBeginQuery",
         "Timer1",
         "WebBrowser1",
         kMain + "/php/UTstats/index.php?txtip=10.0.0.1&portnum=7778"},
        {"UT99 query, blanks kept",
         {{"txtNameOrIP", " h "}, {"txtText2", "7 8"}},
         nullptr,
         "cmdBeginQuery",
         "Timer1",
         "WebBrowser1",
         kMain + "/php/UTstats/index.php?txtip= h &portnum=7 8"},
        {"UT99 favourites take the query port column",
         {{"ServerIP4", "4.4.4.4"}, {"ServerPort4", "7777"}, {"QueryPort4", "7778"}},
         "Option1(3)",
         "cmdBeginQuery2",
         "Timer3",
         "WebBrowser2",
         kMain + "/php/UTstats/index.php?txtip=4.4.4.4&portnum=7778"},
        {"UT2004 query untouched: placeholders go in",
         {},
         nullptr,
         "cmdBeginQuery04",
         "Timer04",
         "WebBrowser6",
         kMain + "/phpnuke/html/SQuery/index.php?ip=Server IP&port=Server Port&game=UT2004&block=1"},
        {"UT2004 favourites: serverOpt(2) queries slot 3",
         {{"ServerIP043", "3.3.3.3"}, {"ServerPort043", "7787"}, {"ServerIP042", "wrong"}},
         "serverOpt(2)",
         "cmdBeginQuery04f",
         "Timer041",
         "WebBrowser7",
         kMain + "/phpnuke/html/SQuery/index.php?ip=3.3.3.3&port=7787&game=UT2004&block=1"},
        {"UT2004 favourites: slot 1 is never queried",
         {{"ServerIP04", "1.1.1.1"}, {"ServerPort04", "7777"}},
         "serverOpt(6)",
         "cmdBeginQuery04f",
         "Timer041",
         "WebBrowser7",
         kMain + "/phpnuke/html/SQuery/index.php?ip=&port=&game=UT2004&block=1"},
        {"UT3 query on the main host with /Qev",
         {{"ut3iptxt", "5.5.5.5"}, {"txtQueryPort", "6500"}, {"txtServerWeb", "0"}},
         nullptr,
         "cmdBeginQueryut3",
         "Timerut3",
         "WebBrowser4",
         kMain + "/Qev/UT3Query/ut3query.php?serverip=5.5.5.5&serverqport=6500&serverwport=0"},
        {"UT3 favourites on the game host without /Qev",
         {{"UT3ServerIP", "5.5.5.5"}, {"UT3ServerPort", "6500"}, {"Serverwport", "0"}},
         nullptr,
         "cmdBeginQueryut3f",
         "Timerut3f",
         "WebBrowser5",
         kGame + "/UT3Query/ut3query.php?serverip=5.5.5.5&serverqport=6500&serverwport=0"},
        {"UT3 favourites while a UT99 favourite is chosen: all values empty",
         {{"UT3ServerIP", "5.5.5.5"}, {"UT3ServerPort", "6500"}, {"Serverwport", "80"}},
         "Option1(0)",
         "cmdBeginQueryut3f",
         "Timerut3f",
         "WebBrowser5",
         kGame + "/UT3Query/ut3query.php?serverip=&serverqport=&serverwport="},
        {"UT99 favourites while the UT3 slot is chosen: all values empty",
         {{"ServerIP", "1.1.1.1"}, {"QueryPort", "7778"}},
         nullptr,
         "cmdBeginQuery2",
         "Timer3",
         "WebBrowser2",
         kMain + "/php/UTstats/index.php?txtip=&portnum="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp(); // a fresh window per case
        for (const auto& [name, text] : c.typed)
            field(name)->setText(QString::fromUtf8(text));
        if (c.option)
            get<QRadioButton>(c.option)->setChecked(true);
        EXPECT_EQ(query(c.button, c.timer, c.pane), QStringList{c.expected});
    }
}

// A run fills its bar a tenth a tick and loads once, on the eleventh, with
// the fields as they are then; a click mid-run changes nothing, one after it
// starts afresh; runs of two tabs go their own ways; closing stops them all.
TEST_F(QueryTabs, RunsLoadOnceOnTheEleventhTick)
{
    click("cmdBeginQuery04");
    EXPECT_EQ(bar("pg04")->value(), 0);
    for (int tick = 1; tick <= 10; ++tick) {
        timer("Timer04")->fire();
        EXPECT_EQ(bar("pg04")->value(), 10 * tick);
        if (tick == 5) {
            click("cmdBeginQuery04");
            field("txt04Server")->setText(QStringLiteral("after"));
            click("cmdBeginQueryut3");
            fire("Timerut3", 2);
        }
    }
    EXPECT_TRUE(pane("WebBrowser6")->navigations.isEmpty());
    timer("Timer04")->fire();
    EXPECT_EQ(pane("WebBrowser6")->navigations,
              QStringList{kMain + "/phpnuke/html/SQuery/index.php?ip=after&port=Server Port&game=UT2004&block=1"});
    EXPECT_EQ(bar("pg04")->value(), 0);
    EXPECT_FALSE(timer("Timer04")->isEnabled());
    EXPECT_EQ(bar("pgut3")->value(), 20);
    fire("Timer04", 20); // a stopped timer never ticks again
    EXPECT_EQ(pane("WebBrowser6")->navigations.size(), 1);
    EXPECT_EQ(query("cmdBeginQuery04", "Timer04", "WebBrowser6").size(), 2);

    fire("Timerut3", 9);
    EXPECT_EQ(pane("WebBrowser4")->navigations.size(), 1);
    for (const char* other : {"WebBrowser1", "WebBrowser2", "WebBrowser3", "WebBrowser5", "WebBrowser7"})
        EXPECT_TRUE(pane(other)->navigations.isEmpty()) << other;

    click("cmdBeginQuery");
    fire("Timer1", 5);
    window->close();
    EXPECT_FALSE(timer("Timer1")->isEnabled());
    fire("Timer1", 20);
    EXPECT_TRUE(pane("WebBrowser1")->navigations.isEmpty());
}

TEST_F(QueryTabs, Ut99LoadsBlankTheirPingDisplayOthersDoNot)
{
    const std::tuple<const char*, const char*, std::array<const char*, 2>, bool> cases[] = {
        {"cmdBeginQuery", "Timer1", {"txtText4(0)", "txtText4(1)"}, true},
        {"cmdBeginQuery2", "Timer3", {"txtText4(3)", "txtText4(2)"}, true},
        {"cmdBeginQuery04", "Timer04", {"txt04ping(0)", "txt04ping(1)"}, false},
        {"cmdBeginQueryut3f", "Timerut3f", {"txtpUT3(2)", "txtpUT3(3)"}, false},
    };
    for (const auto& [button, timerName, display, blanked] : cases) {
        SCOPED_TRACE(button);
        for (const char* name : display)
            field(name)->setText(QStringLiteral("47ms"));
        get<QLabel>("lblStatus")->setText(QStringLiteral("0"));
        query(button, timerName, "WebBrowser1");
        for (const char* name : display)
            EXPECT_EQ(field(name)->text().isEmpty(), blanked) << name;
        EXPECT_EQ(get<QLabel>("lblStatus")->text().isEmpty(), blanked);
    }
}

} // namespace
