#pragma once

#include "gamequery/queryclient.h"
#include "gamequery/serversweep.h"

#include <QJsonObject>

#include <QString>

// Query results as a person reads them: a block per server, columns aligned.
QString textReport(const gamequery::QueryResult& result);

// A sweep as lines, one per server: address with its game port, name, map,
// players/max, round trip; or why it did not answer. Only the addresses as
// the lists give them where the servers were not asked.
QString sweepReport(const gamequery::Sweep& sweep);
// Each master's outcome, a line each.
QString mastersReport(const gamequery::Sweep& sweep);
// Every server's fields and each master's outcome.
QJsonObject sweepJson(const gamequery::Sweep& sweep);
