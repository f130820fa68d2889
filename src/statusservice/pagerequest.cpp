#include "pagerequest.h"

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

// A form's text field: a blank comes as "+"; a text longer than any player's name is cut.
QString formText(const QList<QByteArray>& pairs, const char* key)
{
    QByteArray text = rawValue(pairs, key);
    text.replace('+', ' ');
    return decoded(text).trimmed().left(kMaxPlayerName);
}

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
    for (const ListRoute& route : kListRoutes) {
        if (path == route.path) {
            request.kind = PageRequest::Kind::List;
            request.game = route.game;
            request.filter = formText(pairs, "q");
            request.hideEmpty = value(pairs, "notempty") == QLatin1String("1");
            request.hideFull = value(pairs, "notfull") == QLatin1String("1");
            request.sort = value(pairs, "sort");
        }
    }
    for (const StartRoute& route : kStartRoutes) {
        if (path == route.path) {
            request.kind = PageRequest::Kind::Start;
            request.start = route.page;
            request.game = route.game;
            request.player = formText(pairs, "player");
        }
    }
    return request;
}

bool isReservedName(const QString& host)
{
    static const QRegularExpression reserved(QStringLiteral("(^|\\.)(example(\\.(com|net|org))?|test|invalid)\\.?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return reserved.match(host).hasMatch();
}

} // namespace statusservice
