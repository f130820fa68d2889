#pragma once

#include "serviceoptions.h"

#include <QThread>

#include <atomic>
#include <future>

// Runs the status service on a thread of its own, so that nothing the window's
// thread does (a ping blocks it for up to a second) holds up a page.
namespace statusservice {

// Who answers HTTP on an address and port.
enum class Listener { Nobody, OurService, SomethingElse };
Listener probe(const QHostAddress& address, quint16 port, int timeoutMs = 1000);

class ServiceThread : public QThread {
public:
    enum class Outcome { Started, AlreadyRunning, PortTaken, CannotListen };

    ~ServiceThread() override;
    // Starts the service and waits until it listens or cannot. When the port is
    // taken, says whether by another instance of this service.
    Outcome launch(const ServiceOptions& options);
    quint16 port() const { return m_port; }
    // Why the pages cannot be shown, in words for the user; empty when they can.
    QString failure() const;

protected:
    void run() override;

private:
    ServiceOptions m_options;
    std::promise<bool> m_listening;
    std::atomic<quint16> m_port = 0;
    Outcome m_outcome = Outcome::Started;
    QString m_error; // the system's reason when the service could not listen
    bool m_addressInUse = false;
};

} // namespace statusservice
