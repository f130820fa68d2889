#include "savedservers.h"

#include "favouritesfile.h"

#include <QFile>

namespace favourites {

namespace {

// Twenty-four values of at most 254 characters, with their keys, in UTF-8.
constexpr qint64 kMaxFileBytes = 64 * 1024;

} // namespace

const SlotTable& slotTable(Game game)
{
    static const std::array<const SlotTable*, kGames.size()> tables{&kUt99Slots, &kUt2004Slots, &kUt3Slots};
    return *tables.at(static_cast<std::size_t>(game));
}

std::vector<SavedServer> savedServers(Game game, const QString& folder)
{
    const SlotTable& table = slotTable(game);
    QFile file(folder + QLatin1Char('/') + QLatin1String(table.fileName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return {};
    const Profile profile(file.read(kMaxFileBytes));
    const QString section = QLatin1String(kSection);
    std::vector<SavedServer> servers;
    for (int row = 0; row < kSlotCount; ++row) {
        const Slot& slot = table.rows[static_cast<std::size_t>(row)];
        const auto value = [&](Column column) { return profile.value(section, QLatin1String(slot.keys[column])); };
        SavedServer server{row + 1, value(Name), value(Host), value(table.queryPort),
                           table.queryWebPort ? value(*table.queryWebPort) : QStringLiteral("0")};
        if (slot.selectable && !server.host.trimmed().isEmpty())
            servers.push_back(server);
    }
    return servers;
}

} // namespace favourites
