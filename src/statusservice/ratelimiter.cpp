#include "ratelimiter.h"

namespace statusservice {

namespace {

constexpr qsizetype kMostKeys = 16384;

} // namespace

bool RateLimiter::take(const QString& key, qint64 nowMs, qint64* retryAfterMs)
{
    if (!m_budgets.contains(key) && m_budgets.size() >= kMostKeys) {
        forgetWhole(nowMs);
        if (m_budgets.size() >= kMostKeys) { // all in use: no room for another
            if (retryAfterMs)
                *retryAfterMs = m_refillMs;
            return false;
        }
    }
    // The budget as the time it takes to earn back what was spent: each
    // request adds refillMs, and burst requests may be owed at once.
    Budget& budget = m_budgets[key];
    const qint64 owed = std::max(budget.spentUntilMs, nowMs) + m_refillMs;
    const qint64 over = owed - nowMs - qint64{m_burst} * m_refillMs;
    if (over > 0) {
        if (retryAfterMs)
            *retryAfterMs = over;
        return false;
    }
    budget.spentUntilMs = owed;
    return true;
}

void RateLimiter::forgetWhole(qint64 nowMs)
{
    m_budgets.removeIf([nowMs](const auto& entry) { return entry.value().spentUntilMs <= nowMs; });
}

} // namespace statusservice
