#pragma once
#include <cstdint>

#include "core/app/DockZone.h"

namespace zel {

// Recognises a drag of a top-level window from its moves alone, where the
// window manager moves the window and the program never sees the button:
// moves that carry the pointer along at a steady offset from the window are
// a drag; the end of the moves (a quiet time) or a release the program does
// see is the drop. A drop counts only with the pointer in the site's zone.
class TDockDrag {
public:
    // The pointer may lag the window by this much between two moves.
    static constexpr int kSlack = 32;
    // Moves in a row at a steady offset before they count as a drag.
    static constexpr int kSteadyMoves = 2;
    // No move for this long ends the drag.
    static constexpr std::int32_t kQuietMs = 500;

    // The window's frame is now `frame` with the pointer at `cursor`; `site`
    // is the dock site's client area (empty when there is none). A frame
    // that changed its size is being resized by an edge, not dragged.
    void Moved(std::int32_t now, const TDockRect& frame, TDockPoint cursor, const TDockRect& site);
    // True once, when a drag ended by quiet time with the pointer in the zone.
    bool Tick(std::int32_t now);
    // A mouse release seen during a drag: true when it drops in the zone.
    bool Released(TDockPoint cursor);
    void Cancel();

    bool Dragging() const { return steady_ >= kSteadyMoves; }
    // True while moves are being followed (a drag or the start of one).
    bool Following() const { return following_; }
    // The drop preview: the zone while a drag's pointer is in it, else empty.
    TDockRect Preview() const;
    TDockPoint Cursor() const { return cursor_; }

private:
    bool following_ = false;
    int steady_ = 0;
    std::int32_t lastMove_ = 0;
    TDockRect frame_;
    TDockPoint offset_;
    TDockPoint cursor_;
    TDockRect site_;
};

} // namespace zel
