#include "core/routes.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase {
    const char* what;
    const char* webHost;
    const StatusRoute* route;
    ServerFields server;
    const char* expected;
};

const AddressCase kCases[] = {
    {"UT99 host and query port",
     "status.example.org",
     &kUt99StatusPage,
     {"10.0.0.1", "7778", {}},
     "http://status.example.org/php/UTstats/index.php?txtip=10.0.0.1&portnum=7778"},
    {"UT99 empty fields leave the keys empty",
     "status.example.org",
     &kUt99StatusPage,
     {},
     "http://status.example.org/php/UTstats/index.php?txtip=&portnum="},
    {"blanks are kept, nothing is encoded",
     "h",
     &kUt99StatusPage,
     {" a b ", "77 78", {}},
     "http://h/php/UTstats/index.php?txtip= a b &portnum=77 78"},
    {"& and ? typed into a field go in as they stand",
     "h",
     &kUt99StatusPage,
     {"x&y=1?", "#1", {}},
     "http://h/php/UTstats/index.php?txtip=x&y=1?&portnum=#1"},
    {"UT2004 ends in game and block",
     "h",
     &kUt2004StatusPage,
     {"1.2.3.4", "7777", {}},
     "http://h/phpnuke/html/SQuery/index.php?ip=1.2.3.4&port=7777&game=UT2004&block=1"},
    {"UT2004 placeholders of an untouched tab",
     "h",
     &kUt2004StatusPage,
     {"Server IP", "Server Port", {}},
     "http://h/phpnuke/html/SQuery/index.php?ip=Server IP&port=Server Port&game=UT2004&block=1"},
    {"UT3 query tab path has /Qev",
     "main:1",
     &kUt3QueryStatusPage,
     {"1.2.3.4", "6500", "0"},
     "http://main:1/Qev/UT3Query/ut3query.php?serverip=1.2.3.4&serverqport=6500&serverwport=0"},
    {"UT3 favourites path has no /Qev",
     "game:2",
     &kUt3FavouritesStatusPage,
     {"1.2.3.4", "6500", "0"},
     "http://game:2/UT3Query/ut3query.php?serverip=1.2.3.4&serverqport=6500&serverwport=0"},
    {"UT3 empty fields",
     "h",
     &kUt3FavouritesStatusPage,
     {},
     "http://h/UT3Query/ut3query.php?serverip=&serverqport=&serverwport="},
};

TEST(StatusAddress, JoinsThePiecesOfEachFormat)
{
    for (const AddressCase& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(statusAddress(QString::fromUtf8(c.webHost), *c.route, c.server).toStdString(), c.expected);
    }
}

TEST(StatusAddress, NonLatinTextGoesInUnchanged)
{
    const QString host = QStringLiteral("сервер.example");
    EXPECT_EQ(statusAddress(QStringLiteral("h"), kUt99StatusPage, {host, QStringLiteral("1"), {}}),
              QStringLiteral("http://h/php/UTstats/index.php?txtip=") + host + QStringLiteral("&portnum=1"));
}


} // namespace
