#pragma once

#include "artwork.h"
#include "platform/platform.h"
#include "windowlayout.h"

#include <QFont>
#include <QHash>
#include <QRect>

class QObject;
class QWidget;

// Makes the widgets (and timers) that the layout describes, in pixels of the
// screen's logical resolution, and keeps them by name.
class ControlFactory {
public:
    ControlFactory(Platform platform, double pixelsPerTwip, QString statusHost);

    // Creates control as a child of parent (or, for a frame's contents, of the
    // frame), or as a timer owned by timerOwner.
    QObject* create(const layout::Control& control, QWidget* parent, QObject* timerOwner);

    QRect pixels(const layout::Twips& twips) const;
    const QHash<QString, QObject*>& controls() const { return m_controls; }

private:
    QWidget* createWidget(const layout::Control& control, QWidget* parent);
    void nameForAssistiveTechnology(const layout::Control& control, QWidget* widget) const;
    // The coloured captions that lie straight on a tab's background picture.
    std::vector<artwork::Caption> captionsOn(const layout::Control& picture) const;

    Platform m_platform;
    double m_pixelsPerTwip;
    QString m_statusHost;
    QHash<QString, QObject*> m_controls;
};

namespace layout {
// The window's fonts, with stand-ins where the named faces are missing.
QFont windowFont();
QFont font(Font font);
} // namespace layout
