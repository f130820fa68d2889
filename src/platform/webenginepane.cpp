#include "webenginepane.h"

#include "webaddress.h"

#include <QPointer>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>

WebEnginePane::WebEnginePane(QWidget* parent, const QString& startAddress)
    : BrowserPane(parent), m_desktop([pane = QPointer<WebEnginePane>(this)](const QString& url, const QString& why) {
          if (pane)
              pane->view()->setHtml(QStringLiteral("<p>%1</p><p>%2</p>").arg(url.toHtmlEscaped(), why.toHtmlEscaped()));
      })
{
    QPalette blank = palette();
    blank.setColor(QPalette::Window, Qt::white);
    setPalette(blank);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Navigate(startAddress);
    QTimer::singleShot(0, this, &WebEnginePane::makeViewOnceWindowPainted);
}

void WebEnginePane::Navigate(const QString& address)
{
    if (!isWebAddress(address))
        m_desktop.open(address);
    else if (m_view)
        m_view->load(QUrl(address));
    else
        m_pending = address;
}

void WebEnginePane::makeViewOnceWindowPainted()
{
    QWindow* shown = window()->windowHandle();
    if (shown && window()->isVisible() && !shown->isExposed())
        shown->installEventFilter(this);
    else
        view();
}

bool WebEnginePane::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &WebEnginePane::view); // after the window paints what was exposed
    }
    return false;
}

QWebEngineView* WebEnginePane::view()
{
    if (!m_view) {
        m_view = new QWebEngineView(this);
        layout()->addWidget(m_view);
        if (!m_pending.isEmpty())
            m_view->load(QUrl(m_pending));
    }
    return m_view;
}

void WebEnginePanes::prepareEngine()
{
    // One renderer process for the site all panes load, rather than one per
    // pane; the pages are drawn in software, so no OpenGL driver is loaded.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--process-per-site --disable-gpu " + qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

BrowserPane* WebEnginePanes::create(QWidget* parent, const QString& startAddress)
{
    return new WebEnginePane(parent, startAddress);
}
