#include "favourites/favouriteslots.h"

#include <gtest/gtest.h>

namespace {

using namespace favourites;

// Each option button chooses its own row and no other, in every game; the
// top UT2004 row's button never chooses one, nor does another game's button.
TEST(FavouriteSlots, EveryOptionChoosesItsOwnRow)
{
    for (const SlotTable* table : {&kUt99Slots, &kUt2004Slots, &kUt3Slots}) {
        for (const SlotTable* other : {&kUt99Slots, &kUt2004Slots, &kUt3Slots}) {
            for (std::size_t row = 0; row < other->rows.size(); ++row) {
                const char* option = other->rows[row].option;
                const bool top2004 = other == &kUt2004Slots && row == 0;
                EXPECT_EQ(chosenSlot(*table, [option](const char* o) { return qstrcmp(o, option) == 0; }),
                          table == other && !top2004 ? std::optional<int>(static_cast<int>(row)) : std::nullopt)
                    << option;
            }
        }
        EXPECT_EQ(chosenSlot(*table, [](const char*) { return false; }), std::nullopt);
    }
}

} // namespace
