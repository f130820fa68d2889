#pragma once

#include "platform.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

// WAV playback with Qt Multimedia. Each file is loaded once and kept, as a
// child; its loading and playing happen on Qt's own time, never the caller's.
class SoundEffects : public QObject, public SoundPlayer {
public:
    SoundEffects();
    ~SoundEffects() override;
    SoundEffects(const SoundEffects&) = delete;
    SoundEffects& operator=(const SoundEffects&) = delete;

    void play(const QString& file) override;

private:
    QHash<QString, QSoundEffect*> m_effects;
};
