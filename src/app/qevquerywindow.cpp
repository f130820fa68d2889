#include "qevquery.h"

#include "alertdialog.h"
#include "artwork.h"
#include "buildconfig.h"
#include "controlfactory.h"
#include "favourites/favouritesfile.h"
#include "linklabel.h"
#include "platform/ticktimer.h"
#include "presetcombobox.h"
#include "qevqueryhandlers.h"
#include "tabstrip.h"
#include "windowlayout.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

// The window's building: its controls from the layout table, its handlers
// wired to them, and access to the controls by name.

namespace {

constexpr int kTwipsPerInch = 1440;

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
    guardFavouriteFields();
    connectHandlers();
}

QevQuery::~QevQuery()
{
    // The dialogs are windows of their own; they go with the main window.
    delete m_alert;
    delete m_alert2;
}

void QevQuery::buildControls()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_pixelsPerTwip = (screen ? screen->logicalDotsPerInch() : 96.0) / kTwipsPerInch;
    ControlFactory factory(m_platform, m_pixelsPerTwip, QStringLiteral(UTQ_MAIN_STATUS_HOST));

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
        connect(widget<QAbstractButton>(tab.button), &QAbstractButton::clicked, this,
                QevQueryHandlers::kQueryHandlers[i].click);
        connect(widget<TickTimer>(tab.timer), &TickTimer::tick, this, QevQueryHandlers::kQueryHandlers[i].tick);
    }
    for (int i = 0; i < favourites::SaveTabCount; ++i) {
        const favourites::SaveTab& tab = favourites::kSaveTabs[static_cast<std::size_t>(i)];
        connect(widget<QAbstractButton>(tab.button), &QAbstractButton::clicked, this,
                QevQueryHandlers::kSaveHandlers[i].click);
        connect(widget<TickTimer>(tab.timer), &TickTimer::tick, this, QevQueryHandlers::kSaveHandlers[i].tick);
    }
    for (const QevQueryHandlers::ClickHandler& click : QevQueryHandlers::kClickHandlers) {
        QObject* control = m_controls.value(QLatin1String(click.control));
        if (auto* combo = qobject_cast<PresetComboBox*>(control))
            connect(combo, &PresetComboBox::chosen, this, click.handler);
        else if (auto* label = qobject_cast<LinkLabel*>(control))
            connect(label, &LinkLabel::clicked, this, click.handler);
        else
            connect(qobject_cast<QAbstractButton*>(control), &QAbstractButton::clicked, this, click.handler);
    }
    // Enter in a query tab's fields begins its query; in the password field, submits it.
    for (const query::QueryTab& tab : query::kQueryTabs) {
        for (const char* field : tab.fields) {
            if (field)
                connect(widget<QLineEdit>(field), &QLineEdit::returnPressed, widget<QAbstractButton>(tab.button),
                        &QAbstractButton::click);
        }
    }
    connect(widget<QLineEdit>("txtPooPooPeePee"), &QLineEdit::returnPressed, widget<QAbstractButton>("cmdA2"),
            &QAbstractButton::click);
    for (int i = 0; i < ping::CommandCount; ++i) {
        connect(widget<QAbstractButton>(ping::kPingCommands[static_cast<std::size_t>(i)].button),
                &QAbstractButton::clicked, this, QevQueryHandlers::kPingHandlers[i]);
    }
}

void QevQuery::guardFavouriteFields()
{
    // A favourite loads as at most 254 characters, and a line break would split
    // its line in the file: neither may enter a field, nor half a character.
    for (const favourites::SaveTab& tab : favourites::kSaveTabs) {
        for (const favourites::Slot& slot : tab.table->rows) {
            for (const char* name : slot.fields) {
                if (!name)
                    continue;
                QLineEdit* field = widget<QLineEdit>(name);
                field->setMaxLength(favourites::kMaxValueLength);
                if (name == slot.fields[favourites::Name]) { // its option button says whose it is
                    auto* option = widget<QRadioButton>(slot.option);
                    connect(field, &QLineEdit::textChanged, option,
                            [option, slotName = option->accessibleName()](const QString& server) {
                                option->setAccessibleName(server.isEmpty() ? slotName
                                                                           : slotName + QStringLiteral(": ") + server);
                            });
                }
                connect(field, &QLineEdit::textChanged, field, [field](const QString& text) {
                    QString flat = favourites::withoutLineBreaks(text);
                    if (flat.size() == favourites::kMaxValueLength && flat.back().isHighSurrogate())
                        flat.chop(1); // the limit cut a character in two
                    if (flat != text) {
                        const int cursor = field->cursorPosition();
                        field->setText(flat);
                        field->setCursorPosition(std::min(cursor, static_cast<int>(flat.size())));
                    }
                });
            }
        }
    }
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
