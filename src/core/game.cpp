#include "game.h"

std::vector<quint16> strayQueryPorts(Game game, quint16 silentPort)
{
    const GameInfo& info = gameInfo(game);
    std::vector<quint16> ports;
    for (int stray : info.strayQueryPorts) {
        const int port = info.strayPortsFixed ? stray : silentPort + stray;
        if (port != silentPort && port > 0 && port <= 65535)
            ports.push_back(static_cast<quint16>(port));
    }
    return ports;
}

std::optional<Game> gameFromId(const QString& id)
{
    for (const GameInfo& info : kGames) {
        if (id.compare(QLatin1String(info.id), Qt::CaseInsensitive) == 0)
            return info.game;
    }
    return std::nullopt;
}
