#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "core/term/HistoryBuffer.h"

namespace zel {

// Key handling of the one-line chat input: history recall with Up/Down,
// Right/Delete at the end pulling in the next entry, Enter committing the
// line and Ctrl+letter passed on as a single control character. The text is
// CP949 and the caret a byte offset; the widget mirrors both.
class TInputLine {
public:
    enum class Key { Up, Down, Left, Right, Delete, Backspace, Other };

    // Raised with a finished line (an empty one too) or one control character.
    std::function<void(const std::string&)> OnLine;

    // A key-down; true when the key is swallowed.
    bool KeyDown(Key key, bool ctrlHeld);
    // A typed character code (13 = Enter); true when swallowed.
    bool KeyPress(std::uint8_t ch);

    const std::string& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }
    void SetText(std::string text, std::size_t caret);
    const std::string& PreviousLine() const { return buffer_.Previous(); }
    const std::string& NextLine() const { return buffer_.Next(); }
    const TBuffer& Buffer() const { return buffer_; }

private:
    TBuffer buffer_;
    std::string text_;
    std::size_t caret_ = 0;
    bool ctrl_ = false;
};

} // namespace zel
