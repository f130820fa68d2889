#include "support/windowdriver.h"

#include <QLabel>
#include <QRadioButton>

namespace {

class Launch : public WindowTest {};

TEST_F(Launch, TheGameAddressUsesTheGamePortNeverTheQueryPort)
{
    field("ServerIP")->setText(QStringLiteral("10.0.0.1")); // no UT99 favourite chosen: the UT3 slot 1 is
    click("cmdLaunchGame2");
    EXPECT_EQ(pane("WebBrowser2")->navigations, QStringList{"unreal://:"});
    field("txtNameOrIP")->setText(QStringLiteral("10.0.0.1"));
    field("txtText3")->setText(QStringLiteral("7777"));
    field("txtText2")->setText(QStringLiteral("7778"));
    click("cmdLaunchGame");
    EXPECT_EQ(pane("WebBrowser1")->navigations, QStringList{"unreal://10.0.0.1:7777"});
    field("txtNameOrIP")->setText(QStringLiteral(" My Host "));
    field("txtText3")->setText(QStringLiteral("77x"));
    click("cmdLaunchGame");
    EXPECT_EQ(pane("WebBrowser1")->navigations.last(), QStringLiteral("unreal:// My Host :77x")); // as typed

    for (int slot = 0; slot < 6; ++slot) {
        SCOPED_TRACE(slot);
        const QString suffix = slot == 0 ? QString() : QString::number(slot + 1);
        field(("ServerIP" + suffix).toLatin1())->setText(QStringLiteral("host%1").arg(slot));
        field(("ServerPort" + suffix).toLatin1())->setText(QStringLiteral("77%1").arg(slot));
        field(("QueryPort" + suffix).toLatin1())->setText(QStringLiteral("wrong"));
        get<QRadioButton>(QStringLiteral("Option1(%1)").arg(slot).toLatin1())->setChecked(true);
        click("cmdLaunchGame2");
        EXPECT_EQ(pane("WebBrowser2")->navigations.last(), QStringLiteral("unreal://host%1:77%1").arg(slot));
    }
}

TEST_F(Launch, BlanksThePingDisplayAndLeavesTheRunsAlone)
{
    for (const char* name : {"txtText4(0)", "txtText4(1)", "txtText4(3)", "txtText4(2)"})
        field(name)->setText(QStringLiteral("x"));
    get<QLabel>("lblStatus")->setText(QStringLiteral("0"));
    click("cmdBeginQuery");
    timer("Timer1")->fire();
    click("cmdLaunchGame");
    EXPECT_EQ(field("txtText4(0)")->text(), QString());
    EXPECT_EQ(field("txtText4(1)")->text(), QString());
    EXPECT_EQ(get<QLabel>("lblStatus")->text(), QString());
    EXPECT_EQ(field("txtText4(3)")->text(), QStringLiteral("x")); // the other tab's display stays
    EXPECT_TRUE(timer("Timer1")->isEnabled());
    EXPECT_EQ(bar("pg")->value(), 10);
    EXPECT_EQ(pane("WebBrowser1")->navigations.size(), 1); // the launch, no page load
    click("cmdLaunchGame2");
    EXPECT_EQ(field("txtText4(3)")->text(), QString());
    EXPECT_FALSE(timer("Timer3")->isEnabled());
}

} // namespace
