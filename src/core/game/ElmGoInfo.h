#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zel {

// One side's clock: main time, then Korean byo-yomi. Counters are seconds.
struct TSideClock {
    std::uint16_t Limit = 0;     // main time; the period length once in byo-yomi
    std::uint16_t Used = 0;      // used in the current stage
    std::uint16_t PeriodLen = 0; // byo-yomi period length
    std::uint16_t Periods = 0;   // byo-yomi periods left
    std::int32_t Base = 0;       // used before the running stretch started
    bool InByoyomi = false;
};

// The game information panel's model: the shown rows and both players'
// clocks. It draws nothing; the game window paints it. Tick(now) is the
// panel's 500 ms timer; times are milliseconds since midnight.
class TElmGoInfo {
public:
    // Count > 0: seconds left in the period; Count < 0: a period was used up
    // and -Count - 1 periods are left (-1 means the time is over).
    using TimeOverEvent = std::function<void(std::uint8_t colour, int count, int periodSeconds)>;
    using SaveEvent = std::function<void()>;

    TElmGoInfo();

    TimeOverEvent TimeOver;
    SaveEvent OnSave;
    // Raised after a setter changed what is shown (clock state, rows, turn);
    // the one panel showing the model listens here. Tick does not raise it.
    std::function<void()> OnChanged;

    // Rows of the panel (CP949 texts).
    std::string BPlayer, WPlayer, Method, PResult, PlayDate, PlayName;
    const std::string& NowSeq() const { return nowSeq_; }
    const std::string& NowPut() const { return nowPut_; }
    const std::string& NowTurn() const { return nowTurn_; }
    void SetNowSeq(const std::string& v);
    void SetNowPut(const std::string& v)
    {
        nowPut_ = v.empty() ? v : "(" + v + ")";
        Changed();
    }
    void SetNowTurn(const std::string& v);
    std::string nBSDied = " 0", nWSDied = " 0";
    // Row 4 as shown: move count, last move and whose turn it is.
    std::string SeqRowText() const;
    // Stops raising OnSave until the move count reaches the digits of text.
    void SetMaxSeq(std::string_view text);
    int Rows() const { return rows_; }

    // 0 play: the clocks switch with the turn; other values freeze switching.
    std::uint8_t InfoMode = 0;

    std::uint8_t NowStone() const { return nowStone_; }
    // The turn switch: the clock of colour starts a stretch (see Tick).
    void SetNowStone(std::uint8_t colour, std::int32_t now);
    bool TmEnabled() const { return tmEnabled_; }
    void SetTmEnabled(bool on, std::int32_t now);
    bool Running() const { return running_; }
    void SetRunning(bool on, std::int32_t now);

    // Stops the timer and sets one side (1 black, otherwise white).
    void SetClock(std::uint8_t colour, int mainSeconds, int periodSeconds, int periods);
    const TSideClock& Side(std::uint8_t colour) const { return colour == 1 ? black_ : white_; }

    // Ten letters for one side; colour 2 gives black's, anything else white's,
    // because the session asks with the colour to move after a move.
    std::string ClockText(std::uint8_t colour) const;
    // Colour 1 writes black's clock, anything else white's. Text shorter than
    // 9 characters or with out-of-range letters changes nothing (false).
    bool ApplyClockText(std::uint8_t colour, std::string_view text);
    // Black's then white's clock text; ignored when 19 characters or fewer.
    void LoadClocks(std::string_view text);
    std::string FullClockText() const;
    std::string MainMinutesText() const;
    // Both sides' period length and periods from two letter pairs.
    void SetByoyomi(std::string_view text);
    // The period length when colour plays its last byo-yomi period, else 0.
    int LastPeriodSeconds(std::uint8_t colour) const;

    // Clears the rows, keeps rows shown and stops the clocks.
    void Reset(int rows);

    // The 500 ms timer; does nothing while the timer is off.
    void Tick(std::int32_t now);

private:
    void Changed()
    {
        if (OnChanged)
            OnChanged();
    }
    static bool ParseClock(std::string_view text, TSideClock& out);
    static std::string SideText(const TSideClock& c);

    TSideClock black_, white_;
    std::uint8_t nowStone_ = 1;
    bool tmEnabled_ = false;
    bool running_ = false;
    std::int32_t turnStart_ = 0;
    int maxSeq_ = -1;
    int rows_ = 5;
    std::string nowSeq_ = "0", nowPut_ = "(0, 0)", nowTurn_;
};

// Milliseconds from mark to now across midnight: a negative difference gets
// a whole day added.
std::int32_t SinceMidnightMark(std::int32_t now, std::int32_t mark);

constexpr std::int32_t kDayMs = 86400000;

} // namespace zel
