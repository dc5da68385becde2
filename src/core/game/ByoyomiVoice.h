#pragma once

namespace zel {

class Sound;

// Decides what the spoken countdown says for the user's own clock: each of
// the last ten seconds of a byo-yomi period once ("열" .. "하나"), and the
// start of the last period. Fed with the clock's notices; main time raises
// none, so it is never spoken.
class TByoyomiVoice {
public:
    // `sound` may be null (nothing is said); `enabled` is the user's switch
    // and outlives this object (null: always on).
    TByoyomiVoice(Sound* sound, const bool* enabled) : sound_(sound), enabled_(enabled) {}

    // A notice of the user's clock, as TElmGoInfo::TimeOver counts: seconds
    // left in the period (> 0), or a period used up (-2: the last one begins).
    void Notice(int count);
    // The turn changed: the next period counts down afresh.
    void Reset() { lastSpoken_ = 0; }

private:
    static constexpr int kSpokenSeconds = 10;
    static constexpr int kLastPeriodBegins = -2;
    Sound* sound_;
    const bool* enabled_;
    int lastSpoken_ = 0;
};

} // namespace zel
