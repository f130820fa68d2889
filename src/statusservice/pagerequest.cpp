#include "pagerequest.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace statusservice {

namespace {

QString decoded(const QByteArray& bytes)
{
    // Percent escapes only: a "+" is a plus, as the window put it.
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

// The value of the first pair with the key, as sent.
QByteArray rawValue(const QList<QByteArray>& pairs, const char* key)
{
    for (const QByteArray& pair : pairs) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray k = equals < 0 ? pair : pair.left(equals);
        if (decoded(k) == QLatin1String(key))
            return equals < 0 ? QByteArray() : pair.mid(equals + 1);
    }
    return {};
}

QString value(const QList<QByteArray>& pairs, const char* key) { return decoded(rawValue(pairs, key)); }

constexpr qsizetype kMaxPlayerName = 64;

} // namespace

PageRequest parseRequest(const QByteArray& target)
{
    PageRequest request;
    request.target = target;
    const qsizetype question = target.indexOf('?');
    const QByteArray path = question < 0 ? target : target.left(question);
    const QList<QByteArray> pairs = question < 0 ? QList<QByteArray>() : target.mid(question + 1).split('&');
    request.refresh = value(pairs, "refresh") == QLatin1String("1");

    for (const StatusRoute* route : kStatusRoutes) {
        if (path == route->path) {
            request.kind = PageRequest::Kind::Status;
            request.game = route->game;
            request.host = value(pairs, route->hostKey);
            request.port = value(pairs, route->portKey);
            if (route->secondPortKey)
                request.webPort = value(pairs, route->secondPortKey);
        }
    }
    for (const StartRoute& route : kStartRoutes) {
        if (path == route.path) {
            request.kind = PageRequest::Kind::Start;
            request.start = route.page;
            request.game = route.game;
            // A form sends a blank as "+"; a name longer than any player's is no name.
            QByteArray player = rawValue(pairs, "player");
            player.replace('+', ' ');
            request.player = decoded(player).trimmed().left(kMaxPlayerName);
        }
    }
    return request;
}

std::optional<Endpoint> usableEndpoint(const QString& typedHost, const QString& typedPort)
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
        return Endpoint{literal.toString(), static_cast<quint16>(number)};
    if (!hostName.match(host).hasMatch())
        return std::nullopt;
    QString name = host.toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return Endpoint{name, static_cast<quint16>(number)};
}

bool isReservedName(const QString& host)
{
    static const QRegularExpression reserved(QStringLiteral("(^|\\.)(example(\\.(com|net|org))?|test|invalid)\\.?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return reserved.match(host).hasMatch();
}

} // namespace statusservice
