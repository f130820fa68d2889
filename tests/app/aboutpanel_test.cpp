#include "app/adminpassword.h"
#include "app/alertdialog.h"
#include "buildconfig.h"
#include "support/windowdriver.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QString kPassword = QStringLiteral(ADMIN_PASSWORD_FOR_TEST);

class AdminPanel : public WindowTest {
public:
    enum State { Locked, Entering, Unlocked };
    // Which of the panel's controls are shown, against the state's row.
    void expectState(State state)
    {
        const std::pair<const char*, std::array<bool, 3>> shown[] = {
            {"cmdA1", {true, false, false}}, {"lblA3", {true, true, false}},  {"txtPooPooPeePee", {false, true, false}},
            {"cmdA2", {false, true, false}}, {"lblA1", {false, false, true}}, {"lblA2", {false, false, true}},
            {"lblA4", {false, false, true}},
        };
        for (const auto& [name, row] : shown)
            EXPECT_EQ(!get(name)->isHidden(), row[state]) << name << " in state " << state;
    }
    void submit(const QString& typed)
    {
        field("txtPooPooPeePee")->setText(typed);
        click("cmdA2");
    }
};

TEST_F(AdminPanel, LockedEnteringUnlocked)
{
    expectState(Locked);
    click("cmdA1");
    expectState(Entering);
    EXPECT_EQ(window->focusWidget(), field("txtPooPooPeePee"));
    EXPECT_EQ(get("cmdA2")->geometry(), get("cmdA1")->geometry());
    submit(kPassword);
    expectState(Unlocked);
    EXPECT_TRUE(platform.sounds.played.isEmpty());
    EXPECT_FALSE(window->openAlert("Alert"));
    // Nothing brings "Admin Login" back.
    window->cmdA2_Click();
    expectState(Unlocked);
}

TEST_F(AdminPanel, OnlyTheExactPasswordOpens)
{
    QString otherCase = kPassword;
    const qsizetype letter = otherCase.indexOf(QRegularExpression(QStringLiteral("[A-Za-z]")));
    ASSERT_GE(letter, 0);
    otherCase[letter] = otherCase[letter].isUpper() ? otherCase[letter].toLower() : otherCase[letter].toUpper();
    const QString wrong[] = {otherCase, kPassword + QLatin1Char(' '), kPassword.left(10)};
    EXPECT_TRUE(isAdminPassword(kPassword));
    click("cmdA1");
    for (const QString& typed : wrong) {
        SCOPED_TRACE(typed.toStdString());
        EXPECT_FALSE(isAdminPassword(typed));
        submit(typed);
        expectState(Entering);
        EXPECT_EQ(field("txtPooPooPeePee")->text(), typed); // kept for another try
    }
    // Each attempt played the sound and brought the one alert to the front.
    EXPECT_EQ(platform.sounds.played.size(), 3);
    EXPECT_EQ(platform.sounds.played.last(), platform.directory + QStringLiteral("/HellNo.wav"));
    AlertDialog* alert = window->openAlert("Alert");
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->lblAlert->text(), QStringLiteral("Invalid Password, Try Again!"));
    QTest::mouseClick(alert->cmdOK, Qt::LeftButton);
    EXPECT_EQ(window->focusWidget(), field("txtPooPooPeePee"));
}

TEST_F(AdminPanel, OkAfterTheFieldWasHiddenJustCloses)
{
    click("cmdA1");
    submit(QStringLiteral("nope"));
    AlertDialog* alert = window->openAlert("Alert");
    ASSERT_TRUE(alert);
    submit(kPassword); // logged in while the alert is still open
    QTest::mouseClick(alert->cmdOK, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window->openAlert("Alert"));
    expectState(Unlocked);
}

TEST_F(AdminPanel, LinksOpenTheirUrlsInTheBrowser)
{
    const QString a = QStringLiteral(UTQ_PRESET_HOST_A), b = QStringLiteral(UTQ_PRESET_HOST_B);
    // Hidden link labels do nothing; the other two links work in any state.
    window->lblA1_Click();
    window->lblA2_Click();
    window->lblA4_Click();
    EXPECT_TRUE(platform.browser.opened.isEmpty());
    click("cmdAdminUT3");
    window->tabStrip()->setCurrentIndex(2);
    QTest::mouseClick(get("lblQev"), Qt::LeftButton);
    EXPECT_EQ(platform.browser.opened,
              (QStringList{"http://" + b + ":5080/ServerAdmin/settings/general", "http://" UTQ_MAKER_WEB_HOST}));

    click("cmdA1");
    submit(kPassword);
    platform.browser.opened.clear();
    for (const char* label : {"lblA1", "lblA2", "lblA4"})
        QTest::mouseClick(get(label), Qt::LeftButton);
    EXPECT_EQ(platform.browser.opened,
              (QStringList{"http://" + a + "/cgi-bin/wwwpman/index.pl", "http://" + a + ":8884/ServerAdmin/",
                           "http://" + b + ":8884/ServerAdmin/"}));
}

} // namespace
