#include "core/game/GameTexts.h"

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"

namespace zel {

std::string KomiText(std::string_view komiSideCode, int komi)
{
    if (komi == 0)
        return "(" + KS("공제 없음)");
    return "(" + (komiSideCode == "A" ? KS("흑 ") : KS("백 ")) + std::to_string(komi) + KS("집 반 공제)");
}

std::string MethodText(int handicap, std::string_view komiSideCode, int komi)
{
    return HandicapName(handicap) + KomiText(komiSideCode, komi);
}

std::string TimeLimitText(const TGameHeader& header)
{
    if (header.TimeModeCode == "A")
        return KS("시간 제한 없음");
    if (header.TimeModeCode == "B")
        return KS("각 ") + std::to_string(Code2ToNum(header.MainTimeCode)) + KS("분에 ") +
               std::to_string(Code2ToNum(header.ByoSecondsCode)) + KS("초 초읽기 ") +
               std::to_string(Code2ToNum(header.ByoCountCode)) + KS("회");
    return {};
}

TClockTerms ClockTerms(const TGameHeader& header)
{
    TClockTerms t;
    if (header.TimeModeCode != "B")
        return t;
    int main = Code2ToNum(header.MainTimeCode);
    int secs = Code2ToNum(header.ByoSecondsCode);
    int count = Code2ToNum(header.ByoCountCode);
    // The clock counts seconds in 16 bits; codes from the wire are clamped.
    t.MainSeconds = main < 0 ? 0 : (main > 1000 ? 60000 : main * 60);
    t.PeriodSeconds = secs < 0 ? 0 : (secs > 600 ? 600 : secs);
    t.Periods = count < 0 ? 0 : (count > 99 ? 99 : count);
    return t;
}

std::string CountResultText(int black, int white, int komi, std::string_view komiSideCode)
{
    std::string text;
    if (komi == 0) {
        if (black > white)
            text = KS("흑 ") + std::to_string(black - white) + KS(" 집 승! >> ");
        else if (white > black)
            text = KS("백 ") + std::to_string(white - black) + KS(" 집 승! >> ");
        else
            text = KS("무 승 부 !! >> ");
    } else if (komiSideCode == "A") {
        if (white + komi < black)
            text = KS("흑 ") + std::to_string(black - white - komi - 1) + KS(".5 집 승! >> ");
        else
            text = KS("백 ") + std::to_string(white + komi - black) + KS(".5 집 승! >> ");
    } else {
        if (black + komi < white)
            text = KS("백 ") + std::to_string(white - black - komi - 1) + KS(".5 집 승! >> ");
        else
            text = KS("흑 ") + std::to_string(black + komi - white) + KS(".5 집 승! >> ");
    }
    return text + KS("흑(") + std::to_string(black) + "):" + KS("백(") + std::to_string(white) + ")";
}

std::string ResignResultText(bool blackWins)
{
    return blackWins ? KS("흑 불계승") : KS("백 불계승");
}

std::string TimeResultText(bool blackWins)
{
    return blackWins ? KS("흑 시간승") : KS("백 시간승");
}

std::string NextField(std::string_view text, std::size_t& pos)
{
    if (pos >= text.size()) {
        pos = text.size();
        return {};
    }
    std::size_t end = text.find(kSep, pos);
    std::string field;
    if (end == std::string_view::npos) {
        field = std::string(text.substr(pos));
        pos = text.size();
    } else {
        field = std::string(text.substr(pos, end - pos));
        pos = end + kSep.size();
    }
    return field;
}

std::string CutBytes(std::string_view text, std::size_t max)
{
    return std::string(text.substr(0, Cp949PrefixLength(text, max)));
}

} // namespace zel
