#include "desktopfiles.h"

#include "favourites/favouritesfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

QString IniProfileReader::read(const QString& file, const QString& section, const QString& key)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return favourites::profileValue(in.readAll(), section, key);
}

namespace {

// "utservers.ini: No space left on device"
QString failure(const QString& file, const QString& reason)
{
    return QFileInfo(file).fileName() + QStringLiteral(": ") + reason;
}

// Writes the whole content to a new file at path and forces it to the disk;
// every write, the flush and the close are checked.
std::optional<QString> writeNewFile(const QString& path, const QByteArray& content)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return out.errorString();
    for (qsizetype written = 0; written < content.size();) {
        const qint64 n = out.write(content.constData() + written, content.size() - written);
        if (n <= 0)
            return out.errorString();
        written += n;
    }
    if (::fsync(out.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    out.close();
    if (out.error() != QFileDevice::NoError)
        return out.errorString();
    return std::nullopt;
}

} // namespace

std::optional<QString> AtomicFileReplacer::replace(const QString& file, const QByteArray& content)
{
    // One fixed name beside the file, so a save that was interrupted leaves
    // nothing the next one does not replace or remove.
    const QString temporary = file + QStringLiteral(".saving");
    if (const std::optional<QString> error = writeNewFile(temporary, content)) {
        QFile::remove(temporary);
        return failure(file, *error);
    }
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(), QFile::encodeName(file).toStdString(), error);
    if (error) {
        QFile::remove(temporary);
        return failure(file, QString::fromLocal8Bit(error.message()));
    }
    return std::nullopt;
}
