#include "buildconfig.h"
#include "support/windowdriver.h"

namespace {

#define MAIN "http://" UTQ_MAIN_STATUS_HOST
#define GAME "http://" UTQ_GAME_STATUS_HOST

class QueryTabs : public WindowTest {};

// What each tab's "Begin Query" loads into its pane on the eleventh tick.
TEST_F(QueryTabs, EachTabLoadsItsAddress)
{
    stories({
        {"type txtNameOrIP 10.0.0.1", "type txtText2 7778", "type txtText3 1", "click cmdBeginQuery", "tick Timer1 11",
         "see WebBrowser1 " MAIN "/php/UTstats/index.php?txtip=10.0.0.1&portnum=7778"},
        {"type txtNameOrIP  h ", "type txtText2 7 8", "click cmdBeginQuery", "tick Timer1 11", // blanks kept
         "see WebBrowser1 " MAIN "/php/UTstats/index.php?txtip= h &portnum=7 8"},
        // UT99 favourites take the query port column.
        {"type ServerIP4 4.4.4.4", "type ServerPort4 7777", "type QueryPort4 7778", "choose Option1(3)",
         "click cmdBeginQuery2", "tick Timer3 11",
         "see WebBrowser2 " MAIN "/php/UTstats/index.php?txtip=4.4.4.4&portnum=7778"},
        // UT99 favourites while the UT3 slot is chosen: all values empty.
        {"type ServerIP 1.1.1.1", "type QueryPort 7778", "click cmdBeginQuery2", "tick Timer3 11",
         "see WebBrowser2 " MAIN "/php/UTstats/index.php?txtip=&portnum="},
        {"click cmdBeginQuery04", "tick Timer04 11", // untouched: the placeholders go in
         "see WebBrowser6 " MAIN "/phpnuke/html/SQuery/index.php?ip=Server IP&port=Server Port&game=UT2004&block=1"},
        // serverOpt(2) queries slot 3; the top row is never queried.
        {"type ServerIP043 3.3.3.3", "type ServerPort043 7787", "type ServerIP042 wrong", "choose serverOpt(2)",
         "click cmdBeginQuery04f", "tick Timer041 11",
         "see WebBrowser7 " MAIN "/phpnuke/html/SQuery/index.php?ip=3.3.3.3&port=7787&game=UT2004&block=1"},
        {"type ServerIP04 1.1.1.1", "type ServerPort04 7777", "choose serverOpt(6)", "click cmdBeginQuery04f",
         "tick Timer041 11", "see WebBrowser7 " MAIN "/phpnuke/html/SQuery/index.php?ip=&port=&game=UT2004&block=1"},
        // UT3 queries on the main host with /Qev, favourites on the game host without.
        {"type ut3iptxt 5.5.5.5", "type txtQueryPort 6500", "type txtServerWeb 0", "click cmdBeginQueryut3",
         "tick Timerut3 11",
         "see WebBrowser4 " MAIN "/Qev/UT3Query/ut3query.php?serverip=5.5.5.5&serverqport=6500&serverwport=0"},
        {"type UT3ServerIP 5.5.5.5", "type UT3ServerPort 6500", "type Serverwport 0", "click cmdBeginQueryut3f",
         "tick Timerut3f 11",
         "see WebBrowser5 " GAME "/UT3Query/ut3query.php?serverip=5.5.5.5&serverqport=6500&serverwport=0"},
        // UT3 favourites while a UT99 favourite is chosen: all values empty.
        {"type UT3ServerIP 5.5.5.5", "choose Option1(0)", "click cmdBeginQueryut3f", "tick Timerut3f 11",
         "see WebBrowser5 " GAME "/UT3Query/ut3query.php?serverip=&serverqport=&serverwport="},
    });
}

// A run fills its bar a tenth a tick and loads once, on the eleventh, with
// the fields as they are then; a click mid-run changes nothing, one after it
// starts afresh; runs of two tabs go their own ways; closing stops them all.
TEST_F(QueryTabs, RunsLoadOnceOnTheEleventhTick)
{
    story({"click cmdBeginQuery04", "see pg04 0", "see Timer04 on", "tick Timer04 1", "see pg04 10", "tick Timer04 4"});
    story({"click cmdBeginQuery04", "type txt04Server after", "click cmdBeginQueryut3", "tick Timerut3 2"});
    story({"tick Timer04 5", "see pg04 100", "see WebBrowser6 ", "see pgut3 20", "tick Timer04 1"});
    story({"see WebBrowser6 " MAIN "/phpnuke/html/SQuery/index.php?ip=after&port=Server Port&game=UT2004&block=1",
           "see pg04 0", "see Timer04 off", "tick Timer04 20", "see pgut3 20", "see WebBrowser4 ", "tick Timerut3 9"});
    story({"see WebBrowser1 ", "see WebBrowser2 ", "see WebBrowser3 ", "see WebBrowser5 ", "see WebBrowser7 "});
    story({"click cmdBeginQuery", "tick Timer1 5"});
    EXPECT_EQ(pane("WebBrowser6")->navigations.size(), 1);
    EXPECT_EQ(pane("WebBrowser4")->navigations.size(), 1);
    window->close();
    story({"see Timer1 off", "tick Timer1 20", "see WebBrowser1 "});
}

TEST_F(QueryTabs, Ut99LoadsBlankTheirPingDisplayOthersDoNot)
{
    story({"type txtText4(0) 47ms", "type txtText4(3) 47ms", "type txt04ping(0) 47ms", "type txtpUT3(2) 47ms",
           "click cmdBeginQuery04", "tick Timer04 11", "click cmdBeginQueryut3f", "tick Timerut3f 11",
           "see txt04ping(0) 47ms", "see txtpUT3(2) 47ms", "see lblStatus Label1", "click cmdBeginQuery2",
           "tick Timer3 11", "see txtText4(3) ", "see txtText4(0) 47ms", "see lblStatus ", "click cmdBeginQuery",
           "tick Timer1 11", "see txtText4(0) "});
}

} // namespace
