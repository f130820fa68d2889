#pragma once

#include "favouriteslots.h"

#include <array>

// The three favourites tabs' "Save Changes" controls. They save alike and differ
// only in these names, the game's slots (and so its file) and the dialog that
// confirms the save.
namespace favourites {

enum SaveTabId { Ut99Save, Ut2004Save, Ut3Save, SaveTabCount };

struct SaveTab {
    const SlotTable* table;
    const char* button;
    const char* timer;
    const char* bar;
    const char* dialog; // "Alert" or "Alert2"
};

inline constexpr std::array<SaveTab, SaveTabCount> kSaveTabs{{
    {&kUt99Slots, "cmdSaveChanges", "Timer2", "pg2", "Alert"},
    {&kUt2004Slots, "cmdSaveChanges04f", "Timer042", "pg04f2", "Alert2"},
    {&kUt3Slots, "cmdSaveChangesut3", "Timerut3s", "pg3ut3s", "Alert2"},
}};

} // namespace favourites
