#include "buildconfig.h"
#include "core/routes.h"
#include "platform/browserpane.h"
#include "platform/notifications.h"
#include "qevquery.h"
#include "tabstrip.h"

#include <QUrl>

// The window's part in watching servers and friends: the list lives in
// watch.ini beside the favourites; the start pages show it and change it
// through links of the program's own scheme, which only the panes follow.

void QevQuery::startWatching()
{
    m_watch = favourites::readWatchList(m_platform.programDirectory.favouritesPath());
    m_platform.panes.followProgramLinks([this](const QUrl& link) { return followProgramLink(link); });
}

QString QevQuery::followProgramLink(const QUrl& link)
{
    favourites::WatchList changed = m_watch;
    const std::optional<Game> game = favourites::applyWatchLink(changed, link);
    if (game) {
        const QString file =
            m_platform.programDirectory.favouritesPath() + QLatin1Char('/') + QLatin1String(favourites::kWatchFileName);
        if (const std::optional<QString> error = m_platform.files.replace(file, favourites::watchFileContent(changed)))
            setText("lblStatus", *error);
        else
            m_watch = changed;
    }
    return startPageAddress(QStringLiteral(UTQ_MAIN_STATUS_HOST),
                            QLatin1String(startRoute(game.value_or(Game::UT99)).path));
}

namespace {

// The favourites tab of a game: its fields, its pane.
const query::QueryTab& favouritesTab(Game game)
{
    return *std::find_if(query::kQueryTabs.begin(), query::kQueryTabs.end(),
                         [game](const query::QueryTab& tab) { return tab.favourites && tab.favourites->game == game; });
}

} // namespace

void QevQuery::announce(const watch::News& news)
{
    const QString who = news.who.isEmpty()     ? QStringLiteral("Players are")
                        : news.who.size() == 1 ? news.who.front() + QStringLiteral(" is")
                                               : news.who.join(QStringLiteral(", ")) + QStringLiteral(" are");
    const QString summary = QStringLiteral("%1 playing on %2").arg(who, news.name);
    const QString body = QStringLiteral("%1 · %2 · %3/%4 players")
                             .arg(QLatin1String(gameInfo(news.game).title), news.map)
                             .arg(news.players)
                             .arg(news.maxPlayers);
    const bool shown = m_platform.notifications.notify(
        summary, body,
        {{QStringLiteral("join"), QStringLiteral("Join")}, {QStringLiteral("show"), QStringLiteral("Show")}},
        [this, news](const QString& key) {
            if (key == QLatin1String("join"))
                joinFromNews(news);
            else if (key == QLatin1String("show"))
                showNews(news);
        });
    if (!shown && !std::exchange(m_toldNoNotifications, true))
        setText("lblStatus",
                QStringLiteral("No notification service is on the desktop's bus: watched servers are not announced."));
}

void QevQuery::joinFromNews(const watch::News& news)
{
    // A favourite's address as Launch Game builds it from its slot; a server of
    // the list, or a UT3 favourite (its slot keeps the query port), as it reports its game port.
    const query::QueryTab& tab = favouritesTab(news.game);
    QString host = news.host, port = QString::number(news.gamePort);
    if (news.slot && news.game != Game::UT3) {
        const auto& fields = tab.favourites->rows[static_cast<std::size_t>(news.slot - 1)].fields;
        host = text(fields[favourites::Host]);
        port = text(fields[favourites::Port]);
    }
    widget<BrowserPane>(tab.pane)->Navigate(query::gameAddress(host, port));
}

void QevQuery::showNews(const watch::News& news)
{
    const query::QueryTab& tab = favouritesTab(news.game);
    auto* pane = widget<BrowserPane>(tab.pane);
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->page(i)->isAncestorOf(pane))
            m_tabs->setCurrentIndex(i);
    }
    pane->Navigate(QStringLiteral("http://") + QStringLiteral(UTQ_MAIN_STATUS_HOST) + news.statusPath);
    showNormal();
    raise();
    activateWindow();
}
