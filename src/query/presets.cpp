#include "presets.h"

#include "buildconfig.h"

namespace query {

const PresetList& ut99Presets()
{
    static const PresetList list{
        "Combo1",
        {"txtNameOrIP", "txtText2", "txtText3"},
        {{UTQ_PRESET_HOST_A, "7778", "7777"}, {UTQ_PRESET_HOST_B, "7778", "7777"}, {"", "", ""}}};
    return list;
}

const PresetList& ut3Presets()
{
    static const PresetList list{
        "Combo2", {"ut3iptxt", "txtQueryPort", "txtServerWeb"}, {{UTQ_PRESET_HOST_B, "6500", "0"}, {"", "6500", "0"}}};
    return list;
}

const PresetList& ut2004Presets()
{
    // The clan's UT2004 server is gone; its preset says so in the host field.
    static const PresetList list{
        "Combo3", {"txt04Server", "txt04port", nullptr}, {{"Server Closed", "7777"}, {"", "7777"}}};
    return list;
}

} // namespace query
