#pragma once

#include "platform.h"

#include "favourites/favouritesfile.h"

// Settings files read with the favourites' own private-profile reader.
class IniProfileReader : public ProfileReader {
public:
    QString read(const QString& file, const QString& section, const QString& key) override;

private:
    QString m_file; // the file last read, its stat stamp and its values
    QByteArray m_stamp;
    favourites::Profile m_profile;
};

// Replaces files through a new file beside them ("NAME.saving"), written and
// flushed to the disk in full before it is renamed over the old one.
class AtomicFileReplacer : public FileReplacer {
public:
    std::optional<QString> replace(const QString& file, const QByteArray& content) override;
};
