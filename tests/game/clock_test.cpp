#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/engine/LetterCodes.h"
#include "core/game/ElmGoInfo.h"

namespace zel {
namespace {

struct Event {
    std::uint8_t colour;
    int count;
    int period;
};

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        info.TimeOver = [this](std::uint8_t c, int n, int p) { events.push_back({c, n, p}); };
    }
    // Runs the 500 ms timer from `from` for `ms`.
    std::int32_t Run(std::int32_t from, std::int32_t ms)
    {
        std::int32_t t = from;
        for (; t < from + ms; t += 500)
            info.Tick((t + 500) % kDayMs);
        return t;
    }
    TElmGoInfo info;
    std::vector<Event> events;
};

TEST_F(ClockTest, ByoyomiEntryShowsSixPeriodsAndCountsDown)
{
    info.SetClock(1, 30 * 60, 30, 5);
    info.SetClock(2, 30 * 60, 30, 5);
    info.SetTmEnabled(true, 0);
    info.SetNowStone(1, 0);
    Run(0, (30 * 60 + 30) * 1000);
    std::vector<int> shown;
    for (const Event& e : events) {
        EXPECT_EQ(e.colour, 1);
        EXPECT_EQ(e.period, 30);
        if (shown.empty() || shown.back() != e.count)
            shown.push_back(e.count);
    }
    // Entering adds a period that the first overrun takes back at once: six
    // shown, the notice says five are left, and the count-down starts.
    EXPECT_EQ(shown, (std::vector<int>{-6, 30, 20, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, -5, 30}));
    EXPECT_TRUE(info.Side(1).InByoyomi);
    EXPECT_EQ(info.Side(1).Periods, 4);
}

TEST_F(ClockTest, EachOverrunUsesAPeriodAndTheLastLosesOnTime)
{
    info.SetClock(2, 60, 10, 3);
    info.SetTmEnabled(true, 0);
    info.SetNowStone(2, 0);
    Run(0, 200 * 1000);
    std::vector<int> overruns;
    for (const Event& e : events)
        if (e.count < 0)
            overruns.push_back(e.count);
    EXPECT_EQ(overruns, (std::vector<int>{-4, -3, -2, -1}));
}

TEST_F(ClockTest, TurnSwitchKeepsMainTimeAndRefreshesThePeriod)
{
    info.SetClock(1, 600, 30, 3);
    info.SetClock(2, 600, 30, 3);
    info.SetTmEnabled(true, 0);
    info.SetNowStone(1, 0);
    std::int32_t t = Run(0, 100 * 1000);
    info.SetNowStone(2, t);
    t = Run(t, 20 * 1000);
    info.SetNowStone(1, t);
    t = Run(t, 50 * 1000);
    EXPECT_EQ(info.Side(1).Used, 150);
    EXPECT_EQ(info.Side(2).Used, 20);
}

TEST_F(ClockTest, ClockTextsTravelAndEqualiseByoyomiTerms)
{
    info.SetClock(1, 600, 30, 3);
    info.SetClock(2, 600, 30, 3);
    // 2 minutes 5 seconds used, 40-second periods, 5 of them, not in byo-yomi.
    std::string text = NumToCode2(2) + NumToCode2(5) + NumToCode2(40) + NumToCode2(5) + "BB";
    ASSERT_TRUE(info.ApplyClockText(1, text));
    EXPECT_EQ(info.Side(1).Used, 125);
    EXPECT_EQ(info.Side(2).PeriodLen, 40);
    EXPECT_EQ(info.Side(2).Periods, 5);
    // Colour 2 asks for black's text.
    EXPECT_EQ(info.ClockText(2), text);
    EXPECT_EQ(info.FullClockText().substr(0, 10), text);
    // Broken texts change nothing.
    EXPECT_FALSE(info.ApplyClockText(1, "AB"));
    EXPECT_FALSE(info.ApplyClockText(1, "zzAAAAAAB"));
    EXPECT_EQ(info.Side(1).Used, 125);
    TElmGoInfo other;
    other.LoadClocks(info.FullClockText());
    EXPECT_EQ(other.FullClockText(), info.FullClockText());
    EXPECT_EQ(other.Side(1).Base, 125);
    other.SetByoyomi(NumToCode2(20) + NumToCode2(2));
    EXPECT_EQ(other.Side(2).PeriodLen, 20);
    EXPECT_EQ(other.Side(1).Periods, 2);
}

TEST_F(ClockTest, ElapsedTimeCountsAcrossMidnight)
{
    info.SetClock(1, 600, 30, 3);
    info.SetTmEnabled(true, kDayMs - 10000);
    info.SetNowStone(1, kDayMs - 10000);
    info.Tick(20000);
    EXPECT_EQ(info.Side(1).Used, 30);
}

TEST_F(ClockTest, LastPeriodAndSaveMark)
{
    info.SetClock(1, 0, 30, 1);
    EXPECT_EQ(info.LastPeriodSeconds(1), 0);
    info.ApplyClockText(1, NumToCode2(0) + NumToCode2(3) + NumToCode2(30) + NumToCode2(1) + "AA");
    EXPECT_EQ(info.LastPeriodSeconds(1), 30);
    EXPECT_EQ(info.LastPeriodSeconds(2), 0);
    int saves = 0;
    info.OnSave = [&saves] { ++saves; };
    info.SetMaxSeq("move 1x2");
    info.SetNowSeq("11");
    info.SetNowSeq("12");
    EXPECT_EQ(saves, 1);
}

} // namespace
} // namespace zel
