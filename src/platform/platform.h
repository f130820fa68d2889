#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class BrowserPane;
class Notifications;
class QUrl;
class QObject;
class QWidget;
class TickTimer;
class PingNetwork;
class UrlOpener;

// The operating system's services the window uses, one small interface each,
// with a real implementation for the desktop and fakes in the tests. The window
// is handed them at construction and uses nothing else of the platform.

class BrowserPanes {
public:
    virtual ~BrowserPanes() = default;
    // A pane as a child of parent that opens startAddress when created.
    virtual BrowserPane* create(QWidget* parent, const QString& startAddress) = 0;
    // Links of the program's own scheme, utquery:, that a page of this
    // machine's status service follows in a pane: the handler acts on one and
    // gives the address the pane shows next. No other program reaches them.
    virtual void followProgramLinks(std::function<QString(const QUrl& link)> handler) = 0;
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
    // The folder of the program's own files (its sounds), without a trailing
    // separator: beside the executable, or the data folder of an installed program.
    virtual QString path() const = 0;
    // The folder the favourites files are read from and saved to: the
    // executable's where it can be written, the user's configuration otherwise.
    virtual QString favouritesPath() const = 0;
};

class ProfileReader {
public:
    virtual ~ProfileReader() = default;
    // The value of key in section of the settings file, empty when the file,
    // section or key is missing or cannot be read.
    virtual QString read(const QString& file, const QString& section, const QString& key) = 0;
};

class FileReplacer {
public:
    virtual ~FileReplacer() = default;
    // Replaces the file's whole content, creating it when missing. Either the
    // new content is in place or the old file is untouched. Returns why not,
    // or nothing on success.
    virtual std::optional<QString> replace(const QString& file, const QByteArray& content) = 0;
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing a WAV file and returns at once. A missing file or a
    // machine without sound plays nothing.
    virtual void play(const QString& file) = 0;
};

struct Platform {
    BrowserPanes& panes;
    TickTimers& timers;
    ProgramDirectory& programDirectory;
    ProfileReader& profiles;
    FileReplacer& files;
    SoundPlayer& sounds;
    PingNetwork& network;
    UrlOpener& browser;
    Notifications& notifications;
};
