#include "pingipv4.h"

namespace {

// Only space characters are trimmed; other white space stays part of the name.
QString trimSpaces(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString dotted(std::uint32_t networkOrder)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&networkOrder);
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

} // namespace

std::int32_t PingIPv4::Resolve(const QString& NameOrIP, QString& IP)
{
    const QString name = trimSpaces(NameOrIP);
    if (m_network.parseDotted(name.toLatin1())) {
        IP = name; // as typed: a short form such as 10.1 stays so
        return 0;
    }
    const PingNetwork::Lookup found = m_network.lookUp(name.toLatin1());
    if (found.error != 0)
        return found.error;
    if (!found.address)
        return 1;
    IP = dotted(*found.address);
    return 0;
}

QString roundTripText(std::int32_t microseconds)
{
    if (microseconds < 9950) // rounds to less than 10.0
        return QString::number(microseconds / 1000.0, 'f', 1) + QStringLiteral("ms");
    return QString::number((microseconds + 500) / 1000) + QStringLiteral("ms");
}

bool PingIPv4::Ping(const QString& IP, std::int32_t TimeoutMS, const QString& Data)
{
    bool answered = false;
    Status = 0;
    const std::optional<std::uint32_t> address = m_network.parseDotted(IP.toLatin1());
    if (!address) {
        Reason = 1;
        return false;
    }
    const PingNetwork::Opened echo = m_network.openEcho();
    if (echo.handle < 0) {
        Reason = 2;
        Status = echo.error;
        return false;
    }
    const PingNetwork::Echo reply = m_network.sendEcho(echo.handle, *address, Data.toLatin1(), TimeoutMS);
    if (reply.answered) {
        answered = true;
        RoundTripTime = reply.roundTripUs / 1000;
        RoundTripMicroseconds = reply.roundTripUs;
    } else {
        Reason = 3;
        Status = reply.error;
    }
    // A failed close overrides even an answer.
    if (const int closeError = m_network.closeEcho(echo.handle); closeError != 0) {
        answered = false;
        Reason = 4;
        Status = closeError;
    }
    return answered;
}
