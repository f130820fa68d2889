#include "buildconfig.h"
#include "support/windowdriver.h"

namespace {

#define A UTQ_PRESET_HOST_A
#define B UTQ_PRESET_HOST_B

class Presets : public WindowTest {};

// Each preset writes its row over any edits, again when chosen again, and
// only into its own tab; typing into the list's text writes nothing.
TEST_F(Presets, EveryItemWritesItsRow)
{
    stories({
        {"type txtNameOrIP x", "type txtText3 x", "pick Combo1 0", "see txtNameOrIP " A, "see txtText2 7778",
         "see txtText3 7777", "type txtNameOrIP x", "pick Combo1 0", "see txtNameOrIP " A},
        {"pick Combo1 1", "see txtNameOrIP " B, "see txtText2 7778", "see txtText3 7777"},
        {"pick Combo1 2", "see txtNameOrIP ", "see txtText2 ", "see txtText3 "},
        {"type txt04Server x", "pick Combo2 0", "see ut3iptxt " B, "see txtQueryPort 6500", "see txtServerWeb 0",
         "see txt04Server x", "see txtNameOrIP " A},
        {"pick Combo2 1", "see ut3iptxt ", "see txtQueryPort 6500", "see txtServerWeb 0"},
        {"pick Combo3 0", "see txt04Server Server Closed", "see txt04port 7777"},
        {"type txt04Server x", "pick Combo3 1", "see txt04Server ", "see txt04port 7777"},
    });
    auto* combo = get<QComboBox>("Combo1");
    window->tabStrip()->setCurrentIndex(0);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Custom"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    story({"see Combo1 Custom", "see txtText2 7778", "see txtNameOrIP " A});
}

} // namespace
