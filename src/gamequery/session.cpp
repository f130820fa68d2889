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
        if (!fromGamePort)
            return std::make_unique<Ut2004Session>(queryPort);
        const GameInfo& info = gameInfo(game);
        const auto textPort = static_cast<quint16>(queryPort - info.queryPortOffset + info.textPortOffset);
        return std::make_unique<Ut2004WithTextFallback>(queryPort, textPort);
    }
    case Game::UT3: return std::make_unique<Ut3Session>(queryPort, id);
    }
    return nullptr;
}

} // namespace gamequery
