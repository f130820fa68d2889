#include "platform/soundeffects.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Playing returns at once whether or not the file exists or the machine has
// sound; the event loop goes on undisturbed while it plays.
TEST(SoundEffects, PlayingNeverHoldsUpTheCaller)
{
    QTemporaryDir dir;
    const QString files[] = {
        QStringLiteral(SOUND_DIR "/wickedsick.wav"), QStringLiteral(SOUND_DIR "/HellNo.wav"),
        dir.filePath(QStringLiteral("missing.wav")),
        dir.path(), // a folder, not a sound
    };
    SoundEffects sounds;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QElapsedTimer clock;
        clock.start();
        sounds.play(file);
        sounds.play(file); // again while the first may still play
        EXPECT_LT(clock.elapsed(), 50);
    }
    QElapsedTimer loop;
    loop.start();
    while (loop.elapsed() < 300) {
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_LT(turn.elapsed(), 100);
        QThread::msleep(5);
    }
}

} // namespace
