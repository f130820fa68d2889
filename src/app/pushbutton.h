#pragma once

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

// A push button that Enter and Return press too, as Space does, and whose
// focus shows on any background colour it was given.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            click();
        else
            QPushButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent* event) override
    {
        QPushButton::paintEvent(event);
        if (hasFocus() && autoFillBackground()) { // the style's own focus frame may vanish in the colour
            QPainter painter(this);
            painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
            painter.drawRect(rect().adjusted(3, 3, -4, -4));
        }
    }
};
