#include "hostport.h"

#include <QHostAddress>
#include <QRegularExpression>

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

std::optional<HostPort> usableEndpoint(const QString& typedHost, const QString& typedPort)
{
    // Blanks around a field's text are a slip of the keyboard, not part of the address.
    const QString host = typedHost.trimmed();
    const QString port = typedPort.trimmed();
    bool ok = false;
    const int number = port.toInt(&ok);
    if (!ok || number < 1 || number > 65535 || port != QString::number(number))
        return std::nullopt;
    static const QRegularExpression hostName(QStringLiteral("^(?=.{1,253}$)([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?"
                                                            ")(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*\\.?$"));
    // An address literal of its own characters only: the parser of addresses
    // would take "127.0.0.1" out of "127.0.0.1<NUL>@elsewhere".
    static const QRegularExpression literalChars(QStringLiteral("^[0-9A-Fa-f.:]+$"));
    QHostAddress literal;
    if (literalChars.match(host).hasMatch() && literal.setAddress(host))
        return HostPort{literal.toString(), static_cast<quint16>(number)};
    if (!hostName.match(host).hasMatch())
        return std::nullopt;
    QString name = host.toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return HostPort{name, static_cast<quint16>(number)};
}
