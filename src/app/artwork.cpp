#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace artwork {

namespace {

// The light a colour gives off as the eye sees it, from 0 (black) to 1 (white).
double relativeLuminance(const QColor& colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.03928f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

QPixmap background(Game game, QSize size, const std::vector<Caption>& captions)
{
    const GameInfo& colours = gameInfo(game);
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QRadialGradient glow(QPointF(size.width() * 0.3, size.height() * 0.15), size.width() * 0.9);
    glow.setColorAt(0.0, QColor::fromRgba(colours.glowColour));
    glow.setColorAt(1.0, QColor::fromRgba(colours.deepColour));
    painter.fillRect(pixmap.rect(), glow);

    // A faint grid of diagonal lines, like a metal floor plate: lines through
    // (-height + k * step, 0), which repeat every step both ways, so one tile
    // of them is drawn and laid over the picture (drawn whole, every line
    // over a large picture took tens of milliseconds).
    constexpr int step = 14;
    const int phase = (step - size.height() % step) % step;
    QPixmap tile(step, step);
    tile.fill(Qt::transparent);
    QPainter tilePainter(&tile);
    tilePainter.setRenderHint(QPainter::Antialiasing);
    tilePainter.setPen(QPen(QColor::fromRgba(colours.lineColour), 1));
    for (int x = phase - 2 * step; x <= step; x += step)
        tilePainter.drawLine(x - step, -step, x + 2 * step, 2 * step);
    tilePainter.end();
    painter.drawTiledPixmap(pixmap.rect(), tile);

    painter.setPen(Qt::NoPen);
    for (const Caption& caption : captions) {
        painter.setBrush(relativeLuminance(caption.colour) < 0.17 ? QColor(236, 240, 246) : QColor(8, 8, 10));
        painter.drawRoundedRect(QRectF(caption.place).adjusted(-3, -1, 3, 1), 3, 3);
    }
    return pixmap;
}

QPixmap gameLogo(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(size.height() * 6 / 10);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("UT99"));
    const QRectF bounds = text.boundingRect();
    text.translate(size.width() / 2.0 - bounds.center().x(), size.height() / 2.0 - bounds.center().y());

    QLinearGradient metal(0, 0, 0, size.height());
    metal.setColorAt(0.0, QColor(255, 230, 150));
    metal.setColorAt(0.5, QColor(220, 120, 20));
    metal.setColorAt(1.0, QColor(120, 30, 0));
    painter.setPen(QPen(QColor(40, 10, 0), 2));
    painter.setBrush(metal);
    painter.drawPath(text);
    return pixmap;
}

QPixmap makersEmblem(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF box = QRectF(pixmap.rect()).adjusted(2, 2, -2, -2);
    QPainterPath shield;
    shield.moveTo(box.left(), box.top());
    shield.lineTo(box.right(), box.top());
    shield.lineTo(box.right(), box.center().y());
    shield.quadTo(box.right(), box.bottom(), box.center().x(), box.bottom());
    shield.quadTo(box.left(), box.bottom(), box.left(), box.center().y());
    shield.closeSubpath();
    painter.setPen(QPen(QColor(230, 230, 240), 2));
    painter.setBrush(QColor(150, 20, 20));
    painter.drawPath(shield);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(box.height() * 0.55));
    painter.setFont(font);
    painter.drawText(box.adjusted(0, 0, 0, -box.height() * 0.1), Qt::AlignCenter, QStringLiteral("Q"));
    return pixmap;
}

QPixmap alertBackground(QSize size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient steel(0, 0, 0, size.height());
    steel.setColorAt(0.0, QColor(60, 16, 8));
    steel.setColorAt(1.0, QColor(12, 4, 2));
    painter.fillRect(pixmap.rect(), steel);
    painter.setPen(QPen(QColor(230, 120, 20), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(pixmap.rect()).adjusted(1, 1, -1, -1));
    return pixmap;
}

QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    // A cross-hair over a dark disc.
    painter.setBrush(QColor(30, 30, 40));
    painter.setPen(QPen(QColor(230, 120, 20), 2));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.drawEllipse(QRectF(10, 10, 12, 12));
    painter.drawLine(16, 3, 16, 12);
    painter.drawLine(16, 20, 16, 29);
    painter.drawLine(3, 16, 12, 16);
    painter.drawLine(20, 16, 29, 16);
    return image;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(QPixmap::fromImage(iconImage(size)));
    return icon;
}

} // namespace artwork
