#pragma once

#include <QHash>
#include <QString>

// A budget per key (a client, a server): a key may spend burst at once and
// earns one back every refillMs. Keys whose budget is whole again are
// forgotten once many are kept, so memory stays bounded.
namespace statusservice {

class RateLimiter {
public:
    RateLimiter(int burst, int refillMs) : m_burst(burst), m_refillMs(refillMs) {}

    // Spends one of key's budget at nowMs (a steady clock); false when none is
    // left, with the wait until one is in retryAfterMs.
    bool take(const QString& key, qint64 nowMs, qint64* retryAfterMs = nullptr);

private:
    struct Budget {
        qint64 spentUntilMs = 0; // the budget is whole again at this time
    };
    void forgetWhole(qint64 nowMs);

    int m_burst;
    int m_refillMs;
    QHash<QString, Budget> m_budgets;
};

} // namespace statusservice
