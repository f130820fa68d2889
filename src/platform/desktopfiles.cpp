#include "desktopfiles.h"

#include "favourites/favouritesfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kMaxSettingsFile = 8 << 20; // far beyond any favourites file

// The identity of a file's present content as far as stat tells it.
QByteArray fileStamp(const struct stat& info)
{
    QByteArray stamp;
    for (const auto n :
         {static_cast<qint64>(info.st_dev), static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_size),
          static_cast<qint64>(info.st_mtim.tv_sec), static_cast<qint64>(info.st_mtim.tv_nsec)})
        stamp += QByteArray::number(n) + ' ';
    return stamp;
}

} // namespace

QString IniProfileReader::read(const QString& file, const QString& section, const QString& key)
{
    // Opened without waiting, so that a FIFO or device in the file's place
    // never blocks; only a regular file is read, and only its first 8 MiB.
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    // Each file is read once while it stays as it is, not once per key.
    const QByteArray stamp = fileStamp(info);
    if (file != m_file || stamp != m_stamp) {
        QFile in;
        QByteArray content;
        if (in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            content = in.read(kMaxSettingsFile);
        m_profile = favourites::Profile(content);
        m_file = file;
        m_stamp = stamp;
    } else {
        ::close(fd);
    }
    return m_profile.value(section, key);
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
