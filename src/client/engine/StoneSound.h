#pragma once
#include <QObject>
#include <QString>
#include <array>

#include "core/ports/Sound.h"

class QSoundEffect;

namespace zel {

// The stone sound and the spoken countdown through Qt Multimedia: played
// asynchronously, and silently skipped when the machine has no audio output
// or a sound file is missing.
class TStoneSound : public QObject, public Sound {
    Q_OBJECT
public:
    // The countdown's words are read from `voiceDir` ("count1.wav" ..
    // "count10.wav", "lastperiod.wav"); empty: no words.
    explicit TStoneSound(const QString& voiceDir = {}, QObject* parent = nullptr);
    void PlayStone() override;
    void Speak(TSpokenWord word) override;
    // Whether an audio output was found and the sound is loaded or loading.
    bool Available() const { return Effect_ != nullptr; }
    // The file that says `word`.
    static QString VoiceFile(TSpokenWord word);

private:
    static constexpr int kWords = static_cast<int>(TSpokenWord::kLastPeriod);
    QSoundEffect* Effect_ = nullptr;
    QString VoiceDir_;
    std::array<QSoundEffect*, kWords> Words_{};
};

} // namespace zel
