#include "serverstatus.h"

#include <QHash>
#include <QSet>

namespace gamequery {

std::vector<std::pair<QString, QString>> oneRulePerKey(const std::vector<std::pair<QString, QString>>& listed)
{
    std::vector<std::pair<QString, QString>> rules;
    QHash<QString, std::size_t> row;
    QSet<std::pair<QString, QString>> seen;
    for (const auto& rule : listed) {
        if (seen.contains(rule))
            continue;
        seen.insert(rule);
        if (const auto known = row.constFind(rule.first); known != row.cend()) {
            rules[*known].second += QStringLiteral(", ") + rule.second;
        } else {
            row.insert(rule.first, rules.size());
            rules.push_back(rule);
        }
    }
    return rules;
}

} // namespace gamequery
