#include "statusservice/pagerequest.h"
#include "support/qstringprinter.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using namespace statusservice;
using Kind = PageRequest::Kind;

// Status pages: host|port|web port|refresh, decoded as the browser encoded them.
TEST(PageRequest, TheWindowsAddressesAsTheBrowserSendsThem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/php/UTstats/index.php?txtip=%20h%20&portnum=7%2078", " h |7 78||0"},
        {"/phpnuke/html/SQuery/index.php?ip=Server%20IP&port=Server%20Port&game=UT2004&block=1",
         "Server IP|Server Port||0"},
        {"/UT3Query/ut3query.php?serverip=h&serverqport=6500&serverwport=80&refresh=1", "h|6500|80|1"},
        {"/php/UTstats/index.php/../../etc/passwd", nullptr},
        {"/Qev/UT3Query/ut3query.PHP?serverip=h", nullptr},
    };
    for (const auto& [target, status] : cases) {
        const PageRequest r = parseRequest(target);
        EXPECT_EQ(r.kind, status ? Kind::Status : Kind::NotFound) << target;
        if (status) {
            EXPECT_EQ(QStringList({r.host, r.port, r.webPort, QString::number(r.refresh)}).join('|'), status);
        }
    }
}

TEST(PageRequest, ReservedNamesAreNeverLookedUp)
{
    for (const char* name :
         {"us.ut-servers.example.net", "example.com", "x.example", "a.test", "b.invalid", "EXAMPLE.ORG"})
        EXPECT_TRUE(isReservedName(QString::fromLatin1(name))) << name;
    for (const char* name : {"ut.example-clan.net", "examples.com", "localhost", "10.0.0.1", "testing.org"})
        EXPECT_FALSE(isReservedName(QString::fromLatin1(name))) << name;
}

} // namespace
