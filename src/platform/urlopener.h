#pragma once

#include <QString>

// Opens a web address in the user's own browser and returns at once; whether
// a browser starts is not reported.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QString& url) = 0;
};

// The desktop's own opener, started detached with the URL as its only argument
// (xdg-open; on Windows the shell's explorer with the URL quoted).
class DesktopUrlOpener : public UrlOpener {
public:
    void open(const QString& url) override;
};

// The command line that hands a URL to the Windows shell: "explorer.exe " and
// the URL in double quotes, so that one with a colon and port arrives whole.
QString explorerCommandLine(const QString& url);
