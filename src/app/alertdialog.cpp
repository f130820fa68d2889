#include "alertdialog.h"

#include "artwork.h"
#include "controlfactory.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <cmath>

const AlertDialog::Design AlertDialog::kAlert{
    "Alert", {0, 0, 4110, 1890}, {435, 600, 2070, 195}, {2880, 1440, 1110, 360}, true};
const AlertDialog::Design AlertDialog::kAlert2{
    "Alert2", {0, 0, 4125, 1890}, {360, 600, 2070, 195}, {2880, 1440, 1110, 320}, false};

namespace {

QRect pixels(const layout::Twips& t, double pixelsPerTwip)
{
    const auto px = [pixelsPerTwip](int twips) { return static_cast<int>(std::lround(twips * pixelsPerTwip)); };
    return {px(t.left), px(t.top), px(t.width), px(t.height)};
}

} // namespace

AlertDialog::AlertDialog(const Design& design, double pixelsPerTwip, std::function<void()> okFocus)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_okFocus(std::move(okFocus))
{
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layout::windowFont());
    setFixedSize(pixels(design.client, pixelsPerTwip).size());

    auto* background = new QLabel(this);
    background->setPixmap(artwork::alertBackground(size()));
    background->setGeometry(rect());

    // Tab order as designed: cmdOK, lblAlert, cmdOK2.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    lblAlert = new QLabel(QStringLiteral("Invalid Password, Try Again!"), this);
    cmdOK2 = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    lblAlert->setObjectName(QStringLiteral("lblAlert"));
    cmdOK2->setObjectName(QStringLiteral("cmdOK2"));

    // The message may reach to the right edge: a stand-in face may be wider than the design's.
    QRect label = pixels(design.label, pixelsPerTwip);
    label.setRight(width() - 1);
    lblAlert->setGeometry(label);
    m_labelHeight = label.height();
    QPalette palette = lblAlert->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    lblAlert->setPalette(palette);
    cmdOK->setGeometry(pixels(design.ok, pixelsPerTwip));
    cmdOK2->setGeometry(pixels(design.ok, pixelsPerTwip));
    cmdOK->setHidden(!design.okShown);
    cmdOK2->setHidden(design.okShown);

    connect(cmdOK, &QPushButton::clicked, this, &AlertDialog::cmdOK_Click);
    connect(cmdOK2, &QPushButton::clicked, this, &AlertDialog::cmdOK2_Click);
}

void AlertDialog::Form_Load(const QRect& mainWindowFrame) { move(alertPlacement(mainWindowFrame)); }

void AlertDialog::setMessage(const QString& text)
{
    const bool lines = text.contains(QLatin1Char('\n'));
    lblAlert->setText(text);
    lblAlert->setWordWrap(lines);
    lblAlert->setAlignment(lines ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    lblAlert->resize(lblAlert->width(), lines ? cmdOK->y() - lblAlert->y() : m_labelHeight);
}

void AlertDialog::cmdOK_Click()
{
    m_okFocus();
    close();
}

void AlertDialog::cmdOK2_Click() { close(); }

void AlertDialog::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        (cmdOK->isHidden() ? cmdOK2 : cmdOK)->click();
    else
        QWidget::keyPressEvent(event);
}

QPoint alertPlacement(const QRect& frame)
{
    const float left = static_cast<float>(frame.left()) + static_cast<float>(frame.width()) / 3.0f;
    const float top = static_cast<float>(frame.top()) + static_cast<float>(frame.height()) / 2.5f;
    return {static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top))};
}
