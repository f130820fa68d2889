#pragma once

#include "query/game.h"

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn when the window is built: nothing is taken
// from image files, so every picture is the program's own.
namespace artwork {

QPixmap background(Game game, QSize size);
QPixmap gameLogo(QSize size);
QPixmap makersEmblem(QSize size);
QPixmap alertBackground(QSize size);
QIcon windowIcon();

} // namespace artwork
