#pragma once

#include "core/presets.h"

#include <QString>

#include <array>
#include <vector>

// The preset lists of the three query tabs: choosing item i writes row i
// into the tab's fields, in field order. The clan's servers come first, then
// the "Custom" item's row: an empty host, and the game's usual ports where
// the tab keeps them.
namespace query {

enum class PresetField { Host, QueryPort, GamePort, WebPort };

struct PresetList {
    const char* combo;
    Game game;
    std::array<const char*, 3> fields; // nullptr where the tab has fewer
    std::array<PresetField, 3> roles;
    bool customKeepsPorts;
};

// Combo1 (UT99), Combo2 (UT3), Combo3 (UT2004).
inline constexpr std::array<PresetList, 3> kPresetLists{{
    {"Combo1",
     Game::UT99,
     {"txtNameOrIP", "txtText2", "txtText3"},
     {PresetField::Host, PresetField::QueryPort, PresetField::GamePort},
     false},
    {"Combo2",
     Game::UT3,
     {"ut3iptxt", "txtQueryPort", "txtServerWeb"},
     {PresetField::Host, PresetField::QueryPort, PresetField::WebPort},
     true},
    {"Combo3",
     Game::UT2004,
     {"txt04Server", "txt04port", nullptr},
     {PresetField::Host, PresetField::GamePort, PresetField::Host},
     true},
}};

// The field texts of each item, in the list's order.
std::vector<std::array<QString, 3>> presetRows(const PresetList& list);

} // namespace query
