#pragma once
#include <QObject>

#include "core/ports/Sound.h"

class QSoundEffect;

namespace zel {

// The stone sound through Qt Multimedia: played asynchronously, and silently
// skipped when the machine has no audio output.
class TStoneSound : public QObject, public Sound {
    Q_OBJECT
public:
    explicit TStoneSound(QObject* parent = nullptr);
    void PlayStone() override;
    // Whether an audio output was found and the sound is loaded or loading.
    bool Available() const { return Effect_ != nullptr; }

private:
    QSoundEffect* Effect_ = nullptr;
};

} // namespace zel
