#include "presetlists.h"

namespace query {

namespace {

QString fieldText(const PresetServer& server, PresetField role)
{
    switch (role) {
    case PresetField::Host: return QString::fromLatin1(server.host);
    case PresetField::QueryPort: return QString::number(gameInfo(server.game).queryPortOf(server.port));
    case PresetField::GamePort: return QString::number(server.port);
    case PresetField::WebPort: return QString::number(server.webPort);
    }
    return {};
}

} // namespace

std::vector<std::array<QString, 3>> presetRows(const PresetList& list)
{
    const auto row = [&list](const PresetServer& server) {
        return std::array<QString, 3>{fieldText(server, list.roles[0]), fieldText(server, list.roles[1]),
                                      fieldText(server, list.roles[2])};
    };
    std::vector<std::array<QString, 3>> rows;
    for (const PresetServer& server : kPresetServers) {
        if (server.game == list.game)
            rows.push_back(row(server));
    }
    rows.push_back(list.customKeepsPorts ? row({list.game, "Custom", "", gameInfo(list.game).defaultPort, 0})
                                         : std::array<QString, 3>{});
    return rows;
}

} // namespace query
