#include "core/game/ElmGoInfo.h"

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"

namespace zel {

std::int32_t SinceMidnightMark(std::int32_t now, std::int32_t mark)
{
    std::int32_t d = now - mark;
    return d < 0 ? d + kDayMs : d;
}

namespace {

int DigitsOf(std::string_view text)
{
    int n = 0;
    bool any = false;
    for (char c : text) {
        if (c >= '0' && c <= '9' && n < 100000000) {
            n = n * 10 + (c - '0');
            any = true;
        }
    }
    return any ? n : -1;
}

// A two-letter code that must decode into 0..675.
bool Code2In(std::string_view text, std::size_t at, int& out)
{
    if (text.size() < at + 2)
        return false;
    for (std::size_t i = at; i < at + 2; ++i)
        if (text[i] < 'A' || text[i] > 'Z')
            return false;
    out = Code2ToNum(text.substr(at, 2));
    return true;
}

} // namespace

TElmGoInfo::TElmGoInfo()
{
    Reset(5);
}

void TElmGoInfo::SetNowSeq(const std::string& v)
{
    nowSeq_ = v;
    Changed();
    if (maxSeq_ >= 0 && DigitsOf(v) == maxSeq_ && OnSave)
        OnSave();
}

void TElmGoInfo::SetNowTurn(const std::string& v)
{
    nowTurn_ = v.empty() ? v : v + KS("차례");
    Changed();
}

std::string TElmGoInfo::SeqRowText() const
{
    return nowSeq_ + KS("수 ") + nowPut_ + " " + nowTurn_;
}

void TElmGoInfo::SetMaxSeq(std::string_view text)
{
    maxSeq_ = DigitsOf(text);
}

void TElmGoInfo::SetNowStone(std::uint8_t colour, std::int32_t now)
{
    nowStone_ = colour;
    Changed();
    if (InfoMode != 0 || !running_)
        return;
    TSideClock& done = colour == 2 ? black_ : white_;
    TSideClock& next = colour == 2 ? white_ : black_;
    done.Base = done.Used;
    if (next.InByoyomi) {
        next.Base = 0;
        next.Limit = next.PeriodLen;
    }
    turnStart_ = now;
}

void TElmGoInfo::SetTmEnabled(bool on, std::int32_t now)
{
    tmEnabled_ = on;
    if (on) {
        black_.InByoyomi = false;
        white_.InByoyomi = false;
        running_ = true;
        turnStart_ = now;
    } else {
        running_ = false;
    }
    Changed();
}

void TElmGoInfo::SetRunning(bool on, std::int32_t now)
{
    if (on == running_)
        return;
    running_ = on;
    if (on)
        turnStart_ = now;
    Changed();
}

void TElmGoInfo::SetClock(std::uint8_t colour, int mainSeconds, int periodSeconds, int periods)
{
    running_ = false;
    TSideClock& c = colour == 1 ? black_ : white_;
    c = TSideClock{};
    c.Limit = static_cast<std::uint16_t>(mainSeconds);
    c.PeriodLen = static_cast<std::uint16_t>(periodSeconds);
    c.Periods = static_cast<std::uint16_t>(periods);
    Changed();
}

std::string TElmGoInfo::SideText(const TSideClock& c)
{
    return NumToCode2(c.Used / 60 % 676) + NumToCode2(c.Used % 60) + NumToCode2(c.PeriodLen % 676) +
           NumToCode2(c.Periods % 676) + (c.InByoyomi ? "AA" : "BB");
}

std::string TElmGoInfo::ClockText(std::uint8_t colour) const
{
    return SideText(colour == 2 ? black_ : white_);
}

bool TElmGoInfo::ParseClock(std::string_view text, TSideClock& out)
{
    int minutes = 0, seconds = 0, len = 0, periods = 0;
    if (text.size() < 9 || !Code2In(text, 0, minutes) || !Code2In(text, 2, seconds) || !Code2In(text, 4, len) ||
        !Code2In(text, 6, periods))
        return false;
    int used = minutes * 60 + seconds;
    if (used > 65535)
        return false;
    out.Used = static_cast<std::uint16_t>(used);
    out.PeriodLen = static_cast<std::uint16_t>(len);
    out.Periods = static_cast<std::uint16_t>(periods);
    out.InByoyomi = text[8] == 'A';
    return true;
}

bool TElmGoInfo::ApplyClockText(std::uint8_t colour, std::string_view text)
{
    TSideClock& c = colour == 1 ? black_ : white_;
    TSideClock& other = colour == 1 ? white_ : black_;
    TSideClock parsed = c;
    if (!ParseClock(text, parsed))
        return false;
    c = parsed;
    if (!c.InByoyomi && !other.InByoyomi && (c.PeriodLen != other.PeriodLen || c.Periods != other.Periods)) {
        other.PeriodLen = c.PeriodLen;
        other.Periods = c.Periods;
    }
    Changed();
    return true;
}

void TElmGoInfo::LoadClocks(std::string_view text)
{
    if (text.size() <= 19)
        return;
    running_ = false;
    TSideClock b = black_, w = white_;
    if (ParseClock(text.substr(0, 9), b)) {
        black_ = b;
        black_.Base = black_.Used;
    }
    if (ParseClock(text.substr(10, 9), w)) {
        white_ = w;
        white_.Base = white_.Used;
    }
    Changed();
}

std::string TElmGoInfo::FullClockText() const
{
    return SideText(black_) + SideText(white_);
}

std::string TElmGoInfo::MainMinutesText() const
{
    return NumToCode2(black_.Limit / 60 % 676) + NumToCode2(white_.Limit / 60 % 676);
}

void TElmGoInfo::SetByoyomi(std::string_view text)
{
    int len = 0, periods = 0;
    if (!Code2In(text, 0, len) || !Code2In(text, 2, periods))
        return;
    for (TSideClock* c : {&black_, &white_}) {
        c->PeriodLen = static_cast<std::uint16_t>(len);
        c->Periods = static_cast<std::uint16_t>(periods);
    }
    Changed();
}

int TElmGoInfo::LastPeriodSeconds(std::uint8_t colour) const
{
    const TSideClock* c = colour == 1 ? &black_ : colour == 2 ? &white_ : nullptr;
    if (c && c->InByoyomi && c->Periods == 1)
        return c->PeriodLen;
    return 0;
}

void TElmGoInfo::Reset(int rows)
{
    maxSeq_ = -1;
    rows_ = rows;
    BPlayer.clear();
    WPlayer.clear();
    nowTurn_.clear();
    PResult.clear();
    PlayDate.clear();
    PlayName.clear();
    Method = KS("호선(흑 5호반 공제)");
    nowSeq_ = "0";
    nowPut_ = "(0, 0)";
    nBSDied = " 0";
    nWSDied = " 0";
    SetTmEnabled(false, 0);
}

void TElmGoInfo::Tick(std::int32_t now)
{
    if (!running_ || now == turnStart_)
        return;
    std::int32_t diff = now - turnStart_;
    if (diff <= 0)
        diff += kDayMs;
    std::int32_t elapsed = (diff + 500) / 1000;
    std::uint8_t colour = nowStone_;
    TSideClock& c = colour == 1 ? black_ : white_;
    std::int32_t used = c.Base + elapsed;
    c.Used = static_cast<std::uint16_t>(used > 65535 ? 65535 : used);
    if (!c.InByoyomi && c.Limit != 0 && c.Used >= c.Limit) {
        c.Base = 0;
        c.InByoyomi = true;
        c.Limit = c.PeriodLen;
        turnStart_ = now;
        ++c.Periods;
    }
    if (!c.InByoyomi)
        return;
    if (c.Used < c.PeriodLen) {
        int r = c.PeriodLen - c.Used;
        if ((r < 10 || r % 10 == 0) && TimeOver)
            TimeOver(colour, r, c.PeriodLen);
        return;
    }
    c.Base = 0;
    c.Limit = c.PeriodLen;
    turnStart_ = now;
    if (c.Periods > 0) {
        --c.Periods;
        int len = c.PeriodLen;
        bool left = c.Periods > 0;
        if (TimeOver)
            TimeOver(colour, -(c.Periods + 1), len);
        if (left && TimeOver)
            TimeOver(colour, len, len);
    }
}

} // namespace zel
