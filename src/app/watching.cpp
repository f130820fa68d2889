#include "buildconfig.h"
#include "core/routes.h"
#include "qevquery.h"

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
