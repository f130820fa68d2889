#pragma once

#include "gamequery/queryclient.h"

#include <QDateTime>
#include <QHash>
#include <QObject>

#include <functional>
#include <vector>

// The answers of recent queries, and the pages waiting for a query under
// way: identical queries within shareMs of each other share one UDP query.
namespace statusservice {

class SharedAnswers : public QObject {
public:
    using Answer = std::function<void(const gamequery::QueryResult&)>;

    explicit SharedAnswers(int shareMs, QObject* parent = nullptr) : QObject(parent), m_shareMs(shareMs) {}

    // What makes two queries identical.
    static QString keyOf(const gamequery::QueryRequest& request);
    // Joins the query of key under way, or answers (on a later turn of the
    // event loop) from one answered within shareMs. A refresh takes no
    // recent answer, unless one refresh asked afresh in this window already
    // and refreshes are limited. False, answer untouched, when the query is
    // to be asked.
    bool join(const QString& key, bool refresh, bool refreshesLimited, Answer& answer);
    // A query now under way, with its first waiting page.
    void started(const QString& key, Answer answer, bool refresh);
    // Its result, to every waiting page; kept for shareMs for those that come later.
    void answered(const QString& key, const gamequery::QueryResult& result);

private:
    struct Shared {
        std::vector<Answer> waiting; // empty once answered
        std::optional<gamequery::QueryResult> result;
        QDateTime answeredAt;
        bool refreshed = false; // asked by a refresh
    };
    bool isRecent(const Shared& shared) const
    {
        return shared.answeredAt.msecsTo(QDateTime::currentDateTimeUtc()) < m_shareMs;
    }

    int m_shareMs;
    QHash<QString, Shared> m_shared;
};

} // namespace statusservice
