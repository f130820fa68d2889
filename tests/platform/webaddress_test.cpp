#include "platform/webaddress.h"

#include <gtest/gtest.h>

TEST(WebAddress, OnlyHttpAndHttpsLoadInThePane)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://h/php/UTstats/index.php?txtip=&portnum=", true},
        {"HTTPS://h/", true},
        {"unreal://10.0.0.1:7777", false},
        {"unreal://:", false},
        {"mailto:someone@example.org", false},
        {"", false},
        {"httpx://h", false},
        {"http", false},
    };
    for (const auto& [address, web] : cases) {
        SCOPED_TRACE(address);
        EXPECT_EQ(isWebAddress(QString::fromLatin1(address)), web);
    }
}
