#pragma once

#include <QWidget>

#include <vector>

class PageTab;
class TabHeader;

// A strip of captioned tabs in rows above one page area, each tab with a page
// that covers the whole strip; only the current tab's page shows. Controls are
// placed on a page in strip coordinates.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    // headerWidth: the width the rows of tabs share (the visible part of the strip).
    TabStrip(QWidget* parent, const QStringList& captions, int tabsPerRow, int tabHeight, int headerWidth);

    int count() const { return static_cast<int>(m_pages.size()); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QWidget* page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    QString tabText(int index) const { return m_captions.at(index); }
    // The tab's header in strip coordinates, where a click selects it.
    QRect tabRect(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TabHeader;
    void focusFirstField();

    QStringList m_captions;
    int m_tabsPerRow;
    int m_tabHeight;
    int m_headerWidth;
    int m_current = 0;
    std::vector<QWidget*> m_pages;
    std::vector<PageTab*> m_tabs; // what assistive technology sees of each tab
    TabHeader* m_header;
};
