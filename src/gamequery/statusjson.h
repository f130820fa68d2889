#pragma once

#include "queryclient.h"

#include <QJsonObject>

// Query results as JSON, for scripts and pages: names keep their colour runs.
namespace gamequery {

QJsonObject toJson(const QueryResult& result);

} // namespace gamequery
