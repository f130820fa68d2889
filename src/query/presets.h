#pragma once

#include <QString>

#include <array>
#include <vector>

// The preset servers of the three query tabs' lists: choosing item i writes
// rows[i] into the fields, in field order.
namespace query {

struct PresetList {
    const char* combo;
    std::array<const char*, 3> fields; // nullptr where the tab has fewer
    std::vector<std::array<QString, 3>> rows;
};

// Combo1 (UT99), Combo2 (UT3), Combo3 (UT2004).
const PresetList& ut99Presets();
const PresetList& ut3Presets();
const PresetList& ut2004Presets();

} // namespace query
