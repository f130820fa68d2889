#include "weblinks.h"

#include "buildconfig.h"

namespace weblinks {

QString url(const WebLink& link)
{
    const char* host = link.host == Host::PresetA   ? UTQ_PRESET_HOST_A
                       : link.host == Host::PresetB ? UTQ_PRESET_HOST_B
                                                    : UTQ_MAKER_WEB_HOST;
    QString address = QStringLiteral("http://") + QLatin1String(host);
    if (link.port != 0)
        address += QLatin1Char(':') + QString::number(link.port);
    return address + QLatin1String(link.path);
}

} // namespace weblinks
