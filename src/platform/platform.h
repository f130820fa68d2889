#pragma once

#include <QString>

class BrowserPane;
class QObject;
class QWidget;
class TickTimer;

// The operating system's services the window uses, one small interface each,
// with a real implementation for the desktop and fakes in the tests. The window
// is handed them at construction and uses nothing else of the platform.

class BrowserPanes {
public:
    virtual ~BrowserPanes() = default;
    // A pane as a child of parent that opens startAddress when created.
    virtual BrowserPane* create(QWidget* parent, const QString& startAddress) = 0;
};

class TickTimers {
public:
    virtual ~TickTimers() = default;
    // A stopped timer owned by parent.
    virtual TickTimer* create(QObject* parent, int intervalMs) = 0;
};

class ProgramDirectory {
public:
    virtual ~ProgramDirectory() = default;
    // The folder of the program's executable, without a trailing separator.
    virtual QString path() const = 0;
};

struct Platform {
    BrowserPanes& panes;
    TickTimers& timers;
    ProgramDirectory& programDirectory;
};
