// Writes the program's icon as PNG files for the desktop's icon theme:
// OUTPUT_DIR/SIZExSIZE/apps/NAME.png at each size. Usage: iconpaint OUTPUT_DIR NAME

#include "app/artwork.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    QGuiApplication app(argc, argv); // QPainter wants one, even on an image
    for (int size : artwork::kIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) ||
            !artwork::iconImage(size).save(QStringLiteral("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[2]))))
            return 1;
    }
    return 0;
}
