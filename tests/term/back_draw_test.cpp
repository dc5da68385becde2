#include "core/term/BackDraw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "core/base/Cp949.h"
#include "support/TermFonts.h"

namespace zel {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// Empty fonts of the right sizes, with a few glyphs set by the tests.
struct SyntheticFonts {
    TFontFiles files;
    SyntheticFonts()
    {
        files.table.assign(TBackDraw::kTableBytes, '\0');
        files.ascii.assign(TBackDraw::kAsciiBytes, '\0');
        files.hangul.assign(TBackDraw::kHangulBytes, '\0');
        files.sbs.assign(TBackDraw::kSbsBytes, '\0');
        files.kss.assign(TBackDraw::kKssBytes, '\0');
    }
    void Map(std::uint8_t lead, std::uint8_t trail, std::uint16_t johab)
    {
        const std::size_t i = 2 * (static_cast<std::size_t>(lead - 0xA1) * 94 + (trail - 0xA1));
        files.table[i] = static_cast<char>(johab & 0xFF);
        files.table[i + 1] = static_cast<char>(johab >> 8);
    }
    // Glyph `index` of a 16x16 font gets one full ink row `row`.
    static void Mark(std::string& font, std::size_t index, int row)
    {
        font[index * 32 + static_cast<std::size_t>(row) * 2] = '\xFF';
        font[index * 32 + static_cast<std::size_t>(row) * 2 + 1] = '\xFF';
    }
};

std::uint16_t Johab(int initial, int medial, int final)
{
    return static_cast<std::uint16_t>(0x8000 | (initial << 10) | (medial << 5) | final);
}

// Rows of the 16x16 cell at x = 0 that hold ink (drawn white in mode 1 on black).
std::vector<int> InkRows(const TPixmap& p)
{
    std::vector<int> rows;
    for (int y = 0; y < 16; ++y)
        if (p.Pixel(0, y) == kWhite)
            rows.push_back(y);
    return rows;
}

TEST(BackDraw, ShortFilesAreRefused)
{
    TBackDraw draw(test::DistinctPalette());
    SyntheticFonts f;
    f.files.kss.pop_back();
    std::string error;
    EXPECT_FALSE(draw.Load(f.files, &error));
    EXPECT_EQ(error, "ZelKSS.FNT");
    SyntheticFonts g;
    EXPECT_TRUE(draw.Load(g.files));
}

TEST(BackDraw, RasterOperationOfEachDrawMode)
{
    // 'A' has ink in its left half only; brush 12, strip 3, canvas colour 10.
    SyntheticFonts f;
    for (int r = 0; r < 16; ++r)
        f.files.ascii['A' * 16 + static_cast<std::size_t>(r)] = '\xF0';
    TBackDraw draw(test::DistinctPalette());
    ASSERT_TRUE(draw.Load(f.files));
    const std::uint32_t bg = draw.Colour(10), brush = draw.Colour(12), strip = draw.Colour(3);
    struct Row {
        int mode;
        std::uint32_t ink, paper;
    };
    const Row rows[] = {{1, kWhite, bg}, {2, strip, kWhite}, {3, strip, brush}, {4, strip, bg}, {7, strip, bg}};
    for (const auto& r : rows) {
        TPixmap canvas(40, 20, bg);
        if (r.mode == 7) // any other mode takes the ink colour left in the scratch strip
            draw.DrawText(canvas, 8, "zz", 12, 3, 4, 30);
        draw.DrawText(canvas, 8, "A", 12, 3, r.mode, 2);
        EXPECT_EQ(canvas.Pixel(8, 2), r.ink) << r.mode;
        EXPECT_EQ(canvas.Pixel(15, 17), r.paper) << r.mode;
        EXPECT_EQ(canvas.Pixel(7, 2), bg) << r.mode;
        EXPECT_EQ(canvas.Pixel(16, 2), bg) << r.mode;
        EXPECT_EQ(canvas.Pixel(8, 18), bg) << r.mode;
        EXPECT_EQ(draw.DrawMode(), r.mode);
    }
}

TEST(BackDraw, HangulComponentsAndTheirVariants)
{
    // Every component glyph variant marks its own row: initial variant v row v,
    // medial variant v row 8 + v, final variant v row 12 + v.
    SyntheticFonts f;
    for (std::size_t g = 0; g < 19; ++g)
        for (int v = 0; v < 8; ++v)
            SyntheticFonts::Mark(f.files.hangul, static_cast<std::size_t>(v) * 19 + g, v);
    for (std::size_t g = 0; g < 21; ++g)
        for (int v = 0; v < 4; ++v)
            SyntheticFonts::Mark(f.files.hangul, 152 + static_cast<std::size_t>(v) * 21 + g, 8 + v);
    for (std::size_t g = 0; g < 27; ++g)
        for (int v = 0; v < 4; ++v)
            SyntheticFonts::Mark(f.files.hangul, 236 + static_cast<std::size_t>(v) * 27 + g, 12 + v);
    struct Row {
        int i, m, fin;
        std::vector<int> rows;
    };
    const Row rows[] = {
        {2, 3, 1, {0, 8}},       // 가: no final, initial ㄱ keeps the bare medial
        {4, 3, 1, {0, 9}},       // 나
        {2, 13, 1, {1, 8}},      // 고
        {4, 20, 1, {2, 9}},      // 누
        {4, 14, 1, {3, 9}},      // 놔
        {4, 21, 1, {4, 9}},      // 눠
        {2, 3, 2, {5, 10, 12}},  // 각
        {4, 13, 5, {6, 11, 15}}, // 논
        {4, 21, 5, {7, 11, 13}}, // 눤
        {4, 4, 5, {5, 11, 14}},  // 낸
        {4, 8, 1, {0}},          // medial code 8 has no glyph
        {4, 3, 18, {0, 9}},      // final code 18 has no glyph
        {1, 3, 1, {}},           // initial filler: outside the syllable range
        {0, 3, 1, {}},
    };
    TBackDraw draw(test::DistinctPalette());
    for (const auto& r : rows) {
        f.Map(0xB0, 0xA1, Johab(r.i, r.m, r.fin));
        ASSERT_TRUE(draw.Load(f.files));
        TPixmap canvas(32, 16, 0);
        draw.DrawText(canvas, 0, "\xB0\xA1", 0, 0, 1, 0);
        EXPECT_EQ(InkRows(canvas), r.rows) << r.i << "," << r.m << "," << r.fin;
    }
}

TEST(BackDraw, SymbolFontsAndOutOfRangeCodes)
{
    SyntheticFonts f;
    SyntheticFonts::Mark(f.files.sbs, 2, 4);
    SyntheticFonts::Mark(f.files.kss, 188 + 0x91 - 0x43, 5);
    SyntheticFonts::Mark(f.files.kss, 0x7E - 0x31, 6);
    f.Map(0xA1, 0xA1, 0xD483);
    f.Map(0xA1, 0xA2, 0xDA91);
    f.Map(0xA1, 0xA3, 0xD97E);
    f.Map(0xA1, 0xA4, 0xDEFE); // beyond the 1115 glyphs of the font
    f.Map(0xA1, 0xA5, 0xD480);
    f.Map(0xA1, 0xA6, 0xD980);
    TBackDraw draw(test::DistinctPalette());
    ASSERT_TRUE(draw.Load(f.files));
    const std::pair<std::string, std::vector<int>> rows[] = {
        {"\xA1\xA1", {4}}, {"\xA1\xA2", {5}}, {"\xA1\xA3", {6}}, {"\xA1\xA4", {}},
        {"\xA1\xA5", {}},  {"\xA1\xA6", {}},  {"\xA0\xA1", {}},  {"\xA1\xFF", {}},
    };
    for (const auto& [text, ink] : rows) {
        TPixmap canvas(16, 16, 0);
        draw.DrawText(canvas, 0, text, 0, 0, 1, 0);
        EXPECT_EQ(InkRows(canvas), ink);
    }
}

TEST(BackDraw, AdvanceClippingAndTheOddTrailingByte)
{
    SyntheticFonts f;
    for (int r = 0; r < 16; ++r)
        f.files.ascii['x' * 16 + static_cast<std::size_t>(r)] = '\x80';
    TBackDraw draw(test::DistinctPalette());
    ASSERT_TRUE(draw.Load(f.files));
    TPixmap canvas(64, 16, 0);
    // "x", a lone lead byte (16 pixels, nothing drawn), then "x" at 24.
    draw.DrawText(canvas, 0, std::string("x\xB0", 2), 0, 0, 1, 0);
    draw.DrawText(canvas, 24, "x", 0, 0, 1, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(8, 0), 0u);
    EXPECT_EQ(canvas.Pixel(24, 0), kWhite);
    // Text running off any edge of the canvas and the strip is clipped.
    draw.DrawText(canvas, -4, std::string(100, 'x'), 0, 3, 4, -8);
    draw.DrawText(canvas, 630, std::string(10, 'x'), 0, 3, 0, 10);
    TPixmap wide(700, 16, 0);
    draw.DrawText(wide, 0, std::string(80, 'x'), 0, 3, 4, 0);
    EXPECT_EQ(wide.Pixel(632, 0), draw.Colour(3));
    draw.DrawText(wide, 636, "xxxxxxxx", 0, 3, 4, 0);
    EXPECT_EQ(wide.Pixel(644, 0), 0u);
}

// "대기실" and an ASCII line in every DrawMode, compared with a reviewed
// picture in tests/data/term/draw_modes.txt (one letter per palette index).
TEST(BackDraw, BuiltFontsMatchTheReviewedPicture)
{
    TFontFiles files;
    if (!test::LoadBuiltFonts(files))
        GTEST_SKIP() << "no generated fonts in this build";
    TBackDraw draw(test::DistinctPalette());
    ASSERT_TRUE(draw.Load(files));
    const std::string text = KS("대기실") + " Go 19x19";
    const int width = 8 * static_cast<int>(text.size());
    std::map<std::uint32_t, char> letter{{kWhite, 'W'}, {0, '.'}};
    for (int i = 1; i <= 18; ++i)
        letter.emplace(draw.Colour(i), static_cast<char>('a' + i - 1));
    std::ostringstream picture;
    for (int mode = 0; mode <= 4; ++mode) {
        TPixmap canvas(width, 16, draw.Colour(10));
        draw.DrawText(canvas, 0, text, 12, 3, mode, 0);
        picture << "mode " << mode << "\n";
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto it = letter.find(canvas.Pixel(x, y));
                picture << (it == letter.end() ? '?' : it->second);
            }
            picture << "\n";
        }
    }
    const std::string path = std::string(ZEL_TEST_DATA) + "/term/draw_modes.txt";
    if (std::getenv("ZEL_WRITE_GOLDEN")) {
        std::ofstream(path) << picture.str();
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << path << " is missing";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(picture.str(), expected.str());
}

} // namespace
} // namespace zel
