#include "platform/urlopener.h"

#include <gtest/gtest.h>

TEST(UrlOpener, TheWindowsCommandLineQuotesTheWholeUrl)
{
    EXPECT_EQ(explorerCommandLine(QStringLiteral("http://uk.example.net:5080/ServerAdmin/settings/general")),
              QStringLiteral("explorer.exe \"http://uk.example.net:5080/ServerAdmin/settings/general\""));
}
