#include "core/print/PrintJob.h"

#include <charconv>

#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/engine/LetterCodes.h"
#include "core/print/Diagram.h"
#include "core/record/GiboText.h"

namespace zel {

TPrintSource TPrintSource::FromRecord(const TGiboList& record, std::string_view recordName)
{
    TPrintSource source;
    source.Title = record.PrintTitle(recordName);
    source.Moves = record.MoveTable();
    for (TGoNode* node = record.Head()->Next; node != record.Head(); node = node->Next)
        if (node->Kind == TGoNode::kCommentary)
            source.Commentaries.push_back({node->Number, node->Data});
    return source;
}

std::string TPrintSource::RecordName() const
{
    std::string rest = Title;
    std::string name;
    CutField(rest, name);
    return name;
}

TRecordHeader TPrintSource::Header() const
{
    std::string rest = Title;
    std::string name;
    CutField(rest, name);
    return ParseRecordHeader(rest);
}

std::optional<TPrintVariation> ParsePrintVariation(const TPrintCommentary& commentary)
{
    const std::string_view body = commentary.Body;
    const int count = Code2ToNum(body);
    const int first = commentary.Number;
    if (count < 1 || first < 1 || first + count - 2 > kMaxMoves)
        return std::nullopt;
    const std::size_t end = body.find(kFieldSep, 2);
    const std::string_view points = body.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2);
    if (points.size() != static_cast<std::size_t>(2 * count))
        return std::nullopt;

    TPrintVariation v;
    v.First = first;
    // Point 0 repeats the move before the variation; the others are its moves.
    for (int k = 1; k < count; ++k) {
        const int x = points[static_cast<std::size_t>(2 * k)] - 'A';
        const int y = points[static_cast<std::size_t>(2 * k + 1)] - 'A';
        const bool pass = x == 0 && y == 0;
        if (!pass && (x < 1 || x > kBoardSize || y < 1 || y > kBoardSize))
            return std::nullopt;
        v.Moves.emplace_back(x, y);
    }
    if (end == std::string_view::npos)
        return v;

    std::string_view rest = body.substr(end + kFieldSep.size());
    const std::size_t markEnd = rest.find(kFieldSep);
    const std::string_view marks = rest.substr(0, markEnd);
    const int markCount = Code2ToNum(marks);
    // A mark list that does not match its count is left out, as on the board.
    if (markCount >= 0 && marks.size() == static_cast<std::size_t>(2 + 4 * markCount)) {
        for (int k = 0; k < markCount; ++k) {
            const std::string_view m = marks.substr(static_cast<std::size_t>(2 + 4 * k), 4);
            const int x = m[0] - 'A';
            const int y = m[1] - 'A';
            const int mark = Code2ToNum(m.substr(2));
            if (x >= 1 && x <= kBoardSize && y >= 1 && y <= kBoardSize && mark >= kMarkFirstLetter &&
                mark < kMarkFirstLetter + 26)
                v.Labels.push_back({{x, y}, static_cast<char>('A' + mark - kMarkFirstLetter)});
        }
    }
    if (markEnd != std::string_view::npos)
        v.Comment = std::string(rest.substr(markEnd + kFieldSep.size()));
    return v;
}

void BuildVariationDiagram(const TMoveTable& game, int handicap, const TPrintVariation& variation, LDispGGrid& board,
                           LDispGGrid& notes)
{
    TMoveTable moves = game;
    const int count = static_cast<int>(variation.Moves.size());
    for (int k = 0; k < count; ++k) {
        const auto [x, y] = variation.Moves[static_cast<std::size_t>(k)];
        moves.Points[static_cast<std::size_t>(variation.First + k)] = {static_cast<std::uint8_t>(x),
                                                                       static_cast<std::uint8_t>(y)};
    }
    moves.Last = variation.First + count - 1;
    BuildDiagram(kNotesNarrow, variation.First, board, notes, moves, handicap, 1 - variation.First, moves.Last);
    for (const auto& [point, label] : variation.Labels)
        board.PointAt(point.first, point.second).SetLabel(label);
}

std::vector<std::string> CommentLines(std::string_view comment)
{
    constexpr std::size_t kWrap = 32;
    std::vector<std::string> lines{"", KS("<< 해설 >>"), ""};
    // The editor starts every comment with its heading line "<< 해 설 >>  ".
    if (comment.starts_with(KS("<< 해 설 >>"))) {
        const std::size_t cut = comment.find(kLineSep);
        comment = cut == std::string_view::npos ? std::string_view{} : comment.substr(cut + kLineSep.size());
    }
    while (!comment.empty()) {
        const std::size_t cut = comment.find(kLineSep);
        std::string_view line = comment.substr(0, cut);
        comment = cut == std::string_view::npos ? std::string_view{} : comment.substr(cut + kLineSep.size());
        const auto strip = [](std::string_view& s) {
            while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
                s.remove_prefix(1);
        };
        strip(line);
        if (line.starts_with("::"))
            lines.emplace_back();
        if (line.empty()) {
            lines.emplace_back();
            continue;
        }
        while (!line.empty()) {
            std::size_t n = Cp949PrefixLength(line, kWrap);
            if (n == 0)
                n = std::min<std::size_t>(line.size(), 2); // a broken pair goes out whole
            lines.emplace_back(line.substr(0, n));
            line.remove_prefix(n);
            strip(line);
        }
    }
    return lines;
}

std::string PrintMethodText(const TRecordHeader& header)
{
    std::string text = HandicapName(header.Handicap);
    if (header.Komi <= 0)
        return text + KS("(공제 없음)");
    return text + (header.KomiSide == 'A' ? KS("(흑 ") : KS("(백 ")) + std::to_string(header.Komi) + KS("집 반 공제)");
}

namespace {

bool ReadInt(std::string_view text, int& value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

} // namespace

bool ReadPrintRange(std::string_view from, std::string_view to, int lastMove, int& first, int& last)
{
    if (!ReadInt(from, first) || !ReadInt(to, last))
        return false;
    if (first < 1 || last < first || first > lastMove)
        return false;
    last = std::min(last, lastMove);
    return true;
}

} // namespace zel
