#include "fakeservers/fakegameserver.h"
#include "gamequery/ut2004protocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace gamequery;

TEST(Ut2004Protocol, CompactIndexesBothWays)
{
    const std::pair<std::int32_t, QByteArray> cases[] = {
        {0, QByteArray(1, '\0')}, {1, "\x01"},      {63, "\x3F"},
        {64, "\x40\x01"},         {71, "\x47\x01"}, {-70, "\xC6\x01"},
        {200, "\x48\x03"},        {-1, "\x81"},     {INT32_MAX, "\x7F\xFF\xFF\xFF\x0F"},
    };
    for (const auto& [value, bytes] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(ut2004::compactIndex(value), bytes);
        ut2004::Reader in(bytes);
        EXPECT_EQ(in.index(), value);
        EXPECT_TRUE(in.atEnd());
    }
    const QByteArray tooLong("\x7F\xFF\xFF\xFF\xFF\x01", 6); // a sixth byte: no such index
    EXPECT_EQ(ut2004::Reader(tooLong).index(), std::nullopt);
    EXPECT_EQ(ut2004::Reader(QByteArray("\x41\x80\x80\x80\x80\x00", 6)).index(), std::nullopt); // 1, in six
    EXPECT_EQ(ut2004::Reader(QByteArray("\x40", 1)).index(), std::nullopt); // "more" with nothing after
}

TEST(Ut2004Protocol, StringsLatinUcs2AndColours)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        std::optional<QString> plain;
    };
    const Case cases[] = {
        {"empty", QByteArray(1, '\0'), QString()},
        {"latin-1", QByteArray("\x05") + "Caf\xE9" + '\0', QStringLiteral("Café")},
        {"ucs-2", QByteArray("\x83") + QByteArray("\x1F\x04\x40\x04\0\0", 6), QStringLiteral("Пр")},
        {"length past the end", QByteArray("\x10") + "abc", std::nullopt},
        {"ucs-2 past the end", QByteArray("\x85") + "ab", std::nullopt},
        {"huge negative", QByteArray("\xFF\xFF\xFF\xFF\x07", 5), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ut2004::Reader in(c.bytes);
        const auto text = in.string();
        EXPECT_EQ(text.has_value(), c.plain.has_value());
        if (text && c.plain) {
            EXPECT_EQ(text->plain(), *c.plain);
        }
    }
    const RichText coloured = ut2004::colouredText(QString(QChar(0x1B)) + QChar(0xFF) + QChar(1) + QChar(1) + "Red" +
                                                   QChar(0x1B) + QChar(1) + QChar(0x80) + QChar(0xFF) + "Sky");
    ASSERT_EQ(coloured.runs.size(), 2u);
    EXPECT_EQ(coloured.runs[0].colour, (Colour{255, 0, 0}));
    EXPECT_EQ(coloured.runs[1].colour, (Colour{0, 128, 255}));
    EXPECT_EQ(coloured.plain(), QStringLiteral("RedSky"));
    // A code cut short at the end is dropped, not shown.
    EXPECT_EQ(ut2004::colouredText(QStringLiteral("ab") + QChar(0x1B) + QChar(5)).plain(), QStringLiteral("ab"));
}

fakeservers::Scenario busyServer()
{
    fakeservers::Scenario s;
    s.protocol = fakeservers::Protocol::Ut2004Binary;
    s.name = QString(QChar(0x1B)) + QChar(0xFF) + QChar(1) + QChar(1) + QStringLiteral("Red Server");
    for (int i = 0; i < 24; ++i)
        s.players.push_back({QStringLiteral("Игрок %1").arg(i), i * 3 - 10, 20 + i, i % 2});
    for (int i = 0; i < 30; ++i)
        s.rules.emplace_back(QStringLiteral("Mutator"), QStringLiteral("Mutator number %1").arg(i));
    s.password = true;
    return s;
}

TEST(Ut2004Protocol, ContinuationPacketsMergeInAnyOrder)
{
    const fakeservers::Scenario s = busyServer();
    QList<QByteArray> packets = fakeservers::ut2004Reply(s, ut2004::request(ut2004::Info));
    packets += fakeservers::ut2004Reply(s, ut2004::request(ut2004::RulesAndPlayers));
    ASSERT_GT(packets.size(), 4); // split past 450 bytes
    for (const QByteArray& p : packets)
        EXPECT_LE(p.size(), 450 + 64);
    QList<QByteArray> reversed = packets;
    std::reverse(reversed.begin(), reversed.end());
    for (const QList<QByteArray>& order : {packets, reversed}) {
        ut2004::Reply reply;
        for (const QByteArray& p : order)
            EXPECT_TRUE(reply.add(p));
        reply.add(packets.last()); // a repeated packet changes nothing
        EXPECT_TRUE(reply.complete());
        const ServerStatus st = reply.status();
        EXPECT_FALSE(st.partial);
        EXPECT_EQ(st.name.plain(), QStringLiteral("Red Server"));
        EXPECT_EQ(st.name.runs.front().colour, (Colour{255, 0, 0}));
        ASSERT_EQ(st.players.size(), 24u);
        EXPECT_EQ(st.players[3].name.plain(), QStringLiteral("Игрок 3"));
        EXPECT_EQ(st.players[3].score, -1);
        EXPECT_EQ(st.players[3].team, 1);
        EXPECT_EQ(st.players[4].team, 0);
        EXPECT_EQ(st.rules.size(), 31u); // 30 mutators and the password
        EXPECT_EQ(st.password, true);
    }
}

TEST(Ut2004Protocol, InfoWithoutPlayersIsPartial)
{
    const fakeservers::Scenario s = busyServer();
    ut2004::Reply reply;
    for (const QByteArray& p : fakeservers::ut2004Reply(s, ut2004::request(ut2004::Info)))
        reply.add(p);
    EXPECT_FALSE(reply.complete());
    EXPECT_TRUE(reply.status().partial);
    EXPECT_EQ(reply.status().playerCount, 24);

    fakeservers::Scenario empty = s;
    empty.players.clear();
    empty.password = false;
    ut2004::Reply quiet;
    for (const auto command : {ut2004::Info, ut2004::RulesAndPlayers})
        for (const QByteArray& p : fakeservers::ut2004Reply(empty, ut2004::request(command)))
            quiet.add(p);
    EXPECT_TRUE(quiet.complete());             // no players: no player packets, and that is all
    EXPECT_EQ(quiet.status().password, false); // rules without GamePassword: none is set
}

TEST(Ut2004Protocol, HostileBytesGiveNoCrashAndNoInvention)
{
    const fakeservers::Scenario s = busyServer();
    const QByteArray info = fakeservers::ut2004Reply(s, ut2004::request(ut2004::Info)).front();
    for (qsizetype size = 0; size < info.size(); ++size) {
        ut2004::Reply reply;
        reply.add(info.left(size));
        if (size < 40) {
            EXPECT_FALSE(reply.hasInfo()) << size;
        }
    }
    QByteArray players = QByteArray("\x80\0\0\0\x02", 5) + QByteArray("\1\0\0\0", 4) + "\xFF\xFF\xFF\xFF\x07";
    ut2004::Reply reply;
    EXPECT_FALSE(reply.add(players));
    EXPECT_FALSE(reply.add(QByteArray("\x80\0\0\0\x09", 5)));
}

} // namespace
