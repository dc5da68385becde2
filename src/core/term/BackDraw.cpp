#include "core/term/BackDraw.h"

#include "core/term/HangulVariants.h"

#include <algorithm>

namespace zel {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

// Component code -> glyph number (0 = no glyph).
int InitialGlyph(int code)
{
    return code >= 2 && code <= 20 ? code - 1 : 0;
}

int MedialGlyph(int code)
{
    if (code >= 3 && code <= 7)
        return code - 2;
    if (code >= 10 && code <= 15)
        return code - 4;
    if (code >= 18 && code <= 23)
        return code - 6;
    if (code >= 26 && code <= 29)
        return code - 8;
    return 0;
}

int FinalGlyph(int code)
{
    if (code >= 2 && code <= 17)
        return code - 1;
    if (code >= 19 && code <= 29)
        return code - 2;
    return 0;
}

std::uint32_t ToPixel(std::uint32_t colorref)
{
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

void ReadWideGlyphs(const std::string& bytes, std::size_t count, std::vector<std::array<std::uint16_t, 16>>& out)
{
    out.assign(count, {});
    for (std::size_t g = 0; g < count; ++g)
        for (std::size_t r = 0; r < 16; ++r) {
            const auto hi = static_cast<std::uint8_t>(bytes[g * 32 + r * 2]);
            const auto lo = static_cast<std::uint8_t>(bytes[g * 32 + r * 2 + 1]);
            out[g][r] = static_cast<std::uint16_t>((hi << 8) | lo);
        }
}

} // namespace

TBackDraw::TBackDraw(const Palette& palette) : scratch_(static_cast<std::size_t>(kStripWidth) * 16, kWhite)
{
    SetPalette(palette);
}

void TBackDraw::SetPalette(const Palette& palette)
{
    for (std::size_t i = 0; i < colours_.size(); ++i)
        colours_[i] = ToPixel(palette[i]);
}

std::uint32_t TBackDraw::Colour(int index) const
{
    return index >= 0 && index < static_cast<int>(colours_.size()) ? colours_[static_cast<std::size_t>(index)] : 0;
}

bool TBackDraw::Load(const TFontFiles& f, std::string* error)
{
    struct Need {
        const std::string& bytes;
        std::size_t size;
        const char* name;
    };
    for (const Need& n : {Need{f.table, kTableBytes, "Convert.tbl"}, Need{f.ascii, kAsciiBytes, "ZelE00.FNT"},
                          Need{f.hangul, kHangulBytes, "ZelH00.FNT"}, Need{f.sbs, kSbsBytes, "ZelSBS.FNT"},
                          Need{f.kss, kKssBytes, "ZelKSS.FNT"}}) {
        if (n.bytes.size() < n.size) {
            if (error)
                *error = n.name;
            loaded_ = false;
            return false;
        }
    }
    table_.assign(kTableEntries, 0);
    reserved_.assign(kReservedEntries, 0);
    for (std::size_t i = 0; i < kTableEntries + kReservedEntries; ++i) {
        const auto lo = static_cast<std::uint8_t>(f.table[2 * i]);
        const auto hi = static_cast<std::uint8_t>(f.table[2 * i + 1]);
        const auto v = static_cast<std::uint16_t>(lo | (hi << 8));
        if (i < kTableEntries)
            table_[i] = v;
        else
            reserved_[i - kTableEntries] = v;
    }
    for (std::size_t c = 0; c < 128; ++c)
        for (std::size_t r = 0; r < 16; ++r)
            ascii_[c][r] = static_cast<std::uint16_t>(static_cast<std::uint8_t>(f.ascii[c * 16 + r]) << 8);
    ReadWideGlyphs(f.hangul, kHangulBytes / 32, hangul_);
    ReadWideGlyphs(f.sbs, kSbsBytes / 32, sbs_);
    ReadWideGlyphs(f.kss, kKssBytes / 32, kss_);
    loaded_ = true;
    return true;
}

std::uint16_t TBackDraw::JohabCode(std::uint8_t lead, std::uint8_t trail) const
{
    if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE || table_.empty())
        return 0;
    return table_[static_cast<std::size_t>(lead - 0xA1) * 94 + static_cast<std::size_t>(trail - 0xA1)];
}

void TBackDraw::DrawText(TPixmap& canvas, int x, std::string_view text, int brushIndex, int stripIndex, int drawMode,
                         int y)
{
    drawMode_ = drawMode;
    brushIndex_ = drawMode < 4 ? brushIndex : brushIndex_;
    stripIndex_ = stripIndex;
    const int w = 8 * static_cast<int>(text.size());
    const std::uint32_t strip = Colour(stripIndex);
    if (drawMode == 4) {
        for (int r = 0; r < 16; ++r)
            for (int c = std::max(x, 0); c < std::min(x + w, kStripWidth); ++c)
                scratch_[static_cast<std::size_t>(r * kStripWidth + c)] = strip;
    } else if (drawMode == 0 || drawMode == 2 || drawMode == 3) {
        canvas.FillRect(x, y, w, 16, strip);
    }
    if (!loaded_)
        return;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        if (b < 0x80) {
            Combine(canvas, x, y, ascii_[b], 8);
            x += 8;
            ++i;
        } else {
            const auto trail = i + 1 < text.size() ? static_cast<std::uint8_t>(text[i + 1]) : std::uint8_t{0};
            DrawWide(canvas, x, y, b, trail);
            x += 16;
            i += 2;
        }
    }
}

void TBackDraw::DrawWide(TPixmap& canvas, int x, int y, std::uint8_t lead, std::uint8_t trail)
{
    const std::uint16_t code = JohabCode(lead, trail);
    const int hi = code >> 8, lo = code & 0xFF;
    if (hi >= 0x88 && hi <= 0xD3) {
        if (ComposeHangul(code))
            Combine(canvas, x, y, cell_, 16);
    } else if (hi == 0xD4 && lo >= 0x81) {
        const auto k = static_cast<std::size_t>(lo - 0x81);
        if (k < sbs_.size())
            Combine(canvas, x, y, sbs_[k], 16);
    } else if (hi >= 0xD9 && hi <= 0xDE && ((lo >= 0x31 && lo <= 0x7E) || (lo >= 0x91 && lo <= 0xFE))) {
        const int column = lo <= 0x7E ? lo - 0x31 : lo - 0x43;
        const auto k = static_cast<std::size_t>((hi - 0xD9) * 188 + column);
        if (k < kss_.size())
            Combine(canvas, x, y, kss_[k], 16);
    } else if (hi >= 0xE0 && hi <= 0xF9 && hanja_) {
        std::uint32_t ink = Colour(stripIndex_);
        if (drawMode_ == 1)
            ink = kWhite;
        else if (drawMode_ != 2 && drawMode_ != 3 && x >= 0 && x < kStripWidth)
            ink = scratch_[static_cast<std::size_t>(8 * kStripWidth + x)];
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        hanja_->DrawHanja(canvas, x, y, std::string_view(bytes, 2), ink);
    }
}

const TBackDraw::Glyph* TBackDraw::HangulGlyph(int block, int glyph, int variant) const
{
    static constexpr int counts[3] = {kInitials, kMedials, kFinals};
    static constexpr int bases[3] = {0, 8 * kInitials, 8 * kInitials + 4 * kMedials};
    if (glyph < 1)
        return nullptr;
    const auto k = static_cast<std::size_t>(bases[block] + variant * counts[block] + glyph - 1);
    return k < hangul_.size() ? &hangul_[k] : nullptr;
}

// Builds the syllable in the composition cell. A syllable without an initial
// glyph starts from an empty cell, so no ink of the previous one shows through.
bool TBackDraw::ComposeHangul(std::uint16_t code)
{
    const int i = (code >> 10) & 31, m = (code >> 5) & 31, f = code & 31;
    const int gi = InitialGlyph(i), gm = MedialGlyph(m), gf = FinalGlyph(f);
    const bool hasFinal = gf != 0;
    cell_.fill(0);
    const Glyph* parts[3] = {HangulGlyph(0, gi, InitialVariant(m, hasFinal)),
                             HangulGlyph(1, gm, MedialVariant(i, hasFinal)), HangulGlyph(2, gf, FinalVariant(m))};
    bool any = false;
    for (const Glyph* g : parts) {
        if (!g)
            continue;
        any = true;
        for (std::size_t r = 0; r < 16; ++r)
            cell_[r] = static_cast<std::uint16_t>(cell_[r] | (*g)[r]);
    }
    return any;
}

// Raster combination of a black-on-white glyph G with the target:
// 1: T | ~G, 2: T | G, 3: (T & ~G) | (brush & G), else (T & G) | (scratch & ~G).
void TBackDraw::Combine(TPixmap& canvas, int x, int y, const Glyph& g, int width)
{
    const std::uint32_t brush = Colour(brushIndex_);
    for (int r = 0; r < 16; ++r) {
        const int yy = y + r;
        if (yy < 0 || yy >= canvas.Height())
            continue;
        std::uint32_t* line = canvas.Line(yy);
        const std::uint16_t bits = g[static_cast<std::size_t>(r)];
        for (int c = 0; c < width; ++c) {
            const int xx = x + c;
            if (xx < 0 || xx >= canvas.Width())
                continue;
            const bool ink = (bits & (0x8000u >> c)) != 0;
            std::uint32_t& t = line[xx];
            switch (drawMode_) {
            case 1:
                if (ink)
                    t = kWhite;
                break;
            case 2:
                if (!ink)
                    t = kWhite;
                break;
            case 3:
                if (!ink)
                    t = brush;
                break;
            default:
                if (ink)
                    t = xx < kStripWidth ? scratch_[static_cast<std::size_t>(r * kStripWidth + xx)] : 0;
                break;
            }
        }
    }
}

} // namespace zel
