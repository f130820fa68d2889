#include "defaults.h"

#include "buildconfig.h"
#include "core/hostport.h"

namespace statusservice {

bool setListen(ServiceOptions& options, const QString& listen)
{
    const std::optional<HostPort> where = parseHostPort(listen);
    if (!where || where->port == 0)
        return false;
    QHostAddress address;
    if (where->host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(where->host))
        return false;
    options.address = address;
    options.port = where->port;
    return true;
}

bool isOwnStatusHost(const QString& statusHost)
{
    ServiceOptions options;
    return setListen(options, statusHost) && options.address.isLoopback();
}

ServiceOptions defaultOptions()
{
    ServiceOptions options;
    setListen(options, QStringLiteral(UTQ_MAIN_STATUS_HOST));
    options.voiceChatHost = QStringLiteral(UTQ_VOICE_CHAT_HOST);
    options.presets = {
        {Game::UT99, QStringLiteral("{Qev} US"), QStringLiteral(UTQ_PRESET_HOST_A), QStringLiteral("7777")},
        {Game::UT99, QStringLiteral("{Qev} UK"), QStringLiteral(UTQ_PRESET_HOST_B), QStringLiteral("7777")},
        {Game::UT2004, QStringLiteral("{Qev}"), QStringLiteral("Server Closed"), QStringLiteral("7777")},
        {Game::UT3, QStringLiteral("{Qev}"), QStringLiteral(UTQ_PRESET_HOST_B), QStringLiteral("6500")},
    };
    return options;
}

} // namespace statusservice
