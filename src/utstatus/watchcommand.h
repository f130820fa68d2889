#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <functional>

// utstatus watch: asks servers every so many seconds and prints a line per
// event: a server reaching so many human players, a named player appearing
// or leaving. bad(why) answers a bad argument.
int watchServers(QCoreApplication& app, const QStringList& args, const std::function<int(const QString& why)>& bad);
