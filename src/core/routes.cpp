#include "routes.h"

#include <algorithm>

QString statusPath(const StatusRoute& route, const ServerFields& server)
{
    QString path = QLatin1String(route.path) + QLatin1Char('?') + QLatin1String(route.hostKey) + QLatin1Char('=') +
                   server.host + QLatin1Char('&') + QLatin1String(route.portKey) + QLatin1Char('=') + server.port;
    if (route.secondPortKey)
        path += QLatin1Char('&') + QLatin1String(route.secondPortKey) + QLatin1Char('=') + server.secondPort;
    return path + QLatin1String(route.tail);
}

QString statusAddress(const QString& webHost, const StatusRoute& route, const ServerFields& server)
{
    return startPageAddress(webHost, statusPath(route, server));
}

const StatusRoute& statusRoute(Game game)
{
    return **std::find_if(kStatusRoutes.begin(), kStatusRoutes.end(),
                          [game](const StatusRoute* route) { return route->game == game; });
}

QString startPageAddress(const QString& webHost, const QString& path)
{
    return QStringLiteral("http://") + webHost + path;
}
