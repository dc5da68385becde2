#pragma once
#include <string_view>

#include "client/term/TermView.h"
#include "core/term/ChatTermModel.h"

namespace zel {

// The game window's chat view (GoTerminal): appended lines in the bitmap
// fonts with a 750-line scroll-back.
class TChatTerm : public TTermView {
    Q_OBJECT
public:
    explicit TChatTerm(TBackDraw& draw, QWidget* parent = nullptr);

    // Appends CP949 text; with `newLine` the next text starts a new row.
    void AddText(std::string_view text, bool newLine);
    // Blanks the view (the game window does it on every show).
    void Clear();
    void SetColours(int fore, int back);
    void SetSBarPos(int pos) { ScrollTo(pos); }
    TChatTermModel& Model() { return model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void ScrollTo(int pos) override;

private:
    void RepaintDirty(bool all);

    TChatTermModel model_;
};

} // namespace zel
