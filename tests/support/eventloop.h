#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <functional>

// Runs this thread's event loop until done() holds or ms pass; done() at the end.
inline bool waitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QEventLoop loop; // sleeps until an event or 10 ms pass
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// Runs this thread's event loop for ms, so the test's own servers go on answering.
inline void runEventLoopFor(int ms)
{
    waitUntil([] { return false; }, ms);
}

struct Finished {
    int exitCode;
    QByteArray out, err;
};

// Runs a program to its end while this thread's event loop goes on, so the
// fake servers of the test answer it.
inline Finished runServing(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    while (process.state() != QProcess::NotRunning) {
        if (!process.waitForFinished(10)) // false, not true, once the event loop saw the end
            QCoreApplication::processEvents();
    }
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
