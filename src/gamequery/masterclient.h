#pragma once

#include "core/hostport.h"
#include "mastersession.h"

#include <QObject>

#include <functional>
#include <vector>

// Fetches the server lists of master servers over TCP, several at once, on
// the event loop of the thread that owns the client. Every exchange is
// bounded: its connect, each read, the whole, its bytes and its rows; a
// master that breaks a bound counts as failed and its rows are not used.
namespace gamequery {

struct MasterLimits {
    int connectMs = 5000;
    int readMs = 5000;
    int wholeMs = 20000;
    qsizetype maxBytes = 4 << 20;
};

struct MasterResult {
    HostPort master;
    std::vector<ListedServer> servers;
    QString failure; // empty when the master gave its list
};

// The lists of several masters, and their rows merged without duplicates in the order first listed.
struct MasterLists {
    std::vector<MasterResult> masters;
    std::vector<ListedServer> servers;
    bool anyListed() const;
};

class MasterClient : public QObject {
public:
    explicit MasterClient(QObject* parent = nullptr) : QObject(parent) {}
    void setLimits(const MasterLimits& limits) { m_limits = limits; }

    // One master's list; done is called once.
    void fetch(MasterProtocol protocol, const HostPort& master, std::function<void(const MasterResult&)> done);
    // Every master's at once; done is called once, when the last has answered or failed.
    void fetchAll(MasterProtocol protocol, const std::vector<HostPort>& masters,
                  std::function<void(const MasterLists&)> done);

private:
    MasterLimits m_limits;
};

// "HOST:PORT,HOST:PORT" into masters; entries that are no HOST:PORT are left out.
std::vector<HostPort> mastersFrom(const QString& list);

} // namespace gamequery
