#include "client/engine/StoneSound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace zel {

TStoneSound::TStoneSound(QObject* parent) : QObject(parent)
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    Effect_ = new QSoundEffect(this);
    Effect_->setSource(QUrl("qrc:/board/stone.wav"));
    Effect_->setVolume(0.8f);
}

void TStoneSound::PlayStone()
{
    // A sound that failed to load stays silent; a click in the middle of the
    // previous one restarts it.
    if (Effect_ == nullptr || Effect_->status() == QSoundEffect::Error)
        return;
    Effect_->play();
}

} // namespace zel
