#include "helptexts.h"

#include "buildconfig.h"

#include <QStringList>

namespace helptexts {

namespace {

const QString kMakersSite = QStringLiteral("http://" UTQ_MAKER_WEB_HOST);
const QString kAuthor = QStringLiteral("Kestrun - " UTQ_AUTHOR_EMAIL);

// Paragraphs the UT2004 and UT3 texts share, as wide lines.
const QStringList kTroubleshooting = {
    "Troubleshooting:",
    "",
    "If this program is not working then my server is offline. If one of the perset UT server ip's are not ",
    "working then that server is either down, or that ip is no longer valid.",
};
const QStringList kFavourites = {
    "Favorites:",
    "",
    "This is a new feature that will allow you to input your own servers and save them for later use. ",
    "Simply edit whatever is there and click on \"Save Changes\" Next time you return to your favorites ",
    "you will see the servers you added.",
};

QString joined(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

} // namespace

QString ut99()
{
    return joined({
        "Troubleshooting:",
        "",
        "If this program is not working then my server is offline. If one of the perset ",
        "UT server ip's are not working then that server is either down, or that ip is ",
        "no longer valid. If you can't launch the game from this program download and ",
        "install this http://" UTQ_PRESET_HOST_A "/Qev/downloads/UT99-ProtocolFix.zip",
        "",
        "ATTENTION SERVER ADMINS: This program has the ability to display team ",
        "scores.If you want the query to keep track of team scores you will need ",
        "to edit your UnrealTournament.ini file. ",
        "",
        "Find",
        "[IpServer.UdpServerQuery] ",
        "bTeamInfo=False  ",
        "",
        "Change to",
        "bTeamInfo=True",
        "",
        "",
        "Help:",
        "",
        "If your having trouble finding the correct query port in most cases",
        "just add 1 to the query port. Example: server port 7777 would be 7778 ",
        "for the query port. If your still having trouble contact the server ",
        "admin as they can set the port to anything! You can refresh the query ",
        "by right clicking in the query window then clicking on refresh, or by ",
        "clicking the refresh link in the query window.",
        "",
        "",
        "Favorites:",
        "",
        "This is a new feature that will allow you to input your own servers and save ",
        "them for later use. Simply edit whatever is there and click on \"Save Changes\" ",
        "Next time you return to your favorites you will see the servers you added.",
        "",
        "",
        "Contact:",
        "",
        kAuthor,
        "",
        "",
        "Credits:",
        "",
        UTQ_VB_CODE_CREDIT " - vb code",
        UTQ_PHP_CODE_CREDIT " - php code",
        "",
        "{Qev} WebSite:",
        "",
        kMakersSite,
    });
}

QString ut2004()
{
    return joined(QStringList{
                      "Unreal Tournament 2004 Server Query v{Qev}1.3 by: Kestrun",
                      "",
                  } +
                  kTroubleshooting +
                  QStringList{
                      "",
                      "",
                  } +
                  kFavourites +
                  QStringList{
                      "",
                      "",
                      "Contact:",
                      "",
                      kAuthor,
                      "",
                      "",
                      "Credits:",
                      "",
                      UTQ_VB_CODE_CREDIT " - vb code help",
                      "",
                      "",
                      "{Qev} WebSite:",
                      "",
                      kMakersSite,
                  });
}

QString ut3()
{
    return joined(
        QStringList{
            "Unreal Tournament 3 Server Query v{Qev}1.1 by: Kestrun",
            "",
        } +
        kTroubleshooting +
        QStringList{
            "",
            "To display a more advanced query and map image you need to have UT3 Web Stats installed on ",
            "your server. You can download it here: ",
            kMakersSite + "/UT3Query/WebStats_v0.2_2008-05-02.zip ",
            "",
            "Server Web Port or (Server W Port) should be set to 0 if UT3 Web Stats is not installed on your ",
            "server.",
            "",
            "To launch the game from this program you will need the ut3:// ptotocol fix download from here: ",
            "http://" UTQ_PRESET_HOST_A "/Qev/downloads/ut3protocol.zip",
            "",
        } +
        kFavourites +
        QStringList{
            "",
            "",
            "Contact:",
            "",
            "{Qev}" + kAuthor,
            "{Qev}" UTQ_UT3_ADMIN_NAME " - {Qev} UT3 Server Admin - " UTQ_UT3_ADMIN_EMAIL,
            "",
            "Credits:",
            "",
            UTQ_VB_CODE_CREDIT,
            UTQ_PHP_CODE_CREDIT,
            UTQ_UT3_TEAM_CREDIT,
            "",
            "{Qev} WebSite:",
            "",
            kMakersSite,
        });
}

} // namespace helptexts
