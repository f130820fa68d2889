#pragma once

#include "serviceoptions.h"

#include <QObject>

#include <memory>

// The web service behind every status address of the window: it answers the
// status pages by asking the game server over UDP, and serves the panes' start
// pages. Runs on the event loop of the thread that owns it.
namespace statusservice {

class StatusService : public QObject {
    Q_OBJECT
public:
    explicit StatusService(ServiceOptions options, QObject* parent = nullptr);
    ~StatusService() override;

    bool start();
    QString errorString() const;
    bool addressInUse() const;
    quint16 port() const;
    // UDP queries sent so far (identical ones within shareMs count once).
    int queriesSent() const;

private:
    class Pages; // its work, out of its users' sight
    std::unique_ptr<Pages> m_pages;
};

} // namespace statusservice
