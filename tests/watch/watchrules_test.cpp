// When a watched server is news.

#include "watch/watchrules.h"

#include <gtest/gtest.h>

namespace {

using gamequery::Player;
using gamequery::RichText;
using gamequery::ServerStatus;

constexpr qint64 kMinute = 60 * 1000;

ServerStatus playing(std::vector<Player> players)
{
    ServerStatus s;
    s.players = std::move(players);
    s.playerCount = static_cast<int>(s.players.size());
    return s;
}

Player player(const QString& name, int ping = 50) { return {RichText::fromPlain(name), 0, ping, std::nullopt}; }

// What a server's answers make news, minute by minute: "filled", friends' names, or "-".
QStringList news(watch::WatchRules& rules, const std::vector<std::pair<qint64, ServerStatus>>& answers,
                 const QStringList& friends)
{
    QStringList said;
    for (const auto& [at, status] : answers) {
        const auto sighting = rules.answer(QStringLiteral("ut99 10.0.0.1:7778"), &status, friends, true, at);
        said << (!sighting ? QStringLiteral("-")
                           : ((sighting->filled ? QStringList{"filled"} : QStringList{}) + sighting->friends)
                                 .join(QLatin1Char('+')));
    }
    return said;
}

TEST(WatchRules, NewsOnceWhileItHoldsAgainAfterAQuietMinute)
{
    watch::WatchRules rules;
    const ServerStatus bots = playing({player("Bot", 0)});
    const ServerStatus jäger = playing({player("Bot", 0), player("jÄGER")}); // a friend in another letter case
    RichText coloured;
    coloured.runs = {{gamequery::Colour{255, 0, 0}, QStringLiteral("Zo")}, {std::nullopt, QStringLiteral("ë")}};
    const ServerStatus zoe = playing({Player{coloured, 0, 40, 0}, player("Zoë the Second")});
    EXPECT_EQ(news(rules,
                   {{0, bots},                // bots are nobody
                    {kMinute, jäger},         // one answer, two conditions, one piece of news
                    {2 * kMinute, jäger},     // still so: nothing new
                    {3 * kMinute, bots},      // gone...
                    {3 * kMinute + 1, jäger}, // ...for less than a minute: nothing new
                    {4 * kMinute + 1, bots},
                    {5 * kMinute + 1, zoe}, // gone a whole minute: news again, and Zoë by her whole name
                    {5 * kMinute + 2, jäger}},
                   {"Jäger", "Zoë"}),
              (QStringList{"-", "filled+Jäger", "-", "-", "-", "-", "filled+Zoë", "-"}));
    // What holds at the first answer is news; a server is news at most once a minute.
    EXPECT_EQ(news(rules, {{kMinute, zoe}}, {}), QStringList{"-"}); // the same server, a minute not past
    watch::WatchRules fresh;
    EXPECT_EQ(news(fresh, {{0, zoe}, {1, jäger}, {kMinute, jäger}}, {"Jäger"}), (QStringList{"filled", "-", "Jäger"}));
}

} // namespace
