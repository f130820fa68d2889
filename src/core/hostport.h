#pragma once

#include <QString>

#include <optional>

// "host", "host:port", "[v6]" or "[v6]:port" into its host and port (0 where
// none is given); nullopt for an empty host or a port outside 1 to 65535.
struct HostPort {
    QString host;
    quint16 port = 0;
};
std::optional<HostPort> parseHostPort(const QString& text);

// A host and port worth asking, from the texts of two fields: a host name or
// address literal (as its canonical text), a port from 1 to 65535, blanks
// around them ignored. Anything else (the window's placeholder texts, an
// empty field) gets no traffic at all.
std::optional<HostPort> usableEndpoint(const QString& host, const QString& port);
