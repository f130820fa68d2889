#include "watchrules.h"

#include <algorithm>

namespace watch {

QStringList humanNames(const gamequery::ServerStatus& status)
{
    QStringList names;
    for (const gamequery::Player& p : status.players)
        if (p.ping != 0)
            names << p.name.plain();
    return names;
}

int humanPlayers(const gamequery::ServerStatus& status)
{
    return status.players.empty() ? status.playerCount : static_cast<int>(humanNames(status).size());
}

QStringList namesPlaying(const gamequery::ServerStatus& status, const QStringList& names)
{
    QStringList playing;
    for (const QString& name : names) {
        const bool here = std::any_of(status.players.begin(), status.players.end(), [&](const gamequery::Player& p) {
            return p.name.plain().trimmed().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (here)
            playing << name;
    }
    return playing;
}

bool WatchRules::isNews(Condition& condition, bool holds, qint64 nowMs)
{
    if (!holds) {
        if (condition.falseSince < 0)
            condition.falseSince = nowMs;
        return false;
    }
    if (condition.falseSince >= 0 && nowMs - condition.falseSince >= kQuietMs)
        condition.announced = false; // false for a whole minute: news again
    condition.falseSince = -1;
    return !condition.announced;
}

std::optional<Sighting> WatchRules::answer(const QString& server, const gamequery::ServerStatus* status,
                                           const QStringList& friends, bool watchFill, qint64 nowMs)
{
    Sighting news;
    std::vector<Condition*> due;
    const QString prefix = server + QLatin1Char('\n');
    if (watchFill) {
        Condition& filled = m_conditions[prefix + QStringLiteral("filled")];
        if (isNews(filled, status && humanPlayers(*status) > 0, nowMs)) {
            news.filled = true;
            due.push_back(&filled);
        }
    }
    const QStringList playing = status ? namesPlaying(*status, friends) : QStringList();
    for (const QString& name : friends) {
        Condition& seen = m_conditions[prefix + name.toCaseFolded()];
        if (isNews(seen, playing.contains(name), nowMs)) {
            news.friends << name;
            due.push_back(&seen);
        }
    }
    const auto last = m_lastNews.constFind(server);
    if (due.empty() || (last != m_lastNews.cend() && nowMs - *last < kQuietMs))
        return std::nullopt; // what is due stays due until the server may be news again
    for (Condition* condition : due)
        condition->announced = true;
    m_lastNews.insert(server, nowMs);
    return news;
}

} // namespace watch
