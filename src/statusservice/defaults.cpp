#include "defaults.h"

#include "buildconfig.h"
#include "core/hostport.h"
#include "core/presets.h"

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
    for (const PresetServer& server : kPresetServers)
        options.presets.push_back({server.game, QString::fromLatin1(server.label), QString::fromLatin1(server.host),
                                   QString::number(server.port)});
    return options;
}

ServiceOptions desktopOptions()
{
    ServiceOptions options = defaultOptions();
    options.ownHostOnly = true;
    options.destinations = gamequery::Destinations::Lan; // LAN servers and the demo on this machine
    return options;
}

} // namespace statusservice
