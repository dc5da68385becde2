#pragma once
#include <string>
#include <vector>

namespace zel {

// A font as the plan asks for it; the printer's font is Size points high.
struct LFontDesc {
    enum : int { kPlain = 0, kItalic = 1, kBold = 2 };
    std::string Name; // CP949
    int Size = 10;    // points
    int Style = kPlain;
    bool operator==(const LFontDesc&) const = default;
};

// One drawing operation in printer pixels. Lines run from (X, Y) to (X + W,
// Y + H); circles fill or outline the ellipse in the rectangle; bars fill it
// black, patches white; texts sit in the rectangle by their alignment.
struct TDrawOp {
    enum TKind : int { kLine, kCircle, kBar, kPatch, kText };
    enum TAlign : int { kLeft = 1, kHCentre = 2, kRight = 4, kTop = 8, kVCentre = 16, kBottom = 32 };

    TKind Kind = kLine;
    int X = 0, Y = 0, W = 0, H = 0;
    int Pen = 1;         // line and outline width
    bool Filled = false; // circles: filled black
    bool White = false;  // texts: white ink
    std::string Text;    // CP949
    LFontDesc Font;
    int FontPx = 0; // the font's height in printer pixels
    int Align = kLeft | kTop;
};

struct TPage {
    std::vector<TDrawOp> Ops;
};

// Everything a print job draws, page by page.
struct TPrintPlan {
    std::vector<TPage> Pages;
    // Texts of every page in order, one per line (for tests and text search).
    std::string AllText() const;
};

} // namespace zel
