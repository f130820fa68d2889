#include "webaddress.h"

bool isWebAddress(const QString& address)
{
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QStringView scheme = QStringView(address).left(colon);
    return scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 ||
           scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}
