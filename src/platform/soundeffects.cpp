#include "soundeffects.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

SoundEffects::SoundEffects() = default;
SoundEffects::~SoundEffects() = default;

void SoundEffects::play(const QString& file)
{
    if (!QFileInfo(file).isFile())
        return;
    QSoundEffect*& effect = m_effects[file];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(file));
    }
    // Until the file has loaded, play() is remembered and done once it is ready.
    effect->play();
}
