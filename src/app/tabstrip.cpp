#include "tabstrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

// The rows of tab headers, kept above the pages so that a click on a header
// always reaches it.
class TabHeader : public QWidget {
public:
    explicit TabHeader(TabStrip* strip) : QWidget(strip), m_strip(strip) {}

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
        }
    }

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
    m_header->raise();
    // The keys of the desktop's tab controls, anywhere in the window; they wrap around.
    const auto step = [this](int by) { setCurrentIndex((m_current + by + count()) % count()); };
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
    m_current = index;
    page(m_current)->show();
    m_header->update();
    emit currentChanged(index);
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
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_header->height() - 1, 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
