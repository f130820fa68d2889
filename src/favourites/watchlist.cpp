#include "watchlist.h"

#include "favouritesfile.h"
#include "favouriteslots.h"

#include <QFile>
#include <QRegularExpression>
#include <QUrlQuery>

namespace favourites {

namespace {

// Fifty names of 32 characters with the slots, in UTF-8, and room for comments.
constexpr qint64 kMaxFileBytes = 16 * 1024;

} // namespace

void WatchList::setWatched(Game game, int row, bool on)
{
    auto& gameRows = rows[static_cast<std::size_t>(game)];
    if (on)
        gameRows.insert(row);
    else
        gameRows.erase(row);
}

void WatchList::setFriends(const QString& typed)
{
    static const QRegularExpression separators(QStringLiteral("[,\\r\\n]"));
    friends.clear();
    for (const QString& name : typed.split(separators)) {
        const QString trimmed = name.trimmed().left(kMaxFriendName);
        const bool known = std::any_of(friends.begin(), friends.end(), [&](const QString& friendName) {
            return friendName.compare(trimmed, Qt::CaseInsensitive) == 0;
        });
        if (!trimmed.isEmpty() && !known && friends.size() < kMaxFriends)
            friends << trimmed;
    }
}

std::optional<Game> applyWatchLink(WatchList& list, const QUrl& link)
{
    // A form sends a blank as "+", and a "+" as "%2B".
    const QUrlQuery query(link.query(QUrl::FullyEncoded).replace(QLatin1Char('+'), QLatin1String("%20")));
    const std::optional<Game> game = gameFromId(query.queryItemValue(QStringLiteral("game")));
    const QString what = link.path();
    if (link.scheme() != QLatin1String("utquery") || !game)
        return std::nullopt;
    if (what == QLatin1String("watch") || what == QLatin1String("unwatch")) {
        bool ok = false;
        const int row = query.queryItemValue(QStringLiteral("slot")).toInt(&ok);
        if (!ok || row < 1 || row > kSlotCount)
            return std::nullopt;
        list.setWatched(*game, row, what == QLatin1String("watch"));
    } else if (what == QLatin1String("friends")) {
        list.setFriends(query.queryItemValue(QStringLiteral("names"), QUrl::FullyDecoded));
    } else {
        return std::nullopt;
    }
    return game;
}

WatchList readWatchList(const QString& folder)
{
    WatchList list;
    QFile file(folder + QLatin1Char('/') + QLatin1String(kWatchFileName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return list;
    const Profile profile(file.read(kMaxFileBytes), static_cast<int>(kMaxFileBytes));
    for (const GameInfo& game : kGames) {
        for (const QString& text :
             profile.value(QLatin1String(game.id), QStringLiteral("watch")).split(QLatin1Char(','))) {
            const int row = text.trimmed().toInt();
            if (row >= 1 && row <= kSlotCount)
                list.setWatched(game.game, row, true);
        }
    }
    list.setFriends(profile.value(QStringLiteral("friends"), QStringLiteral("names")));
    return list;
}

QByteArray watchFileContent(const WatchList& list)
{
    QString text;
    for (const GameInfo& game : kGames) {
        QStringList rows;
        for (const int row : list.rows[static_cast<std::size_t>(game.game)])
            rows << QString::number(row);
        text += QStringLiteral("[%1]\r\nwatch=%2\r\n").arg(QLatin1String(game.id), rows.join(QLatin1Char(',')));
    }
    return encodeFileText(text + QStringLiteral("[friends]\r\nnames=") + list.friends.join(QLatin1Char(',')) +
                          QStringLiteral("\r\n"));
}

} // namespace favourites
