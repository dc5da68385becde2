#pragma once

namespace zel {

// A point and a rectangle in screen pixels, as the dock rules see them.
struct TDockPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TDockPoint&) const = default;
};

struct TDockRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
    // Right and bottom edges are outside, as for any half-open pixel range.
    bool Contains(TDockPoint p) const
    {
        return !Empty() && p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
    bool operator==(const TDockRect&) const = default;
};

// The drop zone of a dock site whose client area is `client` (screen
// coordinates): from one fifth to four fifths of its width and height.
// Empty for an empty client area or one too small to leave a zone.
TDockRect DockZone(const TDockRect& client);

// True when `cursor` lies in the drop zone of `client`.
bool InDockZone(const TDockRect& client, TDockPoint cursor);

} // namespace zel
