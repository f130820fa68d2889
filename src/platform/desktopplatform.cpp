#include "desktopplatform.h"

#include <QCoreApplication>

QString ExecutableDirectory::path() const { return QCoreApplication::applicationDirPath(); }
