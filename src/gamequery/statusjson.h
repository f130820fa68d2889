#pragma once

#include "queryclient.h"

#include <QJsonObject>

// Query results as JSON, for scripts and pages: names keep their colour runs.
namespace gamequery {

QJsonObject toJson(const QueryResult& result);
QString gameName(Game game); // "ut99", "ut2004", "ut3"
std::optional<Game> gameFromName(const QString& name);

} // namespace gamequery
