#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/term/HanjaPainter.h"
#include "core/term/Pixmap.h"

namespace zel {

// The bytes of the conversion table and the four font files, read by the caller.
struct TFontFiles {
    std::string table;  // "Convert.tbl"
    std::string ascii;  // "ZelE00.FNT"
    std::string hangul; // "ZelH00.FNT"
    std::string sbs;    // "ZelSBS.FNT"
    std::string kss;    // "ZelKSS.FNT"
};

// Draws CP949 text with the program's own 16-pixel bitmap fonts: 8x16 ASCII
// glyphs, Hangul syllables composed from initial, medial and final component
// glyphs over the Johab code, KS X 1001 symbols from two 16x16 fonts, and Hanja
// through a THanjaPainter. Each DrawMode is a raster combination of black-on-
// white glyphs with the target, a brush colour and a coloured background strip.
class TBackDraw {
public:
    static constexpr std::size_t kTableEntries = 8836;
    static constexpr std::size_t kReservedEntries = 1419;
    static constexpr std::size_t kTableBytes = 2 * (kTableEntries + kReservedEntries);
    static constexpr std::size_t kAsciiBytes = 2048;
    static constexpr std::size_t kHangulBytes = 11008;
    static constexpr std::size_t kSbsBytes = 4064;
    static constexpr std::size_t kKssBytes = 35680;
    static constexpr int kStripWidth = 640;
    static constexpr int kInitials = 19, kMedials = 21, kFinals = 27;

    // Palette of COLORREF values (0x00BBGGRR), indices 1..18.
    using Palette = std::array<std::uint32_t, 19>;

    explicit TBackDraw(const Palette& palette);

    // Takes the table and fonts; false (with the name of the first missing or
    // short file in `error`) when a file is too short.
    bool Load(const TFontFiles& files, std::string* error = nullptr);
    bool Loaded() const { return loaded_; }

    void SetHanjaPainter(THanjaPainter* painter) { hanja_ = painter; }
    void SetPalette(const Palette& palette);
    // Palette index as a 0x00RRGGBB pixel; indices outside 0..18 give black.
    std::uint32_t Colour(int index) const;

    // Draws `text` with its top-left corner at (x, y); advances 8 pixels per
    // ASCII byte and 16 per double-byte character.
    void DrawText(TPixmap& canvas, int x, std::string_view text, int brushIndex, int stripIndex, int drawMode, int y);
    int DrawMode() const { return drawMode_; }

    // The Johab code for a KS X 1001 character, 0 outside the table.
    std::uint16_t JohabCode(std::uint8_t lead, std::uint8_t trail) const;

private:
    using Glyph = std::array<std::uint16_t, 16>; // rows, most significant bit leftmost

    void DrawWide(TPixmap& canvas, int x, int y, std::uint8_t lead, std::uint8_t trail);
    bool ComposeHangul(std::uint16_t code);
    void Combine(TPixmap& canvas, int x, int y, const Glyph& g, int width);
    const Glyph* HangulGlyph(int block, int glyph, int variant) const;

    std::array<std::uint32_t, 19> colours_{};
    std::vector<std::uint16_t> table_;
    std::vector<std::uint16_t> reserved_;
    std::array<Glyph, 128> ascii_{};
    std::vector<Glyph> hangul_;
    std::vector<Glyph> sbs_;
    std::vector<Glyph> kss_;
    std::vector<std::uint32_t> scratch_; // 640x16
    Glyph cell_{};
    int drawMode_ = 0;
    int brushIndex_ = 0;
    int stripIndex_ = 1;
    bool loaded_ = false;
    THanjaPainter* hanja_ = nullptr;
};

} // namespace zel
