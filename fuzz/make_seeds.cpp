// Writes the seed corpus of the parser fuzzers: replies of the fake servers,
// one file per reply, packets joined by the fuzzers' separator byte FE.

#include "fakeservers/fakegameserver.h"
#include "gamequery/ut2004protocol.h"

#include <QDir>
#include <QFile>

namespace {

void write(const QString& dir, const QString& name, const QList<QByteArray>& packets)
{
    QDir().mkpath(dir);
    QFile file(dir + QLatin1Char('/') + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(packets.join('\xFE'));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    using namespace fakeservers;
    Scenario s;
    s.players = {{"Alpha", 1, 20, 0}, {"Bravo", 2, 30, 1}};
    s.teams = {{"Red", 1}, {"Blue", 2}};
    s.rules = {{"AdminEMail", "a\\b@example.org"}};
    for (int split : {0, 80}) {
        s.splitSize = split;
        const QString n = QString::number(split);
        write(out + "/ut99", "status" + n, ut99Reply(s, "\\status\\", 1));
        write(out + "/ut99", "teams" + n, ut99Reply(s, "\\teams\\", 2));
        s.protocol = Protocol::Ut2004Binary;
        QList<QByteArray> ut2004 = ut2004Reply(s, gamequery::ut2004::request(gamequery::ut2004::Info));
        ut2004 += ut2004Reply(s, gamequery::ut2004::request(gamequery::ut2004::RulesAndPlayers));
        write(out + "/ut2004", "reply" + n, ut2004);
        s.protocol = Protocol::Ut3;
        QByteArray request = QByteArray("\xFE\xFD\x00\x01\x02\x03\x04", 7);
        for (int shift = 24; shift >= 0; shift -= 8)
            request += static_cast<char>((static_cast<std::uint32_t>(s.challenge) >> shift) & 0xFF);
        write(out + "/ut3", "reply" + n, ut3Reply(s, request + QByteArray("\xFF\xFF\xFF\x01", 4)));
        s.protocol = Protocol::Ut99Text;
    }
    return 0;
}
