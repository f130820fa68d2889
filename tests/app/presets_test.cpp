#include "buildconfig.h"
#include "support/windowdriver.h"

#include <QComboBox>

namespace {

class Presets : public WindowTest {
public:
    // Chooses item index from the list, as a click on it in the drop-down does.
    void choose(const char* combo, int index)
    {
        auto* list = get<QComboBox>(combo);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    QStringList texts(std::initializer_list<const char*> names)
    {
        QStringList all;
        for (const char* name : names)
            all << field(name)->text();
        return all;
    }
};

TEST_F(Presets, EveryItemWritesItsRow)
{
    struct Case {
        const char* combo;
        int index;
        std::initializer_list<const char*> fields;
        QStringList expected;
    };
    const QString a = QStringLiteral(UTQ_PRESET_HOST_A), b = QStringLiteral(UTQ_PRESET_HOST_B);
    const Case cases[] = {
        {"Combo1", 0, {"txtNameOrIP", "txtText2", "txtText3"}, {a, "7778", "7777"}},
        {"Combo1", 1, {"txtNameOrIP", "txtText2", "txtText3"}, {b, "7778", "7777"}},
        {"Combo1", 2, {"txtNameOrIP", "txtText2", "txtText3"}, {"", "", ""}},
        {"Combo2", 0, {"ut3iptxt", "txtQueryPort", "txtServerWeb"}, {b, "6500", "0"}},
        {"Combo2", 1, {"ut3iptxt", "txtQueryPort", "txtServerWeb"}, {"", "6500", "0"}},
        {"Combo3", 0, {"txt04Server", "txt04port"}, {"Server Closed", "7777"}},
        {"Combo3", 1, {"txt04Server", "txt04port"}, {"", "7777"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.combo) + " " + std::to_string(c.index));
        SetUp();
        for (const char* name : c.fields)
            field(name)->setText(QStringLiteral("edited"));
        choose(c.combo, c.index);
        EXPECT_EQ(texts(c.fields), c.expected);
        // Choosing the same item again writes the texts again over any edits.
        for (const char* name : c.fields)
            field(name)->setText(QStringLiteral("edited again"));
        choose(c.combo, c.index);
        EXPECT_EQ(texts(c.fields), c.expected);
    }
}

TEST_F(Presets, TypingIntoTheListsTextChangesNoField)
{
    auto* combo = get<QComboBox>("Combo1");
    window->tabStrip()->setCurrentIndex(0);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Custom"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Custom"));
    EXPECT_EQ(field("txtText2")->text(), QStringLiteral("7778"));
    EXPECT_EQ(field("txtNameOrIP")->text(), QStringLiteral(UTQ_PRESET_HOST_A));
}

} // namespace
