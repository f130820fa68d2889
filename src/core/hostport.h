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
