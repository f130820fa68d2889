#include "session.h"

#include "textsession.h"
#include "ut2004master.h"
#include "ut2004session.h"
#include "ut3session.h"
#include "ut99master.h"

namespace gamequery {

std::unique_ptr<Session> makeSession(QueryProtocol protocol, quint16 queryPort, quint16 textPort, std::uint32_t id)
{
    switch (protocol) {
    case QueryProtocol::Ut99Text: return std::make_unique<TextSession>(queryPort);
    case QueryProtocol::Ut2004Binary:
        if (!textPort)
            return std::make_unique<Ut2004Session>(queryPort);
        return std::make_unique<Ut2004WithTextFallback>(queryPort, textPort);
    case QueryProtocol::Ut3: return std::make_unique<Ut3Session>(queryPort, id);
    }
    return nullptr;
}

std::unique_ptr<MasterSession> makeMasterSession(MasterProtocol protocol)
{
    switch (protocol) {
    case MasterProtocol::None: return nullptr;
    case MasterProtocol::Ut99Text: return std::make_unique<ut99master::Session>();
    case MasterProtocol::Ut2004Binary: return std::make_unique<ut2004master::Session>();
    }
    return nullptr;
}

} // namespace gamequery
