#pragma once

#include <QString>

#include <functional>

// Opens a web address in the user's own browser and returns at once; whether
// a browser starts is not reported.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QString& url) = 0;
};

// The desktop's own opener, xdg-open, started with the address as its only
// argument, exactly as given. When nothing could open it, failed gets the
// address and why.
class DesktopUrlOpener : public UrlOpener {
public:
    using Failed = std::function<void(const QString& url, const QString& why)>;
    explicit DesktopUrlOpener(Failed failed = {}) : m_failed(std::move(failed)) {}
    void open(const QString& url) override;

private:
    Failed m_failed;
};
