#include "support/windowdriver.h"

namespace {

class Launch : public WindowTest {};

// "Launch Game" hands the pane unreal://HOST:PORT with the game port, never
// the query port, the texts as typed; it blanks the tab's ping display and
// leaves a running query alone.
TEST_F(Launch, TheGameAddressUsesTheGamePortNeverTheQueryPort)
{
    story({"type ServerIP 10.0.0.1", "click cmdLaunchGame2", "see WebBrowser2 unreal://:"}); // no UT99 favourite chosen
    story({"type txtNameOrIP 10.0.0.1", "type txtText3 7777", "type txtText2 7778", "type txtText4(0) x",
           "type txtText4(1) x", "type txtText4(3) x", "click cmdBeginQuery", "tick Timer1 1", "click cmdLaunchGame"});
    story({"see WebBrowser1 unreal://10.0.0.1:7777", "see txtText4(0) ", "see txtText4(1) ", "see lblStatus ",
           "see txtText4(3) x", "see Timer1 on", "see pg 10"});
    story({"type txtNameOrIP  My Host ", "type txtText3 77x", "click cmdLaunchGame",
           "see WebBrowser1 unreal://10.0.0.1:7777 | unreal:// My Host :77x"});
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
    story({"see txtText4(3) ", "see Timer3 off"});
}

} // namespace
