#include "core/game/ByoyomiVoice.h"

#include "core/ports/Sound.h"

namespace zel {

void TByoyomiVoice::Notice(int count)
{
    const bool on = sound_ != nullptr && (enabled_ == nullptr || *enabled_);
    if (count >= 1 && count <= kSpokenSeconds) {
        // The clock repeats a count on every tick of its second.
        if (count == lastSpoken_)
            return;
        lastSpoken_ = count;
        if (on)
            sound_->Speak(static_cast<TSpokenWord>(count));
        return;
    }
    lastSpoken_ = 0;
    if (count == kLastPeriodBegins && on)
        sound_->Speak(TSpokenWord::kLastPeriod);
}

} // namespace zel
