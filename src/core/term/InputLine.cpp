#include "core/term/InputLine.h"

#include <algorithm>

namespace zel {

void TInputLine::SetText(std::string text, std::size_t caret)
{
    text_ = std::move(text);
    caret_ = std::min(caret, text_.size());
}

bool TInputLine::KeyDown(Key key, bool ctrlHeld)
{
    ctrl_ = ctrlHeld;
    switch (key) {
    case Key::Backspace:
    case Key::Left:
        return caret_ == 0;
    case Key::Up:
    case Key::Down:
        text_ = buffer_.Recall(text_, key == Key::Up ? TBuffer::Key::Up : TBuffer::Key::Down);
        caret_ = text_.size();
        return true;
    case Key::Right:
    case Key::Delete:
        if (caret_ < text_.size())
            return false;
        text_ += buffer_.Next();
        caret_ = text_.size();
        buffer_.DropNext();
        return true;
    case Key::Other:
        break;
    }
    return false;
}

bool TInputLine::KeyPress(std::uint8_t ch)
{
    if (ctrl_ && ch <= 26) {
        if (OnLine)
            OnLine(std::string(1, static_cast<char>(ch)));
        return true;
    }
    if (ch != 13)
        return false;
    const std::string line = text_;
    buffer_.Commit(line, true);
    text_.clear();
    caret_ = 0;
    if (OnLine)
        OnLine(line);
    return true;
}

} // namespace zel
