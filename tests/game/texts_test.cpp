#include <gtest/gtest.h>

#include "support/Fakes.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/ElmGoInfo.h"
#include "core/game/GameSetModel.h"
#include "core/game/GameTexts.h"

namespace zel {
namespace {

TEST(GameTexts, CountedResults)
{
    struct Row {
        int black, white, komi;
        const char* side;
        const char* text;
    };
    const Row rows[] = {
        {67, 60, 6, "A", "흑 0.5 집 승! >> 흑(67):백(60)"}, {64, 60, 6, "A", "백 2.5 집 승! >> 흑(64):백(60)"},
        {66, 60, 6, "A", "백 0.5 집 승! >> 흑(66):백(60)"}, {50, 60, 6, "B", "백 3.5 집 승! >> 흑(50):백(60)"},
        {58, 60, 6, "B", "흑 4.5 집 승! >> 흑(58):백(60)"}, {50, 60, 9, "B", "백 0.5 집 승! >> 흑(50):백(60)"},
        {60, 60, 0, "A", "무 승 부 !! >> 흑(60):백(60)"},   {61, 60, 0, "A", "흑 1 집 승! >> 흑(61):백(60)"},
        {0, 3, 0, "B", "백 3 집 승! >> 흑(0):백(3)"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Cp949ToUtf8(CountResultText(r.black, r.white, r.komi, r.side)), r.text) << r.black << r.white;
    EXPECT_EQ(Cp949ToUtf8(ResignResultText(false)), "백 불계승");
    EXPECT_EQ(Cp949ToUtf8(TimeResultText(true)), "흑 시간승");
}

TEST(GameTexts, MethodAndTimeLimit)
{
    EXPECT_EQ(Cp949ToUtf8(MethodText(0, "A", 6)), "호선(흑 6집 반 공제)");
    EXPECT_EQ(Cp949ToUtf8(MethodText(3, "B", 0)), "3점 접바둑(공제 없음)");
    TGameHeader h;
    h.TimeModeCode = "A";
    EXPECT_EQ(Cp949ToUtf8(TimeLimitText(h)), "시간 제한 없음");
    TClockTerms none = ClockTerms(h);
    EXPECT_EQ(none.MainSeconds, 5400);
    EXPECT_EQ(none.Periods, 3);
    h.TimeModeCode = "B";
    h.MainTimeCode = NumToCode2(30);
    h.ByoSecondsCode = NumToCode2(30);
    h.ByoCountCode = NumToCode2(5);
    EXPECT_EQ(Cp949ToUtf8(TimeLimitText(h)), "각 30분에 30초 초읽기 5회");
    EXPECT_EQ(ClockTerms(h).MainSeconds, 1800);
    h.MainTimeCode = "ZZ"; // 675 minutes would overflow nothing but is kept
    EXPECT_LE(ClockTerms(h).MainSeconds, 60000);
    h.TimeModeCode = "C";
    EXPECT_EQ(TimeLimitText(h), "");
}

TEST(GameSetModel, HandicapKomiAndColourRules)
{
    TGameSetModel m;
    m.HandicapChanged(3);
    EXPECT_EQ(m.Choice, TGameSetModel::Colour::Black);
    EXPECT_EQ(m.Komi, 0);
    m.HandicapChanged(0);
    EXPECT_EQ(m.Komi, 6);
    m.KomiChanged(4);
    m.HandicapChanged(2);
    EXPECT_EQ(m.Komi, 4); // edited by hand: kept
    m.ColourClicked(TGameSetModel::Colour::Auto);
    EXPECT_EQ(m.Handicap, 0);
    m.HandicapChanged(42);
    EXPECT_EQ(m.Handicap, 0);
}

TEST(GameSetModel, AutomaticColourSwapsAboutHalfTheTime)
{
    test::SeededRandom random(3);
    int swapped = 0;
    for (int i = 0; i < 1000; ++i) {
        TGameSetModel m;
        m.BlackId = "me";
        m.WhiteId = "you";
        m.KBase = 0;
        m.Confirm(random);
        EXPECT_EQ(m.KBase, 1);
        swapped += m.BlackId == "you";
    }
    EXPECT_GT(swapped, 400);
    EXPECT_LT(swapped, 600);
    TGameSetModel white;
    white.BlackId = "me";
    white.WhiteId = "you";
    white.ColourClicked(TGameSetModel::Colour::White);
    white.Confirm(random);
    EXPECT_EQ(white.WhiteId, "me");
    TGameSetModel hosted;
    hosted.BlackId = "me";
    hosted.HostId = "host";
    for (int i = 0; i < 10; ++i)
        hosted.Confirm(random);
    EXPECT_EQ(hosted.BlackId, "me");
}

TEST(GameSetModel, RequestDialogClosesRefusedAfterTenSeconds)
{
    TGameRequestModel r;
    r.Start(kDayMs - 3000);
    r.Tick(kDayMs - 1000);
    EXPECT_EQ(r.Ticks(), 2);
    r.Tick(6500);
    EXPECT_EQ(r.Ticks(), 9);
    EXPECT_FALSE(r.Expired());
    r.Tick(7000);
    EXPECT_TRUE(r.Expired());
    EXPECT_EQ(r.GaugePercent(), 100);
}

} // namespace
} // namespace zel
