#include "client/term/ChatTerm.h"

namespace zel {

TChatTerm::TChatTerm(TBackDraw& draw, QWidget* parent) : TTermView(draw, 642, 800, parent)
{
    FillAll(model_.EmulBGC());
}

void TChatTerm::AddText(std::string_view text, bool newLine)
{
    model_.AddText(text, newLine);
    RepaintDirty(false);
}

void TChatTerm::Clear()
{
    model_.Clear();
    FillAll(model_.EmulBGC());
    RepaintDirty(true);
}

void TChatTerm::SetColours(int fore, int back)
{
    model_.SetColours(fore, back);
    // The strip below the last whole row takes the new background too.
    FillAll(model_.EmulBGC());
    RepaintDirty(true);
}

void TChatTerm::ScrollTo(int pos)
{
    model_.SetSBarPos(pos);
    RepaintDirty(true);
}

void TChatTerm::RepaintDirty(bool all)
{
    const TTermColours colours{model_.EmulFGC(), model_.EmulBGC(), false};
    for (int r = 1; r <= model_.Rows(); ++r) {
        if (!all && !model_.RowDirty(r))
            continue;
        DrawRow(model_.ViewRow(r), model_.Columns(), (r - 1) * 16, colours);
        update(0, (r - 1) * 16, width(), 16);
    }
    model_.ClearDamage();
    UpdateScrollBar(model_.SBarMax(), model_.SBarPos());
}

void TChatTerm::resizeEvent(QResizeEvent*)
{
    PlaceScrollBar();
    model_.Resize((width() - ScrollBarWidth()) / 8, height() / 16);
    FillAll(model_.EmulBGC());
    RepaintDirty(true);
}

} // namespace zel
