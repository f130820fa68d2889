// Starts many fake game servers of one game on consecutive loopback ports, for
// benchmarks: fakefleet ut99|ut2004|ut3 COUNT FIRST_QUERY_PORT [MASTER_PORT].
// With a master port, a UT99 master there lists them all (taking any validate
// answer, as list tools send a fixed one). Runs until killed.

#include "fakeservers/fakegameserver.h"
#include "fakeservers/fakemaster.h"

#include <QCoreApplication>
#include <QTextStream>

#include <memory>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 && args.size() != 5)
        return 2;
    using namespace fakeservers;
    Scenario s;
    s.protocol = args[1] == QLatin1String("ut3")      ? Protocol::Ut3
                 : args[1] == QLatin1String("ut2004") ? Protocol::Ut2004Binary
                                                      : Protocol::Ut99Text;
    for (int i = 0; i < 12; ++i)
        s.players.push_back({QStringLiteral("Player%1").arg(i), i * 5, 30 + i, i % 2});
    s.teams = {{"Red", 3}, {"Blue", 1}};
    const int count = args[2].toInt();
    const auto first = static_cast<quint16>(args[3].toInt());
    std::vector<std::unique_ptr<FakeGameServer>> fleet;
    for (int i = 0; i < count; ++i) {
        fleet.push_back(
            std::make_unique<FakeGameServer>(s, nullptr, QHostAddress::LocalHost, static_cast<quint16>(first + i)));
        if (!fleet.back()->listening()) {
            QTextStream(stderr) << "port " << first + i << " is taken\n";
            return 1;
        }
    }
    MasterScenario listing{.anyValidate = true};
    for (int i = 0; i < count; ++i)
        listing.servers.push_back({QHostAddress::LocalHost, static_cast<quint16>(first + i)});
    std::unique_ptr<FakeMaster> master;
    if (args.size() == 5) {
        master = std::make_unique<FakeMaster>(listing, nullptr, QHostAddress::LocalHost,
                                              static_cast<quint16>(args[4].toInt()));
        if (!master->listening())
            return 1;
    }
    QTextStream(stdout) << "ready\n";
    return QCoreApplication::exec();
}
