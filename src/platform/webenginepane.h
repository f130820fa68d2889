#pragma once

#include "browserpane.h"
#include "platform.h"
#include "urlopener.h"

#include <memory>

class QWebEngineView;

// A browser pane on Qt WebEngine. The browser engine starts with the first
// page view, which takes a few hundred milliseconds, so a pane in a window
// about to show makes its view once the window has been painted; until then
// it is blank, as an empty view is, and keeps the address to load.
class WebEnginePane : public BrowserPane {
    Q_OBJECT
public:
    WebEnginePane(QWidget* parent, const QString& startAddress);

    // Qt WebEngine silently drops a programmatic load of a scheme it does not
    // know, so such addresses are handed to the desktop here, as they stand;
    // when nothing opens one, the pane says why.
    void Navigate(const QString& address) override;
    void ReloadIfShowing(const QString& path) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeViewOnceWindowPainted();
    QWebEngineView* view();

    QWebEngineView* m_view = nullptr;
    QString m_pending; // the address to load when the view is made
    DesktopUrlOpener m_desktop;
};

class ProgramLinks;

class WebEnginePanes : public BrowserPanes {
public:
    WebEnginePanes();
    ~WebEnginePanes() override;
    // Settings of the browser engine for panes that show small pages of one
    // site; called before the application object is made.
    static void prepareEngine();
    BrowserPane* create(QWidget* parent, const QString& startAddress) override;
    void followProgramLinks(std::function<QString(const QUrl& link)> handler) override;

private:
    std::unique_ptr<ProgramLinks> m_links;
};
