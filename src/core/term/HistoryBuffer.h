#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace zel {

// The input line's history: 50 entries in a ring around Current; the entry
// before Current is the previous line, the one after it the next.
class TBuffer {
public:
    static constexpr int kLines = 50;
    enum class Key { Up, Down };

    // Stores `text` at Current; with `advance` moves on and shifts the 26
    // entries from Current one place further.
    void Commit(const std::string& text, bool advance);
    // Removes the entry after Current from the window of 26.
    void DropNext();
    const std::string& Previous() const { return Line(current_ - 1); }
    const std::string& Next() const { return Line(current_ + 1); }
    // Keeps `text` at Current, steps one entry (Up: back, Down: on) and
    // returns the entry found there.
    const std::string& Recall(const std::string& text, Key key);

    std::int32_t Current() const { return current_; }
    const std::string& Line(int index) const { return lines_[Slot(index)]; }

private:
    static std::size_t Slot(int index) { return static_cast<std::size_t>(((index % kLines) + kLines) % kLines); }
    std::string& At(int index) { return lines_[Slot(index)]; }

    std::int32_t current_ = 0;
    std::array<std::string, kLines> lines_;
};

} // namespace zel
