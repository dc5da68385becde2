#pragma once
#include <string>

namespace zel {

// Plays the stone sound asynchronously.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void PlayStone() = 0;
};

// Opens a web address in the user's browser.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void Open(const std::string& url) = 0;
};

} // namespace zel
