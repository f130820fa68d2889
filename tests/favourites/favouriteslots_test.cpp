#include "favourites/favouriteslots.h"
#include "query/querytabs.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

using favourites::chosenSlot;

std::function<bool(const char*)> onlySet(const char* option)
{
    return [option](const char* o) { return option && QByteArray(o) == option; };
}

TEST(FavouriteSlots, OptionChoosesItsRow)
{
    struct Case {
        const favourites::SlotTable* table;
        const char* set;
        std::optional<int> row;
    };
    const Case cases[] = {
        {&favourites::kUt99Slots, "Option1(0)", 0},
        {&favourites::kUt99Slots, "Option1(5)", 5},
        {&favourites::kUt2004Slots, "serverOpt(1)", 1},
        {&favourites::kUt2004Slots, "serverOpt(2)", 2},
        {&favourites::kUt2004Slots, "serverOpt(5)", 5},
        // The top UT2004 row's button never chooses a slot.
        {&favourites::kUt2004Slots, "serverOpt(6)", std::nullopt},
        {&favourites::kUt3Slots, "serverFav(0)", 0},
        {&favourites::kUt3Slots, "serverFav(3)", 3},
        // A button of another game's tab chooses nothing here.
        {&favourites::kUt99Slots, "serverFav(0)", std::nullopt},
        {&favourites::kUt3Slots, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set ? c.set : "none");
        EXPECT_EQ(chosenSlot(*c.table, onlySet(c.set)), c.row);
    }
}

TEST(FavouriteSlots, EveryFieldAndOptionNameIsUnique)
{
    QSet<QByteArray> names;
    int count = 0;
    for (const auto* table : {&favourites::kUt99Slots, &favourites::kUt2004Slots, &favourites::kUt3Slots}) {
        for (const auto& slot : table->rows) {
            for (const char* field : slot.fields) {
                if (field) {
                    names.insert(field);
                    ++count;
                }
            }
            names.insert(slot.option);
            ++count;
        }
    }
    EXPECT_EQ(count, 6 * (5 + 4 + 5));
    EXPECT_EQ(names.size(), count);
}

TEST(FavouriteSlots, StatusPageTakesTheRightColumns)
{
    const auto fieldText = [](const char* name) { return QString::fromLatin1(name); };
    struct Case {
        const favourites::SlotTable* table;
        int row;
        ServerFields expected;
    };
    const Case cases[] = {
        // UT99 pages take the query port column, never the server port.
        {&favourites::kUt99Slots, 3, {"ServerIP4", "QueryPort4", ""}},
        {&favourites::kUt2004Slots, 4, {"ServerIp045", "ServerPort045", ""}},
        {&favourites::kUt3Slots, 0, {"UT3ServerIP", "UT3ServerPort", "Serverwport"}},
    };
    for (const Case& c : cases) {
        const ServerFields s = query::slotServer(*c.table, c.row, fieldText);
        EXPECT_EQ(s.host, c.expected.host);
        EXPECT_EQ(s.port, c.expected.port);
        EXPECT_EQ(s.secondPort, c.expected.secondPort);
    }
}

} // namespace
