#include "platform/soundeffects.h"
#include "support/eventloop.h"

#include <QSoundEffect>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// An alert's sound plays from the program's file, loaded once however often it
// plays; a file that is not there is no sound (Qt reports playing even where
// the machine has no audio device).
TEST(SoundEffects, EachFilePlaysLoadedOnceAndAMissingOneNot)
{
    SoundEffects sounds;
    sounds.play(QStringLiteral("/nonexistent/HellNo.wav"));
    EXPECT_TRUE(sounds.findChildren<QSoundEffect*>().isEmpty());
    sounds.play(QStringLiteral(SOUND_PATH));
    sounds.play(QStringLiteral(SOUND_PATH));
    const QList<QSoundEffect*> effects = sounds.findChildren<QSoundEffect*>();
    ASSERT_EQ(effects.size(), 1);
    EXPECT_EQ(effects[0]->source(), QUrl::fromLocalFile(QStringLiteral(SOUND_PATH)));
    EXPECT_TRUE(waitUntil([&] { return effects[0]->isPlaying(); }, 5000));
}

} // namespace
