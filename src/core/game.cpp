#include "game.h"

std::optional<Game> gameFromId(const QString& id)
{
    for (const GameInfo& info : kGames) {
        if (id.compare(QLatin1String(info.id), Qt::CaseInsensitive) == 0)
            return info.game;
    }
    return std::nullopt;
}
