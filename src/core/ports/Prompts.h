#pragma once
#include <string>

namespace zel {

// The small dialogs shared by every window. Texts are CP949 bytes.
// Calls are synchronous: they return once the user has answered (or, for a
// timed notice, once it has been put up).
class Prompts {
public:
    virtual ~Prompts() = default;
    // Timed notice (caption "벨다 알림 창"), closes itself after `ms`.
    virtual void Notify(const std::string& text, int ms) = 0;
    // Notice with one button "확 인".
    virtual void Alert(const std::string& text) = 0;
    // The same notice with its top left corner at a screen point (left, top);
    // where there is no screen it is Alert.
    virtual void AlertAt(const std::string& text, int, int) { Alert(text); }
    // Question with two buttons; true for the first (OK).
    virtual bool Confirm(const std::string& text, const std::string& okCaption, const std::string& cancelCaption) = 0;
};

} // namespace zel
