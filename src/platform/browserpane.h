#pragma once

#include <QWidget>

// An embedded web page view, placed in the window like any other control.
// It opens its start page when created. Navigate returns at once; the pane
// loads and shows the page by itself.
class BrowserPane : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // address: the text as the program built it, unencoded. Addresses of schemes
    // other than http and https (such as unreal://) go to the desktop's handler.
    virtual void Navigate(const QString& address) = 0;
    // Loads the page it shows again, when the page's path is path (a link
    // followed inside the pane counts, whatever its query).
    virtual void ReloadIfShowing(const QString& path) = 0;
};
