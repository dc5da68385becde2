#pragma once
#include <string>

namespace zel {

// The words of the spoken byo-yomi countdown: the numbers one to ten, then
// the announcement of the last period.
enum class TSpokenWord : int {
    kOne = 1,
    kTen = 10,
    kLastPeriod = 11,
};

// Plays the program's sounds asynchronously; a machine without audio output
// stays silent. Neither call waits for the sound.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void PlayStone() = 0;
    virtual void Speak(TSpokenWord word) = 0;
};

// Opens a web address in the user's browser.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void Open(const std::string& url) = 0;
};

} // namespace zel
