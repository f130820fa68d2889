#include "webenginepane.h"

#include "webaddress.h"

#include <QDesktopServices>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

WebEnginePane::WebEnginePane(QWidget* parent, const QString& startAddress)
    : BrowserPane(parent), m_view(new QWebEngineView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    Navigate(startAddress);
}

void WebEnginePane::Navigate(const QString& address)
{
    const QUrl url(address);
    if (isWebAddress(address))
        m_view->load(url);
    else
        QDesktopServices::openUrl(url);
}

BrowserPane* WebEnginePanes::create(QWidget* parent, const QString& startAddress)
{
    return new WebEnginePane(parent, startAddress);
}
