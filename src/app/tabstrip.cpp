#include "tabstrip.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

// A tab as assistive technology sees it: an invisible widget over its painted
// header, so that each tab is an object of its own.
class PageTab : public QWidget {
    Q_OBJECT
public:
    PageTab(QWidget* header, const QString& caption) : QWidget(header)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleName(caption);
    }
};

namespace {

class PageTabInterface : public QAccessibleWidget {
public:
    PageTabInterface(QWidget* tab, TabStrip* strip) : QAccessibleWidget(tab, QAccessible::PageTab), m_strip(strip) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const bool current = index() == m_strip->currentIndex();
        s.selectable = s.focusable = true;
        s.selected = current;
        s.focused = current && widget()->parentWidget()->hasFocus();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            m_strip->setCurrentIndex(index());
    }

private:
    int index() const { return static_cast<int>(widget()->parentWidget()->children().indexOf(widget())); }
    TabStrip* m_strip;
};

QAccessibleInterface* tabStripInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className == QLatin1String("TabHeader"))
        return new QAccessibleWidget(widget, QAccessible::PageTabList);
    if (className == QLatin1String("PageTab"))
        return new PageTabInterface(widget, qobject_cast<TabStrip*>(widget->parentWidget()->parentWidget()));
    return nullptr;
}

} // namespace

// The rows of tab headers, kept above the pages so that a click on a header
// always reaches it. It takes the focus as one control, as a tab bar does:
// the arrow keys, Home and End choose the tab.
class TabHeader : public QWidget {
    Q_OBJECT
public:
    explicit TabHeader(TabStrip* strip) : QWidget(strip), m_strip(strip)
    {
        // Before the first name is set: that may make and keep a plain interface.
        static const bool interfaces = (QAccessible::installFactory(tabStripInterface), true);
        Q_UNUSED(interfaces);
        setFocusPolicy(Qt::TabFocus);
        setAccessibleName(QStringLiteral("Tabs"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int i = 0; i < m_strip->count(); ++i) {
            QStyleOptionTab option;
            option.initFrom(this);
            option.rect = m_strip->tabRect(i);
            option.text = m_strip->tabText(i);
            option.shape = QTabBar::RoundedNorth;
            option.position = QStyleOptionTab::Middle;
            if (i == m_strip->currentIndex())
                option.state |= QStyle::State_Selected;
            style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
            if (i == m_strip->currentIndex() && hasFocus()) {
                QStyleOptionFocusRect focus;
                focus.initFrom(this);
                focus.rect = option.rect.adjusted(3, 3, -3, -3);
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
            }
        }
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const int last = m_strip->count() - 1, current = m_strip->currentIndex();
        switch (event->key()) {
        case Qt::Key_Left: m_strip->setCurrentIndex(std::max(0, current - 1)); break;
        case Qt::Key_Right: m_strip->setCurrentIndex(std::min(last, current + 1)); break;
        case Qt::Key_Home: m_strip->setCurrentIndex(0); break;
        case Qt::Key_End: m_strip->setCurrentIndex(last); break;
        default: QWidget::keyPressEvent(event); return;
        }
        emitFocus();
    }

    void focusInEvent(QFocusEvent*) override
    {
        update();
        emitFocus();
    }
    void focusOutEvent(QFocusEvent*) override { update(); }

    void mousePressEvent(QMouseEvent* event) override
    {
        for (int i = 0; i < m_strip->count(); ++i) {
            if (m_strip->tabRect(i).contains(event->position().toPoint())) {
                m_strip->setCurrentIndex(i);
                return;
            }
        }
    }

private:
    // A screen reader follows the focus to the current tab.
    void emitFocus()
    {
        QAccessibleEvent focus(m_strip->m_tabs[static_cast<std::size_t>(m_strip->currentIndex())], QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }

    TabStrip* m_strip;
};

TabStrip::TabStrip(QWidget* parent, const QStringList& captions, int tabsPerRow, int tabHeight, int headerWidth)
    : QWidget(parent), m_captions(captions), m_tabsPerRow(tabsPerRow), m_tabHeight(tabHeight),
      m_headerWidth(headerWidth), m_header(new TabHeader(this))
{
    for (int i = 0; i < captions.size(); ++i) {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("SSTTab0.page(%1)").arg(i));
        page->setVisible(i == m_current);
        m_pages.push_back(page);
    }
    for (const QString& caption : captions)
        m_tabs.push_back(new PageTab(m_header, caption));
    m_header->raise();
    // The keys of the desktop's tab controls, anywhere in the window; they wrap
    // around, and the new tab's first field takes the focus.
    const auto step = [this](int by) {
        setCurrentIndex((m_current + by + count()) % count());
        focusFirstField();
    };
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(1); });
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(-1); });
}

void TabStrip::setCurrentIndex(int index)
{
    if (index == m_current || index < 0 || index >= count())
        return;
    page(m_current)->hide();
    QAccessible::State selection;
    selection.selected = true;
    for (const int changed : {std::exchange(m_current, index), index}) {
        QAccessibleStateChangeEvent event(m_tabs[static_cast<std::size_t>(changed)], selection);
        QAccessible::updateAccessibility(&event);
    }
    page(m_current)->show();
    m_header->update();
}

void TabStrip::focusFirstField()
{
    // The first control that takes typed text, else the first that takes the focus at all.
    QWidget* current = page(m_current);
    QWidget* first = nullptr;
    for (QWidget* w = current->nextInFocusChain(); w != current; w = w->nextInFocusChain()) {
        if (!current->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() ||
            !w->isVisibleTo(current))
            continue;
        if (w->testAttribute(Qt::WA_InputMethodEnabled)) {
            first = w;
            break;
        }
        first = first ? first : w;
    }
    if (first)
        first->setFocus(Qt::TabFocusReason);
}

QRect TabStrip::tabRect(int index) const
{
    const int row = index / m_tabsPerRow;
    const int column = index % m_tabsPerRow;
    const int left = m_headerWidth * column / m_tabsPerRow;
    const int right = m_headerWidth * (column + 1) / m_tabsPerRow;
    return {left, row * m_tabHeight, right - left, m_tabHeight};
}

void TabStrip::resizeEvent(QResizeEvent*)
{
    for (QWidget* page : m_pages)
        page->setGeometry(rect());
    const int rows = (count() + m_tabsPerRow - 1) / m_tabsPerRow;
    m_header->setGeometry(0, 0, width(), rows * m_tabHeight);
    for (std::size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setGeometry(tabRect(static_cast<int>(i)));
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_header->height() - 1, 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

#include "tabstrip.moc"
