// The steps around the analysis in the game window's command: the input
// string, the claims dropped on live stones, the panel numbers and the notice.
#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/engine/AnalysisCommand.h"

namespace zel {
namespace {

TEST(AnalysisCommand, InputReadsColoursOneAndTwoOnly)
{
    TPointColours colours{};
    colours[0] = 1;
    colours[1] = 2;
    colours[2] = 3;
    colours[360] = 255;
    const std::string input = AnalysisInput(colours);
    ASSERT_EQ(input.size(), 361u);
    EXPECT_EQ(input.substr(0, 4), "BW--");
    EXPECT_EQ(input.back(), '-');
}

TEST(AnalysisCommand, LiveStonesLoseTheirOwnClaimsOnly)
{
    struct Row {
        std::uint8_t colour;
        int value, shown;
    };
    const Row rows[] = {
        {1, 4, 0},  {1, 1, 0},   {1, -3, -3}, {1, -2, -2}, // black stone: its own claims go, white's stay
        {2, -4, 0}, {2, -1, 0},  {2, 3, 3},   {2, 2, 2},   // and the same for white
        {0, 3, 3},  {0, -2, -2}, {0, 0, 0},                // empty points keep everything
    };
    TPointColours colours{};
    TPointValues values{};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        colours[i] = rows[i].colour;
        values[i] = rows[i].value;
    }
    const TPointValues shown = DropLiveClaims(values, colours);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(shown[i], rows[i].shown) << "row " << i;
}

TEST(AnalysisCommand, CapturedCountsAndNotice)
{
    EXPECT_EQ(CapturedCount(" 0"), 0);
    EXPECT_EQ(CapturedCount(" 7"), 7);
    EXPECT_EQ(CapturedCount("123"), 123);
    EXPECT_EQ(CapturedCount("1a2"), 12);
    EXPECT_EQ(CapturedCount(""), 0);
    EXPECT_EQ(CapturedCount("99999999999999"), 999999) << "no overflow from a long text";

    TAnalysisCounts counts;
    counts.BlackSure = 3;
    counts.BlackMaybe = 4;
    counts.WhiteMaybe = 5;
    counts.WhiteSure = 6;
    EXPECT_EQ(Cp949ToUtf8(AnalysisNoticeText(counts, 1, 2)), "흑(4:4)   백(8:5)");
}

} // namespace
} // namespace zel
