#pragma once

#include <QString>

#include <array>

// The window's web links: each opens a fixed http URL in the user's browser.
namespace weblinks {

enum class Host { PresetA, PresetB, MakersSite };

struct WebLink {
    const char* control;
    Host host;
    int port; // 0: the scheme's own
    const char* path;
};

enum LinkId { ServerStopStartUs, RemoteServerUs, RemoteServerUk, MakersSite, Ut3Admin, LinkCount };

inline constexpr std::array<WebLink, LinkCount> kLinks{{
    {"lblA1", Host::PresetA, 0, "/cgi-bin/wwwpman/index.pl"},
    {"lblA2", Host::PresetA, 8884, "/ServerAdmin/"},
    {"lblA4", Host::PresetB, 8884, "/ServerAdmin/"},
    {"lblQev", Host::MakersSite, 0, ""},
    {"cmdAdminUT3", Host::PresetB, 5080, "/ServerAdmin/settings/general"},
}};

// "http://", the host, ":" and the port where the link has one, then the path.
QString url(const WebLink& link);

} // namespace weblinks
