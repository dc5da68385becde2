#include "core/engine/PaintMarks.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/engine/LetterCodes.h"

namespace zel {

namespace {

constexpr const char* kHangulConsonants[] = {"ㄱ", "ㄴ", "ㄷ", "ㄹ", "ㅁ", "ㅂ", "ㅅ",
                                             "ㅇ", "ㅈ", "ㅊ", "ㅋ", "ㅌ", "ㅍ", "ㅎ"};

const std::string& HangulConsonant(int index)
{
    static const auto converted = [] {
        std::array<std::string, std::size(kHangulConsonants)> out;
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = Utf8ToCp949(kHangulConsonants[i]);
        return out;
    }();
    return converted[static_cast<std::size_t>(index)];
}
constexpr int kLargestCode2 = 675;

} // namespace

TMarkKind ClassifyMark(int mark)
{
    if (mark >= 1 && mark <= 99)
        return TMarkKind::Number;
    if (mark >= 100 && mark <= 500)
        return TMarkKind::LongNumber;
    if (mark == kMarkLastMove)
        return TMarkKind::LastMove;
    if (mark >= kMarkFirstLetter && mark <= kMarkFirstLetter + 25)
        return TMarkKind::Letter;
    if (mark >= kMarkFirstHangul && mark <= kMarkLastHangul)
        return TMarkKind::Hangul;
    if (mark == kMarkBlackPoint)
        return TMarkKind::BlackPoint;
    if (mark == kMarkWhitePoint)
        return TMarkKind::WhitePoint;
    return TMarkKind::None;
}

std::string MarkText(int mark)
{
    switch (ClassifyMark(mark)) {
    case TMarkKind::Number:
    case TMarkKind::LongNumber:
        return std::to_string(mark);
    case TMarkKind::Letter:
        return std::string(1, static_cast<char>(mark - 535));
    case TMarkKind::Hangul:
        return HangulConsonant(mark - kMarkFirstHangul);
    default:
        return {};
    }
}

std::string LabelListText(const TPointValues& marks)
{
    std::string entries;
    int count = 0;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const int mark = marks[PointIndex(x, y)];
            if (!IsLabelMark(mark))
                continue;
            ++count;
            entries += static_cast<char>(x + 65);
            entries += static_cast<char>(y + 65);
            entries += NumToCode2(std::min(mark, kLargestCode2));
        }
    }
    return NumToCode2(count) + entries;
}

TAnalysisOverlay BuildAnalysisOverlay(const TPointValues& values, const TPointColours& colours)
{
    TAnalysisOverlay overlay;
    for (int i = 0; i < kPointCount; ++i) {
        int v = values[i];
        if (colours[i] == kBlack && v < -2)
            v = -5;
        if (colours[i] == kWhite && v > 2)
            v = 5;
        if (v == 0)
            continue;
        const bool black = v > 0;
        // Widened before negation: INT_MIN has no positive counterpart.
        const long long magnitude = std::llabs(static_cast<long long>(v));
        const int sizeClass = magnitude > 5 ? 0 : static_cast<int>(magnitude);
        overlay.Squares[i] = {sizeClass, black};
        int sure = 0;
        int maybe = 0;
        switch (sizeClass) {
        case 2:
            maybe = 1;
            break;
        case 3:
            sure = 1;
            break;
        case 4:
            sure = 1;
            maybe = 1;
            break;
        case 5:
            sure = 2;
            break;
        default:
            break;
        }
        (black ? overlay.Counts.BlackSure : overlay.Counts.WhiteSure) += sure;
        (black ? overlay.Counts.BlackMaybe : overlay.Counts.WhiteMaybe) += maybe;
    }
    return overlay;
}

} // namespace zel
