#include "core/record/SgfRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/engine/LetterCodes.h"
#include "core/record/GiboList.h"
#include "core/record/GiboText.h"
#include "core/record/RecordHeader.h"
#include "core/record/SgfTree.h"
#include "core/record/TextEncoding.h"

namespace zel {
namespace {

constexpr int kMaxRecordMoves = 500;
constexpr int kMaxVariationMoves = 674; // the count of a body is two letters

struct Point {
    int X = 0; // 0, 0 a pass
    int Y = 0;
    bool operator<(const Point& o) const { return std::pair(X, Y) < std::pair(o.X, o.Y); }
    bool operator==(const Point& o) const = default;
};

// Colour letter of move `number`: black moves first, white in a handicap game.
char MoveColour(int number, int handicap)
{
    const bool odd = number % 2 == 1;
    return (odd == (handicap < 2)) ? 'B' : 'W';
}

std::set<Point> HandicapStones(int handicap)
{
    TGoBoard board;
    board.SetHandicap(handicap, 0);
    std::set<Point> stones;
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            if (board.Colour(x, y) == kBlack)
                stones.insert({x, y});
    return stones;
}

std::string SgfPoint(int x, int y)
{
    if (x == 0 && y == 0)
        return "";
    return {static_cast<char>('a' + x - 1), static_cast<char>('a' + y - 1)};
}

std::string Letters(int x, int y)
{
    return {static_cast<char>('A' + x), static_cast<char>('A' + y)};
}

bool IsRank(std::string_view text)
{
    if (text.size() < 2)
        return false;
    const char kind = text.back();
    if (kind != 'K' && kind != 'D' && kind != 'P')
        return false;
    return std::all_of(text.begin(), text.end() - 1, [](char c) { return c >= '0' && c <= '9'; });
}

// "nickname(id) 3D" -> "nickname(id)", "3D".
std::pair<std::string, std::string> SplitDisplay(const std::string& text)
{
    const auto blank = text.rfind(' ');
    if (blank != std::string::npos && IsRank(std::string_view(text).substr(blank + 1)))
        return {text.substr(0, blank), text.substr(blank + 1)};
    return {text, ""};
}

std::string Prop(std::string_view id, const std::string& cp949)
{
    return std::string(id) + "[" + SgfEscape(Cp949ToUtf8(cp949)) + "]";
}

bool StartsWith(std::string_view text, const std::string& prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

std::string ResultToSgf(const std::string& result)
{
    std::string who;
    if (StartsWith(result, KS("흑")))
        who = "B+";
    else if (StartsWith(result, KS("백")))
        who = "W+";
    else if (result.find(KS("무 승 부")) != std::string::npos)
        return "0";
    else
        return "";
    if (result.find(KS("불계")) != std::string::npos)
        return who + "R";
    if (result.find(KS("시간")) != std::string::npos)
        return who + "T";
    std::string margin;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const char c = result[i];
        if ((c >= '0' && c <= '9') || (c == '.' && !margin.empty()))
            margin += c;
        else if (!margin.empty())
            break;
    }
    return who + margin;
}

std::string ResultFromSgf(const std::string& re)
{
    if (re == "0" || re == "Draw" || re == "Jigo")
        return KS("무 승 부 !! ");
    if (re.size() < 2 || (re[0] != 'B' && re[0] != 'W') || re[1] != '+')
        return "";
    const std::string who = re[0] == 'B' ? KS("흑") : KS("백");
    const std::string rest = re.substr(2);
    if (rest == "R" || rest == "Resign")
        return who + KS(" 불계승");
    if (rest == "T" || rest == "Time")
        return who + KS(" 시간승");
    if (!rest.empty() && rest[0] >= '0' && rest[0] <= '9')
        return who + " " + rest + KS(" 집 승! ");
    return who + KS(" 승");
}

std::string DateToSgf(const std::string& dateLine)
{
    std::vector<std::string> groups;
    std::string run;
    for (char c : dateLine + " ") {
        if (c >= '0' && c <= '9') {
            run += c;
        } else if (!run.empty()) {
            groups.push_back(run);
            run.clear();
        }
    }
    if (groups.size() >= 3 && groups[0].size() == 4 && groups[1].size() <= 2 && groups[2].size() <= 2) {
        auto two = [](const std::string& s) { return s.size() == 1 ? "0" + s : s; };
        return groups[0] + "-" + two(groups[1]) + "-" + two(groups[2]);
    }
    if (!groups.empty() && groups[0].size() == 8)
        return groups[0].substr(0, 4) + "-" + groups[0].substr(4, 2) + "-" + groups[0].substr(6, 2);
    return "";
}

// A commentary body split into its fields; false when its counts do not
// match the fields (the viewer does not show such a body either).
struct Body {
    std::vector<Point> Variation; // after the repeated last move
    std::vector<std::pair<Point, int>> Marks;
    std::string Comment;
};

bool ParseBody(const std::string& data, Body& body)
{
    if (data.size() < 2)
        return false;
    std::string rest = data.substr(2);
    const int count = Code2ToNum(data);
    std::string field;
    CutField(rest, field);
    if (count < 0 || field.size() != static_cast<std::size_t>(count) * 2)
        return false;
    for (int i = 1; i < count; ++i) {
        const int x = field[static_cast<std::size_t>(2 * i)] - 'A';
        const int y = field[static_cast<std::size_t>(2 * i + 1)] - 'A';
        if ((x == 0 && y == 0) || (TGoBoard::IsOnBoard(x, y)))
            body.Variation.push_back({x, y});
    }
    std::string marks;
    CutField(rest, marks);
    if (marks.size() >= 2) {
        const int m = Code2ToNum(marks);
        if (m >= 0 && marks.size() == 2 + 4 * static_cast<std::size_t>(m)) {
            for (int i = 0; i < m; ++i) {
                const std::string_view entry = std::string_view(marks).substr(2 + 4 * static_cast<std::size_t>(i), 4);
                const int x = entry[0] - 'A';
                const int y = entry[1] - 'A';
                if (TGoBoard::IsOnBoard(x, y))
                    body.Marks.push_back({{x, y}, Code2ToNum(entry.substr(2))});
            }
        }
    }
    body.Comment = rest;
    return true;
}

std::string MarkProps(const std::vector<std::pair<Point, int>>& marks)
{
    // Properties in the order their first mark appears; entries keep their
    // order within a property.
    std::vector<std::pair<std::string, std::string>> props;
    auto add = [&props](const std::string& id, const std::string& value) {
        for (auto& p : props)
            if (p.first == id) {
                p.second += "[" + value + "]";
                return;
            }
        props.push_back({id, "[" + value + "]"});
    };
    for (const auto& [point, value] : marks) {
        const std::string at = SgfPoint(point.X, point.Y);
        if (value >= kMarkFirstLetter && value < kMarkFirstLetter + 26)
            add("LB", at + ":" + static_cast<char>('A' + value - kMarkFirstLetter));
        else if (value == kMarkBlackPoint)
            add("TB", at);
        else if (value == kMarkWhitePoint)
            add("TW", at);
    }
    std::string text;
    for (const auto& p : props)
        text += p.first + p.second;
    return text;
}

struct Commentary {
    int BranchAt = 0; // number of main-line moves before the variation
    Body Content;
};

} // namespace

std::string RecordToSgf(const TGiboList& list, TSgfExportStats* stats)
{
    TSgfExportStats counts;
    const TRecordHeader header = ParseRecordHeader(list.Head()->Data);

    struct Move {
        char Colour;
        int X, Y;
    };
    std::vector<Move> moves;
    std::vector<Commentary> commentaries;
    std::vector<int> commentaryNumbers;
    for (TGoNode* node = list.Head()->Next; node != list.Head(); node = node->Next) {
        if (node->Kind == TGoNode::kMove) {
            int x = 0;
            int y = 0;
            MovePoint(node->Data, x, y);
            if (x < 0)
                continue;
            const int number = static_cast<int>(moves.size()) + 1;
            char colour = node->Data[0];
            if (colour != 'B' && colour != 'W')
                colour = MoveColour(number, header.Handicap);
            moves.push_back({colour, x, y});
        } else if (node->Kind == TGoNode::kCommentary) {
            Commentary c;
            if (!ParseBody(node->Data, c.Content)) {
                ++counts.SkippedCommentaries;
                continue;
            }
            commentaries.push_back(std::move(c));
            commentaryNumbers.push_back(node->Number);
        }
    }
    const int total = static_cast<int>(moves.size());
    for (std::size_t i = 0; i < commentaries.size(); ++i)
        commentaries[i].BranchAt = std::clamp(commentaryNumbers[i] - 1, 0, total);

    std::string out = "(;GM[1]FF[4]CA[UTF-8]AP[zel:1.8]SZ[19]\n";
    const auto [blackName, blackRank] = SplitDisplay(header.Black);
    const auto [whiteName, whiteRank] = SplitDisplay(header.White);
    out += Prop("PB", blackName);
    if (!blackRank.empty())
        out += Prop("BR", blackRank);
    out += Prop("PW", whiteName);
    if (!whiteRank.empty())
        out += Prop("WR", whiteRank);
    out += "\n";
    if (const auto stones = HandicapStones(header.Handicap); !stones.empty()) {
        out += "HA[" + std::to_string(header.Handicap) + "]AB";
        for (const Point& p : stones)
            out += "[" + SgfPoint(p.X, p.Y) + "]";
    }
    if (header.Komi == 0)
        out += "KM[0]";
    else
        out += "KM[" + std::string(header.KomiSide == 'A' ? "" : "-") + std::to_string(header.Komi) + ".5]";
    const std::string result = ResultToSgf(header.Result);
    if (!result.empty())
        out += "RE[" + result + "]";
    const std::string date = DateToSgf(header.DateLine);
    if (!date.empty())
        out += "DT[" + date + "]";
    if (!header.Title.empty())
        out += Prop("EV", header.Title);
    out += "\n";

    std::vector<std::string> tails;
    std::size_t next = 0;
    for (int n = 0; n <= total; ++n) {
        if (n > 0) {
            const Move& m = moves[static_cast<std::size_t>(n - 1)];
            out += std::string(";") + m.Colour + "[" + SgfPoint(m.X, m.Y) + "]";
            if (n % 10 == 0)
                out += "\n";
        }
        std::string variations;
        for (; next < commentaries.size() && commentaries[next].BranchAt == n; ++next) {
            const Body& body = commentaries[next].Content;
            std::string text = "(";
            for (std::size_t k = 0; k < body.Variation.size(); ++k) {
                const Point& p = body.Variation[k];
                text += std::string(";") + MoveColour(n + 1 + static_cast<int>(k), header.Handicap) + "[" +
                        SgfPoint(p.X, p.Y) + "]";
            }
            if (body.Variation.empty() || !body.Comment.empty() || !body.Marks.empty()) {
                if (body.Variation.empty())
                    text += ";";
                if (!body.Comment.empty())
                    text += Prop("C", ReplaceAll(body.Comment, kLineSep, "\n"));
                text += MarkProps(body.Marks);
            }
            variations += text + ")\n";
            ++counts.Commentaries;
        }
        if (!variations.empty()) {
            out += "(";
            if (n == total)
                out += ";";
            tails.push_back(variations);
        }
    }
    for (auto it = tails.rbegin(); it != tails.rend(); ++it)
        out += ")\n" + *it;
    out += ")\n";
    counts.Moves = total;
    if (stats)
        *stats = counts;
    return out;
}

namespace {

class Importer {
public:
    Importer(const SgfTree& tree, TextEncoding encoding) : tree_(tree), encoding_(encoding) {}

    SgfImportStatus Run(std::string& recordText);

private:
    std::string Text(const std::string& value) const { return ToCp949(value, encoding_); }
    const SgfNode& Node(int i) const { return tree_.Nodes[static_cast<std::size_t>(i)]; }
    static bool DecodePoint(const std::string& value, Point& p);
    SgfImportStatus ReadRoot(const SgfNode& root);
    SgfImportStatus AddMainMoves(const SgfNode& node, bool root);
    bool HasNotes(const SgfNode& node) const;
    std::string MakeBody(int branchAt, const std::vector<Point>& variation, const SgfNode& last) const;
    SgfImportStatus AddVariations(int start, int branchAt);
    SgfImportStatus AddCommentary(int branchAt, std::string body);

    const SgfTree& tree_;
    TextEncoding encoding_;
    TRecordHeader header_;
    std::vector<Point> moves_;
    std::vector<std::pair<int, std::string>> commentaries_; // first move number, body
};

bool Importer::DecodePoint(const std::string& value, Point& p)
{
    if (value.empty() || value == "tt") {
        p = {0, 0};
        return true;
    }
    if (value.size() != 2)
        return false;
    p = {value[0] - 'a' + 1, value[1] - 'a' + 1};
    return TGoBoard::IsOnBoard(p.X, p.Y);
}

SgfImportStatus Importer::ReadRoot(const SgfNode& root)
{
    if (const auto* size = root.Find("SZ"); size && *size != "19")
        return SgfImportStatus::NotNineteen;
    auto display = [this, &root](const char* name, const char* rank) {
        std::string text = root.Find(name) ? Text(*root.Find(name)) : std::string();
        if (root.Find(rank) && !root.Find(rank)->empty())
            text += " " + Text(*root.Find(rank));
        return text;
    };
    header_.Black = display("PB", "BR");
    header_.White = display("PW", "WR");

    if (!root.All("AW").empty() || !root.All("AE").empty())
        return SgfImportStatus::UnsupportedSetup;
    std::set<Point> stones;
    for (const auto& value : root.All("AB")) {
        Point p;
        if (!DecodePoint(value, p) || p.X == 0)
            return SgfImportStatus::UnsupportedSetup;
        stones.insert(p);
    }
    int declared = 0;
    if (const auto* ha = root.Find("HA"))
        std::from_chars(ha->data(), ha->data() + ha->size(), declared);
    if (!stones.empty()) {
        header_.Handicap = -1;
        for (int n : {declared, 2, 3, 4, 5, 6, 7, 8, 9, 10})
            if (n >= 2 && n <= 19 && HandicapStones(n) == stones) {
                header_.Handicap = n;
                break;
            }
        if (header_.Handicap < 0)
            return SgfImportStatus::UnsupportedSetup;
    }

    if (const auto* km = root.Find("KM")) {
        double komi = 0;
        std::from_chars(km->data(), km->data() + km->size(), komi);
        if (std::isfinite(komi)) {
            header_.KomiSide = komi < 0 ? 'B' : 'A';
            header_.Komi = static_cast<int>(std::min(std::floor(std::fabs(komi)), 675.0));
        }
    }
    if (const auto* re = root.Find("RE"))
        header_.Result = ResultFromSgf(*re);
    if (const auto* dt = root.Find("DT"))
        header_.DateLine = Text(dt->substr(0, dt->find(',')));
    if (const auto* ev = root.Find("EV"))
        header_.Title = Text(*ev);
    else if (const auto* gn = root.Find("GN"))
        header_.Title = Text(*gn);
    else
        header_.Title = RecordTitle();
    return SgfImportStatus::Ok;
}

SgfImportStatus Importer::AddMainMoves(const SgfNode& node, bool root)
{
    for (const auto& property : node.Properties) {
        if (!root && (property.Id == "AB" || property.Id == "AW" || property.Id == "AE"))
            return SgfImportStatus::UnsupportedSetup;
        if (property.Id != "B" && property.Id != "W")
            continue;
        Point p;
        if (!DecodePoint(property.Values.front(), p))
            return SgfImportStatus::BadMove;
        if (MoveColour(static_cast<int>(moves_.size()) + 1, header_.Handicap) != property.Id[0])
            moves_.push_back({0, 0});
        moves_.push_back(p);
        if (moves_.size() > static_cast<std::size_t>(kMaxRecordMoves))
            return SgfImportStatus::TooManyMoves;
    }
    return SgfImportStatus::Ok;
}

bool Importer::HasNotes(const SgfNode& node) const
{
    return node.Find("C") || node.Find("LB") || node.Find("TB") || node.Find("TW");
}

std::string Importer::MakeBody(int branchAt, const std::vector<Point>& variation, const SgfNode& last) const
{
    std::string body = NumToCode2(static_cast<int>(variation.size()) + 1);
    if (branchAt == 0) {
        body += "@A";
    } else {
        const Point& p = moves_[static_cast<std::size_t>(branchAt - 1)];
        body += Letters(p.X, p.Y);
    }
    for (const Point& p : variation)
        body += Letters(p.X, p.Y);
    body += kFieldSep;

    std::string marks;
    int count = 0;
    for (const auto& property : last.Properties) {
        for (const auto& value : property.Values) {
            Point p;
            if (property.Id == "LB") {
                const auto colon = value.find(':');
                if (colon != 2 || value.size() != 4 || value[3] < 'A' || value[3] > 'Z' ||
                    !DecodePoint(value.substr(0, 2), p) || p.X == 0)
                    continue;
                marks += Letters(p.X, p.Y) + NumToCode2(kMarkFirstLetter + value[3] - 'A');
                ++count;
            } else if (property.Id == "TB" || property.Id == "TW") {
                if (!DecodePoint(value, p) || p.X == 0)
                    continue;
                marks += Letters(p.X, p.Y) + NumToCode2(property.Id == "TB" ? kMarkBlackPoint : kMarkWhitePoint);
                ++count;
            }
        }
    }
    if (count > 675)
        count = 0, marks.clear();
    body += NumToCode2(count) + marks;
    body += kFieldSep;
    if (const auto* c = last.Find("C")) {
        std::string comment = ReplaceAll(ReplaceAll(Text(*c), "\r\n", "\n"), "\r", "\n");
        // The comment is one record line: other control characters go.
        std::erase_if(comment, [](char ch) { return ch != '\n' && static_cast<unsigned char>(ch) < 0x20; });
        body += ReplaceAll(comment, "\n", kLineSep);
    }
    return body;
}

SgfImportStatus Importer::AddCommentary(int branchAt, std::string body)
{
    if (commentaries_.size() + moves_.size() >= TGiboList::kMaxNodes)
        return SgfImportStatus::TooLarge;
    commentaries_.push_back({branchAt + 1, std::move(body)});
    return SgfImportStatus::Ok;
}

// Every path of the variation subtree starting at node `start` becomes a
// commentary at each node that carries notes and at each leaf.
SgfImportStatus Importer::AddVariations(int start, int branchAt)
{
    struct Frame {
        int Node;
        std::size_t NextChild;
        std::size_t PathLength;
    };
    std::vector<Point> path;
    std::vector<Frame> stack;
    auto enter = [&](int index) -> SgfImportStatus {
        const std::size_t before = path.size();
        for (const auto& property : Node(index).Properties) {
            if (property.Id != "B" && property.Id != "W")
                continue;
            Point p;
            if (!DecodePoint(property.Values.front(), p))
                continue;
            const int number = branchAt + static_cast<int>(path.size()) + 1;
            if (MoveColour(number, header_.Handicap) != property.Id[0])
                path.push_back({0, 0});
            path.push_back(p);
        }
        if (path.size() > static_cast<std::size_t>(kMaxVariationMoves))
            return SgfImportStatus::TooLarge;
        stack.push_back({index, 0, before});
        const SgfNode& node = Node(index);
        if (HasNotes(node) || node.Children.empty())
            return AddCommentary(branchAt, MakeBody(branchAt, path, node));
        return SgfImportStatus::Ok;
    };
    if (auto status = enter(start); status != SgfImportStatus::Ok)
        return status;
    while (!stack.empty()) {
        Frame& top = stack.back();
        const SgfNode& node = Node(top.Node);
        if (top.NextChild < node.Children.size()) {
            const int child = node.Children[top.NextChild++];
            if (auto status = enter(child); status != SgfImportStatus::Ok)
                return status;
        } else {
            path.resize(top.PathLength);
            stack.pop_back();
        }
    }
    return SgfImportStatus::Ok;
}

SgfImportStatus Importer::Run(std::string& recordText)
{
    if (auto status = ReadRoot(Node(0)); status != SgfImportStatus::Ok)
        return status;
    int index = 0;
    while (true) {
        const SgfNode& node = Node(index);
        if (auto status = AddMainMoves(node, index == 0); status != SgfImportStatus::Ok)
            return status;
        const int branchAt = static_cast<int>(moves_.size());
        if (HasNotes(node))
            if (auto status = AddCommentary(branchAt, MakeBody(branchAt, {}, node)); status != SgfImportStatus::Ok)
                return status;
        for (std::size_t c = 1; c < node.Children.size(); ++c)
            if (auto status = AddVariations(node.Children[c], branchAt); status != SgfImportStatus::Ok)
                return status;
        if (node.Children.empty())
            break;
        index = node.Children.front();
    }

    recordText = RecordHeaderLine(header_) + "\r\n";
    std::size_t next = 0;
    auto flush = [&](int upTo) {
        for (; next < commentaries_.size(); ++next) {
            // Commentaries are collected in main-line order.
            if (commentaries_[next].first > upTo)
                break;
            recordText += "VH" + NumToCode2(commentaries_[next].first) + commentaries_[next].second + "\r\n";
        }
    };
    for (std::size_t i = 0; i < moves_.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const Point& p = moves_[i];
        recordText += "PM" + NumToCode2(number) + MoveColour(number, header_.Handicap) + Letters(p.X, p.Y) +
                      Letters(p.Y, p.X) + "\r\n";
        flush(number);
    }
    flush(kMaxRecordMoves + 2);
    return SgfImportStatus::Ok;
}

} // namespace

SgfImportStatus SgfToRecordText(std::string_view sgf, std::string& recordText)
{
    SgfTree tree;
    switch (ParseSgf(sgf, tree)) {
    case SgfStatus::Ok:
        break;
    case SgfStatus::TooLarge:
        return SgfImportStatus::TooLarge;
    default:
        return SgfImportStatus::Syntax;
    }
    const std::string* declared = tree.Nodes.front().Find("CA");
    const TextEncoding encoding = DetectEncoding(sgf, declared ? std::string_view(*declared) : std::string_view());
    Importer importer(tree, encoding);
    return importer.Run(recordText);
}

const char* SgfImportStatusText(SgfImportStatus status)
{
    switch (status) {
    case SgfImportStatus::Ok:
        return "ok";
    case SgfImportStatus::Syntax:
        return "not an SGF game tree";
    case SgfImportStatus::TooLarge:
        return "too large for a record";
    case SgfImportStatus::NotNineteen:
        return "only 19x19 games can be recorded";
    case SgfImportStatus::UnsupportedSetup:
        return "setup stones other than the usual handicap placement";
    case SgfImportStatus::BadMove:
        return "a move off the board";
    case SgfImportStatus::TooManyMoves:
        return "more than 500 moves";
    }
    return "unknown";
}

} // namespace zel
