#include "controlfactory.h"

#include "artwork.h"
#include "core/routes.h"
#include "lazypicture.h"
#include "linklabel.h"
#include "platform/browserpane.h"
#include "platform/ticktimer.h"
#include "presetcombobox.h"
#include "pushbutton.h"
#include "querytabs/progressrun.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace layout {

namespace {

void installFontStandIns()
{
    // Tahoma and MS Sans Serif come with Windows; elsewhere the nearest faces
    // in width keep captions inside their controls.
    static const bool installed = [] {
        const QStringList standIns{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                   QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
        QFont::insertSubstitutions(QStringLiteral("Tahoma"), standIns);
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   QStringList{QStringLiteral("Microsoft Sans Serif")} + standIns);
        QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), standIns);
        return true;
    }();
    Q_UNUSED(installed);
}

QFont makeFont(const char* family, double points, bool bold)
{
    installFontStandIns();
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QColor colour(BgrColour bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Sets a colour role in every colour group, so disabled controls keep it too.
void setRole(QWidget* widget, QPalette::ColorRole role, BgrColour bgr)
{
    if (bgr == kSystemColour)
        return;
    QPalette palette = widget->palette();
    const QColor c = bgr == kButtonFace ? palette.color(QPalette::Button) : colour(bgr);
    palette.setColor(role, c);
    widget->setPalette(palette);
}

// The tabs come in the games' order, three each.
Game tabGame(int tab) { return kGames[static_cast<std::size_t>(tab / 3)].game; }

} // namespace

QFont windowFont() { return makeFont("Tahoma", 8.25, false); }

QFont font(Font f)
{
    switch (f) {
    case Font::Window: break;
    case Font::TahomaBold: return makeFont("Tahoma", 8.25, true);
    case Font::Tahoma9: return makeFont("Tahoma", 9, false);
    case Font::Tahoma9Bold: return makeFont("Tahoma", 9, true);
    case Font::MsSansSerifBold: return makeFont("MS Sans Serif", 8.25, true);
    case Font::MicrosoftSansSerifBold: return makeFont("Microsoft Sans Serif", 8.25, true);
    }
    return windowFont();
}

} // namespace layout

using namespace layout;

ControlFactory::ControlFactory(Platform platform, double pixelsPerTwip, QString statusHost)
    : m_platform(platform), m_pixelsPerTwip(pixelsPerTwip), m_statusHost(std::move(statusHost))
{
}

QRect ControlFactory::pixels(const Twips& twips) const
{
    const auto px = [this](int t) { return static_cast<int>(std::lround(t * m_pixelsPerTwip)); };
    return {px(twips.left), px(twips.top), px(twips.width), px(twips.height)};
}

QObject* ControlFactory::create(const Control& control, QWidget* parent, QObject* timerOwner)
{
    QObject* object = nullptr;
    if (control.kind == Kind::Timer) {
        object = m_platform.timers.create(timerOwner, progressrun::kIntervalMs);
    } else {
        if (control.container)
            parent = qobject_cast<QWidget*>(m_controls.value(QString::fromLatin1(control.container)));
        object = createWidget(control, parent);
    }
    object->setObjectName(QString::fromLatin1(control.name));
    m_controls.insert(object->objectName(), object);
    return object;
}

std::vector<artwork::Caption> ControlFactory::captionsOn(const Control& picture) const
{
    const QPoint origin = pixels(picture.place).topLeft();
    std::vector<artwork::Caption> captions;
    for (const Control& c : mainWindowControls()) {
        if (c.kind == Kind::Label && c.tab == picture.tab && !c.container && !(c.flags & Hidden) &&
            c.back == kSystemColour && c.fore != kSystemColour)
            captions.push_back({pixels(c.place).translated(-origin), colour(c.fore)});
    }
    return captions;
}

void ControlFactory::nameForAssistiveTechnology(const Control& control, QWidget* widget) const
{
    QString name = control.accessibleName;
    if (control.labelledBy) {
        auto* label = qobject_cast<QLabel*>(m_controls.value(QLatin1String(control.labelledBy)));
        label->setBuddy(widget);
        name = label->text().simplified(); // the caption's spaces only lay it out
    }
    if (name.isEmpty())
        return;
    widget->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

QWidget* ControlFactory::createWidget(const Control& control, QWidget* parent)
{
    const QRect place = pixels(control.place);
    QWidget* widget = nullptr;
    QPalette::ColorRole backRole = QPalette::Window;
    QPalette::ColorRole foreRole = QPalette::WindowText;

    switch (control.kind) {
    case Kind::Button:
        widget = new PushButton(control.text, parent);
        backRole = QPalette::Button;
        foreRole = QPalette::ButtonText;
        break;
    case Kind::Label:
        widget = (control.flags & HandPointer) ? new LinkLabel(control.text, parent) : new QLabel(control.text, parent);
        break;
    case Kind::TextField:
        widget = new QLineEdit(control.text, parent);
        backRole = QPalette::Base;
        foreRole = QPalette::Text;
        break;
    case Kind::HelpText: {
        auto* edit = new QPlainTextEdit(control.text, parent);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        widget = edit;
        backRole = QPalette::Base;
        foreRole = QPalette::Text;
        break;
    }
    case Kind::ComboBox: {
        auto* combo = new PresetComboBox(parent);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr); // a completed text is no choice either
        combo->addItems(control.items);
        combo->setCurrentIndex(-1);
        combo->setEditText(control.text);
        widget = combo;
        break;
    }
    case Kind::OptionButton: widget = new QRadioButton(control.text, parent); break;
    case Kind::Frame: widget = new QGroupBox(control.text, parent); break;
    case Kind::Picture: {
        const QString name = QString::fromLatin1(control.name);
        if (name == QLatin1String("UTlogo"))
            widget = new LazyPicture(parent, [size = place.size()] { return artwork::gameLogo(size); });
        else if (name == QLatin1String("PicQev(0)"))
            widget = new LazyPicture(parent, [size = place.size()] { return artwork::makersEmblem(size); });
        else
            widget = new LazyPicture(
                parent, [game = tabGame(control.tab), size = place.size(), captions = captionsOn(control)] {
                    return artwork::background(game, size, captions);
                });
        break;
    }
    case Kind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        widget = bar;
        break;
    }
    case Kind::BrowserPane:
        widget = m_platform.panes.create(parent, startPageAddress(m_statusHost, control.text));
        break;
    case Kind::Timer: break;
    }

    widget->setGeometry(place);
    if (control.font != Font::Window)
        widget->setFont(layout::font(control.font));
    if (control.back != kSystemColour) {
        widget->setAutoFillBackground(true);
        widget->setBackgroundRole(backRole); // a button fills with the Button role unless told
        setRole(widget, backRole, control.back);
    }
    setRole(widget, foreRole, control.fore);
    if (!control.tooltip.isEmpty())
        widget->setToolTip(control.tooltip);
    if (control.flags & Disabled)
        widget->setEnabled(false);
    if (control.flags & Hidden)
        widget->setHidden(true);
    if (control.flags & HandPointer)
        widget->setCursor(Qt::PointingHandCursor);
    if (control.flags & NoTabStop)
        widget->setFocusPolicy(Qt::ClickFocus);
    nameForAssistiveTechnology(control, widget);
    // Where the designed face is missing a stand-in may be wider: a label grows
    // to show its whole caption rather than cut it.
    if (control.kind == Kind::Label && widget->sizeHint().width() > place.width())
        widget->resize(widget->sizeHint().width(), place.height());
    return widget;
}
