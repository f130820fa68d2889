#include "hostport.h"

std::optional<HostPort> parseHostPort(const QString& text)
{
    HostPort parsed;
    QString portText;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        parsed.host = text.mid(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != QLatin1Char(':'))
                return std::nullopt;
            portText = text.mid(close + 2);
        }
    } else if (text.count(QLatin1Char(':')) == 1) {
        parsed.host = text.section(QLatin1Char(':'), 0, 0);
        portText = text.section(QLatin1Char(':'), 1);
    } else {
        parsed.host = text; // a bare IPv6 address, or a name
    }
    if (parsed.host.isEmpty())
        return std::nullopt;
    if (!portText.isNull()) {
        bool ok = false;
        const int value = portText.toInt(&ok);
        if (!ok || value < 1 || value > 65535)
            return std::nullopt;
        parsed.port = static_cast<quint16>(value);
    }
    return parsed;
}
