#pragma once

#include "eventloop.h"
#include "files.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A handler for unreal:// registered with the desktop in a temporary XDG
// folder, as a game registers itself; it records every argument it gets.
class RecordingHandler {
public:
    RecordingHandler()
    {
        const QString folder = m_dir.path();
        QDir().mkpath(folder + QStringLiteral("/applications"));
        writeFile(folder + QStringLiteral("/record.sh"),
                  "#!/bin/sh\nfor a in \"$@\"; do printf '<%s>\\n' \"$a\" >> \"$(dirname \"$0\")/received\"; done\n");
        QFile::setPermissions(folder + QStringLiteral("/record.sh"), QFile::ReadOwner | QFile::ExeOwner);
        writeFile(folder + QStringLiteral("/applications/ut-recorder.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + QFile::encodeName(folder) +
                      "/record.sh %u\nMimeType=x-scheme-handler/unreal;\nNoDisplay=true\n");
        writeFile(folder + QStringLiteral("/mimeapps.list"),
                  "[Default Applications]\nx-scheme-handler/unreal=ut-recorder.desktop\n");
        for (const char* variable : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME"})
            qputenv(variable, QFile::encodeName(folder));
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("BROWSER", "false"); // never a real browser for an unknown scheme
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("DISPLAY", ":99"); // xdg-open asks the desktop's registry only on a display
    }
    // The lines received so far, waiting up to 20 s for count of them.
    QStringList received(int count) const
    {
        const auto lines = [this] {
            return QString::fromUtf8(fileBytes(m_dir.filePath(QStringLiteral("received"))))
                .split('\n', Qt::SkipEmptyParts);
        };
        waitUntil([&] { return lines().size() >= count; }, 20000);
        return lines();
    }

private:
    QTemporaryDir m_dir;
};
