#include "webenginepane.h"

#include "webaddress.h"

#include <QHostAddress>
#include <QPointer>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <QWindow>

namespace {

constexpr char kProgramScheme[] = "utquery";

} // namespace

// The program's own links, followed only where a page of this machine asked.
class ProgramLinks : public QWebEngineUrlSchemeHandler {
public:
    std::function<QString(const QUrl&)> handler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        if (!handler || !QHostAddress(job->initiator().host()).isLoopback()) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        job->redirect(QUrl(handler(job->requestUrl())));
    }
};

namespace {

// What to do when nothing opened an address, in the status pages' colours,
// with the address ready to copy.
QString notOpenedPage(const QString& url, const QString& why)
{
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Not opened</title><style>"
               "body { margin: 0; padding: 10px 14px; font: 13px/1.35 \"DejaVu Sans\", Verdana, sans-serif; "
               "color: #e8e2d6; background: #1b120e; } h1 { font-size: 18px; } .bad { color: #ff8a70; } "
               "code { user-select: all; color: #ffb060; }</style></head><body>"
               "<h1>The address was not opened</h1><p class=\"bad\">%2</p>"
               "<p>Install the game, or register the program that should open these addresses for the scheme "
               "(for unreal: addresses, the game's launcher as the desktop's handler of x-scheme-handler/unreal, "
               "with xdg-mime), then try again.</p><p>The address, to copy: <code>%1</code></p></body></html>")
        .arg(url.toHtmlEscaped(), why.toHtmlEscaped());
}

} // namespace

WebEnginePane::WebEnginePane(QWidget* parent, const QString& startAddress)
    : BrowserPane(parent), m_desktop([pane = QPointer<WebEnginePane>(this)](const QString& url, const QString& why) {
          if (pane)
              pane->view()->setHtml(notOpenedPage(url, why));
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

void WebEnginePane::ReloadIfShowing(const QString& path)
{
    if (m_view && m_view->url().path() == path)
        m_view->reload();
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

WebEnginePanes::WebEnginePanes() : m_links(std::make_unique<ProgramLinks>()) {}

WebEnginePanes::~WebEnginePanes() = default;

void WebEnginePanes::prepareEngine()
{
    QWebEngineUrlScheme scheme(kProgramScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
    // One renderer process for the site all panes load, rather than one per
    // pane; the pages are drawn in software, so no OpenGL driver is loaded.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--process-per-site --disable-gpu " + qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // Qt WebEngine turns the pages' accessibility off for good on Linux unless
    // told; told, the pages build their tree once an assistive technology asks.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
}

void WebEnginePanes::followProgramLinks(std::function<QString(const QUrl& link)> handler)
{
    m_links->handler = std::move(handler);
    if (!QWebEngineProfile::defaultProfile()->urlSchemeHandler(kProgramScheme))
        QWebEngineProfile::defaultProfile()->installUrlSchemeHandler(kProgramScheme, m_links.get());
}

BrowserPane* WebEnginePanes::create(QWidget* parent, const QString& startAddress)
{
    return new WebEnginePane(parent, startAddress);
}
