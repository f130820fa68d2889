#include "sharedanswers.h"

#include <QTimer>

#include <utility>

namespace statusservice {

QString SharedAnswers::keyOf(const gamequery::QueryRequest& r)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(static_cast<int>(r.game))
        .arg(r.host.toLower())
        .arg(r.port)
        .arg(r.portIsQueryPort);
}

bool SharedAnswers::join(const QString& key, bool refresh, bool refreshesLimited, Answer& answer)
{
    const auto it = m_shared.find(key);
    if (it == m_shared.end())
        return false;
    Shared& shared = it.value();
    if (!shared.result) { // under way: wait with the others
        shared.waiting.push_back(std::move(answer));
        return true;
    }
    const bool afresh = refresh && (!shared.refreshed || !refreshesLimited);
    if (afresh || !isRecent(shared))
        return false;
    QTimer::singleShot(0, this, [answer = std::move(answer), result = *shared.result] { answer(result); });
    return true;
}

void SharedAnswers::started(const QString& key, Answer answer, bool refresh)
{
    m_shared[key] = Shared{{std::move(answer)}, std::nullopt, {}, refresh};
}

void SharedAnswers::answered(const QString& key, const gamequery::QueryResult& result)
{
    Shared& shared = m_shared[key];
    shared.result = result;
    shared.answeredAt = QDateTime::currentDateTimeUtc();
    const std::vector<Answer> waiting = std::exchange(shared.waiting, {});
    for (const Answer& answer : waiting)
        answer(result);
    // Forget it once it can no longer be shared.
    QTimer::singleShot(m_shareMs, this, [this, key] {
        const auto entry = m_shared.find(key);
        if (entry != m_shared.end() && entry->result && !isRecent(*entry))
            m_shared.erase(entry);
    });
}

} // namespace statusservice
