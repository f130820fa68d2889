#pragma once

#include <QString>

// The texts of a server address as the window's fields hold them. Nothing here
// is parsed or validated: a status page is asked about exactly what was typed.
struct ServerFields {
    QString host;
    QString port;       // UT99: query port; UT2004: game port; UT3: query port
    QString secondPort; // UT3 only: the server's web statistics port
};

// How one kind of status page address is joined: "http://", web host, path
// (ending in the host key), host, port key, port, [second key, second port], tail.
struct StatusPageFormat {
    const char* path;
    const char* portKey;
    const char* secondPortKey; // nullptr when the page takes one port
    const char* tail;
};

inline constexpr StatusPageFormat kUt99StatusPage{"/php/UTstats/index.php?txtip=", "&portnum=", nullptr, ""};
inline constexpr StatusPageFormat kUt2004StatusPage{"/phpnuke/html/SQuery/index.php?ip=", "&port=", nullptr,
                                                    "&game=UT2004&block=1"};
inline constexpr StatusPageFormat kUt3QueryStatusPage{
    "/Qev/UT3Query/ut3query.php?serverip=", "&serverqport=", "&serverwport=", ""};
inline constexpr StatusPageFormat kUt3FavouritesStatusPage{
    "/UT3Query/ut3query.php?serverip=", "&serverqport=", "&serverwport=", ""};

// The status page address for a server. Field texts go in as they stand:
// no trimming, no percent-encoding, no defaults for empty texts.
QString statusAddress(const QString& webHost, const StatusPageFormat& format, const ServerFields& server);

// "http://" + web host + path: the address of a start page.
QString startPageAddress(const QString& webHost, const QString& path);
