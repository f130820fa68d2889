#pragma once

#include "platform.h"

// The program's folders, decided once at start-up. A program unpacked into a
// folder of its own keeps everything beside its executable, as it always did.
// An installed one (its sounds in its data folder, none beside it), or one
// whose folder it cannot write, keeps the favourites in the user's
// configuration folder, starting from the files found beside the executable.
class ProgramFolders : public ProgramDirectory {
public:
    ProgramFolders(const QString& executableFolder, const QString& dataFolder, const QString& configFolder);
    // The running program's: utquery's, or those of the tools installed beside it.
    ProgramFolders();

    QString path() const override { return m_data; }
    QString favouritesPath() const override { return m_favourites; }

private:
    QString m_data, m_favourites;
};
