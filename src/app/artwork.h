#pragma once

#include "core/game.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <vector>

// The program's pictures, drawn when the window is built: nothing is taken
// from image files, so every picture is the program's own.
namespace artwork {

// A caption drawn straight on a background: where it lies, and its colour.
struct Caption {
    QRect place;
    QColor colour;
};

// The game's background; under each caption a plate, light under a dark
// caption and dark under a light one, keeps it readable on the picture.
QPixmap background(Game game, QSize size, const std::vector<Caption>& captions = {});
QPixmap gameLogo(QSize size);
QPixmap makersEmblem(QSize size);
QPixmap alertBackground(QSize size);
// The program's icon, drawn at any size; the desktop's icon theme gets it at these.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QImage iconImage(int size);
QIcon windowIcon();

} // namespace artwork
