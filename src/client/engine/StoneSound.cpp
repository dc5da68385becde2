#include "client/engine/StoneSound.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace zel {

TStoneSound::TStoneSound(const QString& voiceDir, QObject* parent) : QObject(parent), VoiceDir_(voiceDir)
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    Effect_ = new QSoundEffect(this);
    Effect_->setSource(QUrl("qrc:/board/stone.wav"));
    Effect_->setVolume(0.8f);
}

QString TStoneSound::VoiceFile(TSpokenWord word)
{
    if (word == TSpokenWord::kLastPeriod)
        return QStringLiteral("lastperiod.wav");
    return QString("count%1.wav").arg(static_cast<int>(word));
}

void TStoneSound::PlayStone()
{
    // A sound that failed to load stays silent; a click in the middle of the
    // previous one restarts it.
    if (Effect_ == nullptr || Effect_->status() == QSoundEffect::Error)
        return;
    Effect_->play();
}

void TStoneSound::Speak(TSpokenWord word)
{
    const int index = static_cast<int>(word) - 1;
    if (Effect_ == nullptr || VoiceDir_.isEmpty() || index < 0 || index >= kWords)
        return;
    QSoundEffect*& effect = Words_[static_cast<std::size_t>(index)];
    if (effect == nullptr) {
        // Loaded on first use; the clock's next tick finds it ready.
        const QString path = QDir(VoiceDir_).filePath(VoiceFile(word));
        if (!QFileInfo::exists(path))
            return;
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
    }
    if (effect->status() == QSoundEffect::Error)
        return;
    // A word still sounding gives way to the next one.
    for (QSoundEffect* other : Words_)
        if (other != nullptr && other != effect && other->isPlaying())
            other->stop();
    effect->play();
}

} // namespace zel
