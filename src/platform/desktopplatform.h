#pragma once

#include "platform.h"
#include "qttimers.h"
#include "webenginepane.h"

// The real platform parts of the desktop program.
class ExecutableDirectory : public ProgramDirectory {
public:
    QString path() const override;
};

class DesktopPlatform {
public:
    Platform parts() { return {m_panes, m_timers, m_directory}; }

private:
    WebEnginePanes m_panes;
    QtTickTimers m_timers;
    ExecutableDirectory m_directory;
};
