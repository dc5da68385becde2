#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace zel {

// The last five lines sent (chat, macros, memos) with their send times. Five
// equal texts sent within two seconds are a flood.
class TFloodRing {
public:
    static constexpr int kSlots = 5;
    static constexpr std::int32_t kWindow = 2000;

    // Records a sent line; true when the ring now shows a flood.
    bool Record(std::int32_t now, const std::string& text);
    void Clear();

private:
    struct Slot {
        std::int32_t time = 0;
        std::string text;
        bool used = false;
    };
    std::array<Slot, kSlots> slots_;
    int next_ = 0;
};

} // namespace zel
