#pragma once

#include "gamequery/serverstatus.h"

#include <QHash>
#include <QStringList>

#include <optional>

// When a watched server is news: it goes from no human players to some, or a
// friend appears on it. What holds at the first answer is news too; after
// that only changes are, and a condition is news again only once it has been
// false for a whole minute. A server is news at most once a minute.
namespace watch {

inline constexpr qint64 kQuietMs = 60 * 1000;

// The players a reply counts as people: bots answer with ping 0, where the
// reply lists players at all; else its player count.
int humanPlayers(const gamequery::ServerStatus& status);
// The names of the listed players it counts as people.
QStringList humanNames(const gamequery::ServerStatus& status);
// The names of the players whose whole name, colour codes aside, is one of
// names in any letter case; in the order of names.
QStringList namesPlaying(const gamequery::ServerStatus& status, const QStringList& names);

struct Sighting {
    bool filled = false; // from no human players to some
    QStringList friends; // friends who appeared
};

// A watched server that is news, for the desktop to announce.
struct News {
    Game game = Game::UT99;
    int slot = 0;         // the favourite's row; 0: a server of the list
    QString host;         // as the favourite or the list gives it
    quint16 gamePort = 0; // as the server reports it
    QString statusPath;   // its status page on this service
    QString name, map;
    int players = 0, maxPlayers = 0;
    QStringList who; // the friends who appeared, else the people who play
};

class WatchRules {
public:
    // What is news in one answer of a server (null: no answer); watchFill:
    // whether its filling counts, or only friends do.
    std::optional<Sighting> answer(const QString& server, const gamequery::ServerStatus* status,
                                   const QStringList& friends, bool watchFill, qint64 nowMs);

private:
    struct Condition {
        bool announced = false;
        qint64 falseSince = -1;
    };
    // Whether a condition that holds (or not) is news now, as the rules above say.
    bool isNews(Condition& condition, bool holds, qint64 nowMs);

    QHash<QString, Condition> m_conditions; // "server\nfilled", "server\nfriend name"
    QHash<QString, qint64> m_lastNews;      // by server
};

} // namespace watch
