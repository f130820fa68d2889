#include "session.h"

#include "textsession.h"
#include "ut2004session.h"
#include "ut3session.h"

namespace gamequery {

std::unique_ptr<Session> makeSession(Game game, quint16 queryPort, bool fromGamePort, std::uint32_t id)
{
    switch (game) {
    case Game::UT99: return std::make_unique<TextSession>(game, queryPort);
    case Game::UT2004: {
        const GameInfo& info = gameInfo(game);
        const int textPort = queryPort - info.queryPortOffset + info.textPortOffset;
        if (!fromGamePort || textPort > 65535)
            return std::make_unique<Ut2004Session>(queryPort);
        return std::make_unique<Ut2004WithTextFallback>(queryPort, static_cast<quint16>(textPort));
    }
    case Game::UT3: return std::make_unique<Ut3Session>(queryPort, id);
    }
    return nullptr;
}

} // namespace gamequery
