#include "defaults.h"

#include "buildconfig.h"

namespace statusservice {

bool setListen(ServiceOptions& options, const QString& listen)
{
    const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    QString host = listen.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const int port = listen.mid(colon + 1).toInt(&ok);
    QHostAddress address;
    if (host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(host))
        return false;
    if (!ok || port < 1 || port > 65535)
        return false;
    options.address = address;
    options.port = static_cast<quint16>(port);
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
