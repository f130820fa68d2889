#pragma once

#include "gamequery/queryclient.h"
#include "gamequery/serversweep.h"

#include <QJsonObject>

#include <QString>

// Query results as a person reads them: a block per server, columns aligned;
// for a silent server, the servers found on other query ports of its host.
QString textReport(const gamequery::QueryResult& result, const std::vector<gamequery::QueryResult>& elsewhere = {});
// The same for scripts: every field, and the ports found as "answersOn".
QJsonObject jsonReport(const gamequery::QueryResult& result, const std::vector<gamequery::QueryResult>& elsewhere);

// A sweep as lines, one per server: address with its game port, name, map,
// players/max, round trip; or why it did not answer. Only the addresses as
// the lists give them where the servers were not asked.
QString sweepReport(const gamequery::Sweep& sweep);
// Each master's outcome, a line each.
QString mastersReport(const gamequery::Sweep& sweep);
// "1 server", "2 servers": a count with its noun, in the plural unless it is one.
QString counted(qsizetype count, const QString& noun);
// Every server's fields and each master's outcome.
QJsonObject sweepJson(const gamequery::Sweep& sweep);
