#include "qevquery.h"

#include "artwork.h"
#include "controlfactory.h"
#include "controlspec.h"
#include "hostconstants.h"
#include "platform/browserpane.h"
#include "platform/ticktimer.h"
#include "query/progressrun.h"
#include "tabstrip.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>

using query::QueryTabId;

namespace {

constexpr int kTwipsPerInch = 1440;
// A text field's greatest length, which selects the whole of any text.
constexpr int kWholeText = 32767;

// The handlers of each querying tab, in the order of query::kQueryTabs.
struct QueryHandlers {
    void (QevQuery::*click)();
    void (QevQuery::*tick)();
    void (QevQuery::*lookup)();
};
constexpr QueryHandlers kQueryHandlers[query::QueryTabCount] = {
    {&QevQuery::cmdBeginQuery_Click, &QevQuery::Timer1_Timer, &QevQuery::lookup},
    {&QevQuery::cmdBeginQuery2_Click, &QevQuery::Timer3_Timer, &QevQuery::lookup1},
    {&QevQuery::cmdBeginQuery04_Click, &QevQuery::Timer04_Timer, &QevQuery::lookup04},
    {&QevQuery::cmdBeginQuery04f_Click, &QevQuery::Timer041_Timer, &QevQuery::lookup04f},
    {&QevQuery::cmdBeginQueryut3_Click, &QevQuery::Timerut3_Timer, &QevQuery::lookuput3},
    {&QevQuery::cmdBeginQueryut3f_Click, &QevQuery::Timerut3f_Timer, &QevQuery::lookuput3f},
};

} // namespace

QevQuery::QevQuery(Platform platform, QWidget* parent) : QWidget(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("QevQuery"));
    setWindowTitle(QStringLiteral("Unreal Tournament Server Query v{Qev}3.0 by: Kestrun"));
    setWindowIcon(artwork::windowIcon());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(layout::windowFont());
    buildControls();
    connectHandlers();
}

void QevQuery::buildControls()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double pixelsPerTwip = (screen ? screen->logicalDotsPerInch() : 96.0) / kTwipsPerInch;
    ControlFactory factory(m_platform, pixelsPerTwip, QStringLiteral(UTQ_MAIN_STATUS_HOST));

    setFixedSize(factory.pixels(layout::kClientArea).size());

    QStringList captions;
    for (const layout::TabPage& tab : layout::kTabs)
        captions << QString::fromLatin1(tab.caption);
    const QRect stripPlace = factory.pixels(layout::kTabStrip);
    m_tabs = new TabStrip(this, captions, static_cast<int>(captions.size()) / layout::kTabRows,
                          factory.pixels({0, 0, 0, layout::kTabHeight}).height(), width());
    m_tabs->setObjectName(QStringLiteral("SSTTab0"));
    m_tabs->setGeometry(stripPlace);

    // The favourites option buttons of all three games form one group.
    m_favouriteOptions = new QButtonGroup(this);
    m_favouriteOptions->setExclusive(true);

    for (const layout::Control& c : layout::mainWindowControls()) {
        QWidget* parent = c.tab == layout::kOnWindow ? static_cast<QWidget*>(this) : m_tabs->page(c.tab);
        QObject* object = factory.create(c, parent, this);
        if (c.kind == layout::Kind::OptionButton)
            m_favouriteOptions->addButton(static_cast<QAbstractButton*>(object));
    }
    m_controls = factory.controls();
    widget<QRadioButton>("serverFav(0)")->setChecked(true);

    // Labels and pictures are drawn beneath every other control, as in the
    // layout's design: a caption label behind a button stays hidden by it.
    for (const layout::Control& c : layout::mainWindowControls()) {
        if (c.kind != layout::Kind::Label && c.kind != layout::Kind::Picture && c.kind != layout::Kind::Timer)
            widget<QWidget>(c.name)->raise();
    }
}

void QevQuery::connectHandlers()
{
    for (int i = 0; i < query::QueryTabCount; ++i) {
        const query::QueryTab& tab = query::kQueryTabs[static_cast<std::size_t>(i)];
        connect(widget<QAbstractButton>(tab.button), &QAbstractButton::clicked, this, kQueryHandlers[i].click);
        connect(widget<TickTimer>(tab.timer), &TickTimer::tick, this, kQueryHandlers[i].tick);
    }
}

void QevQuery::Form_Load()
{
    // The ping object is made here, before the window shows, once the ping class exists.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    SelectHostText();
    // The favourites files are read here, after the window shows: UT99, then UT3, then UT2004.
}

void QevQuery::Form_Unload()
{
    // Ends the program at once: no run ticks again and nothing is written.
    for (QObject* object : std::as_const(m_controls)) {
        if (auto* timer = qobject_cast<TickTimer*>(object))
            timer->setEnabled(false);
    }
    QCoreApplication::quit();
}

void QevQuery::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void QevQuery::SelectHostText()
{
    auto* host = widget<QLineEdit>("txtNameOrIP");
    host->setFocus();
    host->setSelection(0, kWholeText);
}

void QevQuery::cmdBeginQuery_Click() { beginQuery(query::Ut99Query); }
void QevQuery::cmdBeginQuery2_Click() { beginQuery(query::Ut99Favourites); }
void QevQuery::cmdBeginQuery04_Click() { beginQuery(query::Ut2004Query); }
void QevQuery::cmdBeginQuery04f_Click() { beginQuery(query::Ut2004Favourites); }
void QevQuery::cmdBeginQueryut3_Click() { beginQuery(query::Ut3Query); }
void QevQuery::cmdBeginQueryut3f_Click() { beginQuery(query::Ut3Favourites); }

void QevQuery::Timer1_Timer() { queryTick(query::Ut99Query); }
void QevQuery::Timer3_Timer() { queryTick(query::Ut99Favourites); }
void QevQuery::Timer04_Timer() { queryTick(query::Ut2004Query); }
void QevQuery::Timer041_Timer() { queryTick(query::Ut2004Favourites); }
void QevQuery::Timerut3_Timer() { queryTick(query::Ut3Query); }
void QevQuery::Timerut3f_Timer() { queryTick(query::Ut3Favourites); }

void QevQuery::lookup() { loadStatusPage(query::Ut99Query); }
void QevQuery::lookup1() { loadStatusPage(query::Ut99Favourites); }
void QevQuery::lookup04() { loadStatusPage(query::Ut2004Query); }
void QevQuery::lookup04f() { loadStatusPage(query::Ut2004Favourites); }
void QevQuery::lookuput3() { loadStatusPage(query::Ut3Query); }
void QevQuery::lookuput3f() { loadStatusPage(query::Ut3Favourites); }

void QevQuery::beginQuery(QueryTabId tab) { widget<TickTimer>(query::kQueryTabs[tab].timer)->setEnabled(true); }

void QevQuery::queryTick(QueryTabId id)
{
    const query::QueryTab& tab = query::kQueryTabs[id];
    progressTick(tab.timer, tab.bar, kQueryHandlers[id].lookup);
}

void QevQuery::progressTick(const char* timer, const char* bar, Handler work)
{
    auto* progress = widget<QProgressBar>(bar);
    const progressrun::Tick tick = progressrun::tick(static_cast<float>(progress->value()));
    if (!tick.finish) {
        progress->setValue(static_cast<int>(tick.value));
        return;
    }
    (this->*work)();
    widget<TickTimer>(timer)->setEnabled(false);
    progress->setValue(0);
}

void QevQuery::loadStatusPage(QueryTabId id)
{
    const query::QueryTab& tab = query::kQueryTabs[id];
    const QString webHost =
        QString::fromUtf8(tab.webHost == query::WebHost::Main ? UTQ_MAIN_STATUS_HOST : UTQ_GAME_STATUS_HOST);
    widget<BrowserPane>(tab.pane)->Navigate(statusAddress(webHost, *tab.format, queryServer(tab)));
    for (const char* field : tab.pingDisplay) {
        if (field)
            setText(field, QString());
    }
}

ServerFields QevQuery::queryServer(const query::QueryTab& tab) const
{
    const auto fieldText = [this](const char* name) { return name ? text(name) : QString(); };
    if (!tab.favourites)
        return {fieldText(tab.fields[0]), fieldText(tab.fields[1]), fieldText(tab.fields[2])};
    const auto row = favourites::chosenSlot(*tab.favourites, [this](const char* o) { return isOptionSet(o); });
    return row ? query::slotServer(*tab.favourites, *row, fieldText) : ServerFields{};
}

template <typename T> T* QevQuery::widget(const char* name) const
{
    return qobject_cast<T*>(m_controls.value(QString::fromLatin1(name)));
}

QString QevQuery::text(const char* name) const
{
    if (const auto* field = widget<QLineEdit>(name))
        return field->text();
    return widget<QLabel>(name)->text();
}

void QevQuery::setText(const char* name, const QString& text)
{
    if (auto* field = widget<QLineEdit>(name))
        field->setText(text);
    else
        widget<QLabel>(name)->setText(text);
}

bool QevQuery::isOptionSet(const char* name) const { return widget<QRadioButton>(name)->isChecked(); }
