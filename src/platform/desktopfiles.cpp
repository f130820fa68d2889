#include "desktopfiles.h"

#include "favourites/favouritesfile.h"

#include <QFile>
#include <QSaveFile>

QString IniProfileReader::read(const QString& file, const QString& section, const QString& key)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return favourites::profileValue(in.readAll(), section, key);
}

std::optional<QString> AtomicFileReplacer::replace(const QString& file, const QByteArray& content)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return out.errorString();
    if (out.write(content) != content.size()) {
        const QString error = out.errorString();
        out.cancelWriting();
        return error;
    }
    if (!out.commit())
        return out.errorString();
    return std::nullopt;
}
