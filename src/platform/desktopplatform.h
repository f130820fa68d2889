#pragma once

#include "dbusnotifications.h"
#include "desktopfiles.h"
#include "linuxpingnetwork.h"
#include "platform.h"
#include "programfolders.h"
#include "qttimers.h"
#include "soundeffects.h"
#include "urlopener.h"
#include "webenginepane.h"

// The real platform parts of the desktop program.

class DesktopPlatform {
public:
    QString favouritesFolder() const { return m_directory.favouritesPath(); }
    Platform parts()
    {
        return {m_panes, m_timers, m_directory, m_profiles, m_files, m_sounds, m_network, m_browser, m_notifications};
    }

private:
    WebEnginePanes m_panes;
    QtTickTimers m_timers;
    ProgramFolders m_directory;
    IniProfileReader m_profiles;
    AtomicFileReplacer m_files;
    SoundEffects m_sounds;
    LinuxPingNetwork m_network;
    DesktopUrlOpener m_browser;
    DBusNotifications m_notifications;
};
