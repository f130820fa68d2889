#include "webenginepane.h"

#include "webaddress.h"

#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

WebEnginePane::WebEnginePane(QWidget* parent, const QString& startAddress)
    : BrowserPane(parent), m_view(new QWebEngineView(this)),
      m_desktop([pane = QPointer<WebEnginePane>(this)](const QString& url, const QString& why) {
          if (pane)
              pane->m_view->setHtml(QStringLiteral("<p>%1</p><p>%2</p>").arg(url.toHtmlEscaped(), why.toHtmlEscaped()));
      })
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    Navigate(startAddress);
}

void WebEnginePane::Navigate(const QString& address)
{
    if (isWebAddress(address))
        m_view->load(QUrl(address));
    else
        m_desktop.open(address);
}

BrowserPane* WebEnginePanes::create(QWidget* parent, const QString& startAddress)
{
    return new WebEnginePane(parent, startAddress);
}
