#pragma once

#include "windowlayout.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

// A small borderless message window with one line of text and an OK button.
// It never blocks: the main window stays usable while it is open. It is made
// afresh each time it opens and discarded when it closes.
class AlertDialog : public QWidget {
    Q_OBJECT
public:
    struct Design {
        const char* name;
        layout::Twips client; // width and height only
        layout::Twips label;
        layout::Twips ok; // both OK buttons lie here, one above the other
        bool okShown;     // which of them shows at first: cmdOK, else cmdOK2
    };
    static const Design kAlert;
    static const Design kAlert2;

    // okFocus: what cmdOK does before the dialog closes.
    AlertDialog(const Design& design, double pixelsPerTwip, std::function<void()> okFocus);

    // Places the dialog over the main window, whose frame is given.
    void Form_Load(const QRect& mainWindowFrame);

    // Shows text in lblAlert; a text of several lines reaches down to the OK button.
    void setMessage(const QString& text);

    void cmdOK_Click();
    void cmdOK2_Click();

    QLabel* lblAlert;
    QPushButton* cmdOK;
    QPushButton* cmdOK2;

protected:
    // Enter and Escape answer OK, as in the desktop's own message boxes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> m_okFocus;
    int m_labelHeight;
};

// Where a dialog opens: a third of the main window's width from its left edge
// and its height over 2.5 down from its top, in single precision.
QPoint alertPlacement(const QRect& mainWindowFrame);
