#include "app/alertdialog.h"
#include "support/windowdriver.h"

#include <QPushButton>

namespace {

class Alerts : public WindowTest {};

TEST(AlertPlacement, AThirdAcrossAndHeightOver2Point5Down)
{
    const std::pair<QRect, QPoint> cases[] = {
        {QRect(0, 0, 829, 609), QPoint(276, 244)},
        {QRect(100, 50, 900, 700), QPoint(400, 330)},
        {QRect(-30, 10, 10, 5), QPoint(-27, 12)},
    };
    for (const auto& [frame, expected] : cases)
        EXPECT_EQ(alertPlacement(frame), expected);
}

TEST_F(Alerts, OpenBorderlessAndWithoutBlockingOverTheMainWindow)
{
    AlertDialog* alert = window->showAlert("Alert");
    AlertDialog* alert2 = window->showAlert("Alert2");
    EXPECT_TRUE(alert->isVisible());
    EXPECT_TRUE(alert2->isVisible()); // both at once
    EXPECT_FALSE(alert->isModal());
    EXPECT_TRUE(alert->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(alert->pos(), alertPlacement(window->frameGeometry()));
    EXPECT_EQ(alert2->lblAlert->text(), QStringLiteral("Invalid Password, Try Again!"));
    EXPECT_TRUE(alert->cmdOK2->isHidden() && alert2->cmdOK->isHidden()); // each its own OK
    EXPECT_NE(alert->width(), alert2->width());                          // 4110 and 4125 twips
}

TEST_F(Alerts, EnterAndEscapeAnswerOk)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        for (const char* name : {"Alert", "Alert2"}) {
            SCOPED_TRACE(name);
            AlertDialog* dialog = window->showAlert(name);
            QTest::keyClick(dialog->cmdOK->isHidden() ? dialog->cmdOK2 : dialog->cmdOK, key); // OK has the focus
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_FALSE(window->openAlert(name)) << key;
        }
    }
    AlertDialog* dialog = window->showAlert("Alert");
    QTest::keyClick(dialog->lblAlert, Qt::Key_A); // other keys do nothing
    EXPECT_TRUE(window->openAlert("Alert"));
}

} // namespace
