#include "core/hostport.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

TEST(HostPort, OnlyRealHostsAndPortsAreAskedAsWrittenPlainly)
{
    // The host as it is asked, shown and shared; nullptr where nothing is asked.
    const std::tuple<QString, const char*, const char*> cases[] = {
        {"10.0.0.1", "7778", "10.0.0.1"},
        {"Game.Clan-Server.NET.", "1", "game.clan-server.net"},
        {"::1", "65535", "::1"},
        {"::FFFF:10.0.0.1", "7777", "::ffff:10.0.0.1"},
        {" 10.0.0.1 ", " 7777", "10.0.0.1"},
        {"Server IP", "Server Port", nullptr},
        {"10.0.0.1", "0", nullptr},
        {"10.0.0.1", "65536", nullptr},
        {"10.0.0.1", "07777", nullptr},
        {QString::fromUtf8("127.0.0.1\0@evil.clan-server.net/x?", 35), "7778", nullptr},
        {"127.0.0.1@evil.clan-server.net", "7778", nullptr},
        {"<script>", "7777", nullptr},
        {"a..b", "7777", nullptr},
        {QString(300, QLatin1Char('a')), "1", nullptr},
    };
    for (const auto& [host, port, asked] : cases) {
        SCOPED_TRACE(host.toStdString() + ":" + port);
        const auto endpoint = usableEndpoint(host, QString::fromUtf8(port));
        ASSERT_EQ(endpoint.has_value(), asked != nullptr);
        if (endpoint) {
            EXPECT_EQ(endpoint->host, QLatin1String(asked));
        }
    }
}

TEST(HostPort, TypedAddressesSplitIntoHostAndPort)
{
    const std::pair<const char*, const char*> cases[] = {
        {"h:7777", "h|7777"}, {"[::1]", "::1|0"}, {"[::1]:6500", "::1|6500"}, {"::1", "::1|0"},     {"[::1", nullptr},
        {"[::1]x", nullptr},  {"[]:1", nullptr},  {"h:0", nullptr},           {"h:65536", nullptr},
    };
    for (const auto& [text, split] : cases) {
        const auto parsed = parseHostPort(QLatin1String(text));
        EXPECT_EQ(parsed ? QStringLiteral("%1|%2").arg(parsed->host).arg(parsed->port) : QString(),
                  split ? QLatin1String(split) : QString())
            << text;
    }
}

} // namespace
