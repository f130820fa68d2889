#include "statusaddress.h"

QString statusAddress(const QString& webHost, const StatusPageFormat& format, const ServerFields& server)
{
    QString address = startPageAddress(webHost, QLatin1String(format.path)) + server.host +
                      QLatin1String(format.portKey) + server.port;
    if (format.secondPortKey)
        address += QLatin1String(format.secondPortKey) + server.secondPort;
    return address + QLatin1String(format.tail);
}

QString startPageAddress(const QString& webHost, const QString& path)
{
    return QStringLiteral("http://") + webHost + path;
}
