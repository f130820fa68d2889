#pragma once

#include "gamequery/queryclient.h"

#include <QString>

// Query results as a person reads them: a block per server, columns aligned.
QString textReport(const gamequery::QueryResult& result);
