#include "app/linklabel.h"
#include "buildconfig.h"
#include "support/windowdriver.h"

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

// Only the exact password opens the panel; each wrong one plays the sound,
// brings the one alert forward and is kept for another try. Nothing brings
// "Admin Login" back.
TEST_F(AdminPanel, OnlyTheExactPasswordOpens)
{
    expectState(Locked);
    click("cmdA1");
    expectState(Entering);
    EXPECT_EQ(window->focusWidget(), field("txtPooPooPeePee"));
    QString otherCase = kPassword;
    const qsizetype letter = otherCase.indexOf(QRegularExpression(QStringLiteral("[A-Za-z]")));
    otherCase[letter] = otherCase[letter].isUpper() ? otherCase[letter].toLower() : otherCase[letter].toUpper();
    for (const QString& typed : {otherCase, kPassword + QLatin1Char(' '), kPassword.left(10)}) {
        SCOPED_TRACE(typed.toStdString());
        submit(typed);
        expectState(Entering);
        EXPECT_EQ(field("txtPooPooPeePee")->text(), typed);
    }
    EXPECT_EQ(platform.sounds.played.size(), 3);
    AlertDialog* alert = expectAlert("Alert", QStringLiteral("Invalid Password, Try Again!"), "HellNo.wav");
    ASSERT_TRUE(alert);
    QTest::mouseClick(alert->cmdOK, Qt::LeftButton);
    EXPECT_EQ(window->focusWidget(), field("txtPooPooPeePee"));

    submit(QStringLiteral("nope"));
    alert = window->openAlert("Alert");
    submit(kPassword); // logged in while the alert is still open
    expectState(Unlocked);
    EXPECT_EQ(platform.sounds.played.size(), 4);     // none for the right password
    QTest::mouseClick(alert->cmdOK, Qt::LeftButton); // OK after the field was hidden just closes
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window->openAlert("Alert"));
    emit get<QAbstractButton>("cmdA2")->clicked(); // hidden now: only a signal reaches its handler
    expectState(Unlocked);
}

TEST_F(AdminPanel, LinksOpenTheirUrlsInTheBrowser)
{
    const QString a = QStringLiteral(UTQ_PRESET_HOST_A), b = QStringLiteral(UTQ_PRESET_HOST_B);
    // Hidden link labels do nothing; the other two links work in any state.
    for (const char* hidden : {"lblA1", "lblA2", "lblA4"})
        emit get<LinkLabel>(hidden)->clicked();
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
