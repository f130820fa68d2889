#pragma once

#include "browserpane.h"
#include "platform.h"
#include "urlopener.h"

class QWebEngineView;

// A browser pane on Qt WebEngine.
class WebEnginePane : public BrowserPane {
    Q_OBJECT
public:
    WebEnginePane(QWidget* parent, const QString& startAddress);

    // Qt WebEngine silently drops a programmatic load of a scheme it does not
    // know, so such addresses are handed to the desktop here, as they stand;
    // when nothing opens one, the pane says why.
    void Navigate(const QString& address) override;

private:
    QWebEngineView* m_view;
    DesktopUrlOpener m_desktop;
};

class WebEnginePanes : public BrowserPanes {
public:
    BrowserPane* create(QWidget* parent, const QString& startAddress) override;
};
