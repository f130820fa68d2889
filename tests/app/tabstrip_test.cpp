#include "app/tabstrip.h"

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

} // namespace
