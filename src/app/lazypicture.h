#pragma once

#include <QLabel>
#include <QPixmap>

#include <functional>

// A picture drawn when it is first shown, not when the window is built: a
// window holds a large picture on each tab, and most tabs are never opened.
class LazyPicture : public QLabel {
    Q_OBJECT
public:
    LazyPicture(QWidget* parent, std::function<QPixmap()> draw) : QLabel(parent), m_draw(std::move(draw)) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        if (m_draw) {
            setPixmap(m_draw());
            m_draw = nullptr;
        }
        QLabel::showEvent(event);
    }

private:
    std::function<QPixmap()> m_draw;
};
