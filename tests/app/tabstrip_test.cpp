#include "app/tabstrip.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TabStrip, ClickOnAHeaderShowsOnlyThatPage)
{
    QWidget window;
    const QStringList captions{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    TabStrip strip(&window, captions, 3, 20, 600);
    strip.setGeometry(0, 0, 640, 480);
    window.resize(640, 480);
    window.show();
    QSignalSpy changed(&strip, &TabStrip::currentChanged);

    struct Click {
        int tab;
        QPoint at;
    };
    // Row 2, column 1 is tab 7; row 0, column 0 is tab 0.
    const Click clicks[] = {{7, {300, 50}}, {0, {10, 5}}, {5, {590, 30}}};
    for (const Click& c : clicks) {
        ASSERT_TRUE(strip.tabRect(c.tab).contains(c.at));
        QWidget* header = strip.childAt(c.at);
        ASSERT_TRUE(header);
        QTest::mouseClick(header, Qt::LeftButton, {}, header->mapFrom(&strip, c.at));
        EXPECT_EQ(strip.currentIndex(), c.tab);
        for (int i = 0; i < strip.count(); ++i)
            EXPECT_EQ(strip.page(i)->isVisible(), i == c.tab) << i;
    }
    EXPECT_EQ(changed.count(), 3);
}

TEST(TabStrip, ControlTabAndControlPageKeysStepThroughTheTabs)
{
    QWidget window;
    TabStrip strip(&window, {"a", "b", "c"}, 3, 20, 600);
    strip.setGeometry(0, 0, 640, 480);
    auto* field = new QLineEdit(strip.page(0)); // keys reach the window through whatever has the focus
    window.resize(640, 480);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int tab;
    };
    const Press presses[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1},
        {Qt::Key_PageDown, Qt::ControlModifier, 2},
        {Qt::Key_Tab, Qt::ControlModifier, 0}, // round to the first
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
        {Qt::Key_PageUp, Qt::ControlModifier, 1},
    };
    for (const Press& p : presses) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, p.key, p.modifiers);
        EXPECT_EQ(strip.currentIndex(), p.tab);
    }
}

} // namespace
