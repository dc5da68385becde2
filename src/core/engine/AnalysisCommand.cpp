#include "core/engine/AnalysisCommand.h"

#include "core/base/Cp949.h"

namespace zel {

std::string AnalysisInput(const TPointColours& colours)
{
    std::string text(colours.size(), '-');
    for (std::size_t i = 0; i < colours.size(); ++i)
        text[i] = colours[i] == 1 ? 'B' : colours[i] == 2 ? 'W' : '-';
    return text;
}

TPointValues DropLiveClaims(const TPointValues& result, const TPointColours& colours)
{
    TPointValues values = result;
    for (std::size_t i = 0; i < values.size(); ++i)
        if ((colours[i] == 1 && values[i] > 0) || (colours[i] == 2 && values[i] < 0))
            values[i] = 0;
    return values;
}

int CapturedCount(std::string_view text)
{
    int n = 0, digits = 0;
    for (char c : text)
        if (c >= '0' && c <= '9' && digits < 6) {
            n = n * 10 + (c - '0');
            ++digits;
        }
    return n;
}

std::string AnalysisNoticeText(const TAnalysisCounts& counts, int whiteStonesCaptured, int blackStonesCaptured)
{
    return KS("흑(") + std::to_string(whiteStonesCaptured + counts.BlackSure) + ":" +
           std::to_string(counts.BlackMaybe) + ")   " + KS("백(") +
           std::to_string(blackStonesCaptured + counts.WhiteSure) + ":" + std::to_string(counts.WhiteMaybe) + ")";
}

} // namespace zel
