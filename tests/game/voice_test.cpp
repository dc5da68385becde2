#include <gtest/gtest.h>

#include <vector>

#include "core/game/ByoyomiVoice.h"
#include "support/GameFakes.h"
#include "support/SessionDuo.h"

namespace zel {
namespace {

using test::RecordingSound;
using test::SessionDuo;
using W = TSpokenWord;

std::vector<W> CountdownFrom(int first)
{
    std::vector<W> words;
    for (int n = first; n >= 1; --n)
        words.push_back(static_cast<W>(n));
    return words;
}

// What the voice says for a sequence of clock notices.
TEST(ByoyomiVoice, SaysEachOfTheLastTenSecondsOnceAndTheLastPeriod)
{
    struct Row {
        const char* what;
        std::vector<int> notices;
        bool enabled;
        std::vector<W> said;
    };
    const Row rows[] = {
        {"counts above ten are silent", {30, 20, 10, 10, 9, 9, 1}, true, {W::kTen, static_cast<W>(9), W::kOne}},
        {"a used-up period with more left", {2, 1, -3, 30, 10}, true, {static_cast<W>(2), W::kOne, W::kTen}},
        {"the last period begins", {1, -2, 10}, true, {W::kOne, W::kLastPeriod, W::kTen}},
        {"time over says nothing", {1, -1}, true, {W::kOne}},
        {"switched off", {10, 9, -2, 1}, false, {}},
    };
    for (const Row& row : rows) {
        RecordingSound sound;
        bool enabled = row.enabled;
        TByoyomiVoice voice(&sound, &enabled);
        for (int count : row.notices)
            voice.Notice(count);
        EXPECT_EQ(sound.words, row.said) << row.what;
    }
}

TEST(ByoyomiVoice, AFreshPeriodAfterAMoveCountsAgain)
{
    RecordingSound sound;
    TByoyomiVoice voice(&sound, nullptr);
    voice.Notice(10);
    voice.Reset();
    voice.Notice(10);
    EXPECT_EQ(sound.words, (std::vector<W>{W::kTen, W::kTen}));
}

// A whole game on the virtual clock: black lets its minute and both periods
// of 30 seconds run out. Only black's own client speaks, and only in byo-yomi.
TEST(ByoyomiVoice, SessionSpeaksTheLastSecondsOfThePlayersOwnPeriods)
{
    SessionDuo duo;
    duo.a.dialogs.setup = [](TGameSetModel& m) {
        m.ColourClicked(TGameSetModel::Colour::Black);
        m.KBase = 1;
        m.KSec = 30;
        m.KCount = 2;
    };
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    ASSERT_TRUE(duo.a.session.GameOpen());
    duo.Run(58000);
    EXPECT_TRUE(duo.a.sound.words.empty()) << "main time is never counted";

    // Each word is asked for with the seconds it names left on black's clock.
    std::vector<int> leftAtWord;
    std::size_t heard = 0;
    for (int step = 0; step < 900 && duo.a.session.GameOpen(); ++step) {
        duo.Run(100);
        const TSideClock& black = duo.a.session.Info().Side(1);
        for (; heard < duo.a.sound.words.size(); ++heard)
            if (duo.a.sound.words[heard] != W::kLastPeriod)
                leftAtWord.push_back(black.PeriodLen - black.Used);
    }
    std::vector<W> expected = CountdownFrom(10);
    expected.push_back(W::kLastPeriod);
    const std::vector<W> last = CountdownFrom(10);
    expected.insert(expected.end(), last.begin(), last.end());
    EXPECT_EQ(duo.a.sound.words, expected);
    std::vector<int> seconds;
    for (int round = 0; round < 2; ++round)
        for (int n = 10; n >= 1; --n)
            seconds.push_back(n);
    EXPECT_EQ(leftAtWord, seconds);
    EXPECT_FALSE(duo.a.session.GameOpen()) << "black lost on time";
    EXPECT_TRUE(duo.b.sound.words.empty()) << "the opponent's clock is not spoken";
}

TEST(ByoyomiVoice, TheSwitchInTheSettingsSilencesTheSession)
{
    SessionDuo duo;
    duo.a.countdownVoice = false;
    duo.a.dialogs.setup = [](TGameSetModel& m) {
        m.ColourClicked(TGameSetModel::Colour::Black);
        m.KBase = 1;
        m.KSec = 10;
        m.KCount = 1;
    };
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    ASSERT_TRUE(duo.a.session.GameOpen());
    duo.Run(75000, 100);
    EXPECT_FALSE(duo.a.window.countdown.empty()) << "the period was counted down on the board";
    EXPECT_FALSE(duo.a.session.GameOpen());
    EXPECT_TRUE(duo.a.sound.words.empty());
}

} // namespace
} // namespace zel
