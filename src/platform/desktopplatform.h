#pragma once

#include "desktopfiles.h"
#include "linuxpingnetwork.h"
#include "platform.h"
#include "qttimers.h"
#include "soundeffects.h"
#include "urlopener.h"
#include "webenginepane.h"

// The real platform parts of the desktop program.

// The program's folders, decided once at start-up. A program unpacked into a
// folder of its own keeps everything beside its executable, as it always did.
// An installed one (its sounds in its data folder, none beside it), or one
// whose folder it cannot write, keeps the favourites in the user's
// configuration folder, starting from the files found beside the executable.
class ProgramFolders : public ProgramDirectory {
public:
    ProgramFolders(const QString& executableFolder, const QString& dataFolder, const QString& configFolder);
    ProgramFolders(); // the running program's

    QString path() const override { return m_data; }
    QString favouritesPath() const override { return m_favourites; }

private:
    QString m_data, m_favourites;
};

class DesktopPlatform {
public:
    Platform parts() { return {m_panes, m_timers, m_directory, m_profiles, m_files, m_sounds, m_network, m_browser}; }

private:
    WebEnginePanes m_panes;
    QtTickTimers m_timers;
    ProgramFolders m_directory;
    IniProfileReader m_profiles;
    AtomicFileReplacer m_files;
    SoundEffects m_sounds;
    LinuxPingNetwork m_network;
    DesktopUrlOpener m_browser;
};
