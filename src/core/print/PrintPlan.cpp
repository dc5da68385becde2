#include <algorithm>
#include <cstdio>

#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/print/Diagram.h"
#include "core/print/PrintJob.h"

namespace zel {

std::string TPrintPlan::AllText() const
{
    std::string text;
    for (const TPage& page : Pages)
        for (const TDrawOp& op : page.Ops)
            if (op.Kind == TDrawOp::kText)
                text += op.Text + "\n";
    return text;
}

namespace {

// Placements of the split and commentary pages, in printer pixels.
constexpr int kTwoCell = 115;
constexpr int kFourCell = 105;
constexpr int kCommentaryCell = 115;
constexpr int kBlockGap = 150; // between the header block and the diagram

const std::string& FaceName()
{
    return KS("굴림체");
}

// printf into a string; the format and its arguments are CP949 or ASCII.
template <class... A> std::string Format(const std::string& format, A... args)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format.c_str(), args...);
    return buf;
}

TDrawOp Shape(TDrawOp::TKind kind, int x, int y, int w, int h)
{
    TDrawOp op;
    op.Kind = kind;
    op.X = x;
    op.Y = y;
    op.W = w;
    op.H = h;
    return op;
}

class TPlanner {
public:
    TPlanner(const TPageSetup& setup, const TPrintSource& source, const std::string& dateTime)
        : s_(setup), source_(source), header_(source.Header()), dateTime_(dateTime)
    {
        s_.Resolution = std::clamp(s_.Resolution, 72, 2400);
        s_.Cell = std::clamp(s_.Cell, 10, 2000);
        s_.TopMargin = std::max(s_.TopMargin, 0);
        s_.LeftMargin = std::max(s_.LeftMargin, 0);
    }

    TPrintPlan Whole(int first, int last, bool whole);
    TPrintPlan Split(int splitNo, int perPage);
    TPrintPlan Commentaries();

private:
    int Px(int points) const { return points * s_.Resolution / 72; }
    TDrawOp& Text(int x, int y, int w, int h, const std::string& text, const LFontDesc& font, int align);
    void Frame(const std::string& leftText);
    int HeaderBlock();
    void Board(const LDispGGrid& grid, int x0, int y0, int cell);
    void Notes(const LDispGGrid& notes, int left, int top, int cell);
    void Point(const TGridEntry& e, int cx, int cy, int cell, bool emptyPatch);
    void Diagram(const TMoveTable& moves, int first, int last, int notesWidth, int x0, int y0, int cell, int notesCell);
    void DrawDiagram(const LDispGGrid& board, const LDispGGrid& notes, int x0, int y0, int cell, int notesCell);
    void NewPage() { plan_.Pages.emplace_back(); }
    TPage& Page() { return plan_.Pages.back(); }

    TPageSetup s_;
    const TPrintSource& source_;
    TRecordHeader header_;
    std::string dateTime_;
    TPrintPlan plan_;
};

TDrawOp& TPlanner::Text(int x, int y, int w, int h, const std::string& text, const LFontDesc& font, int align)
{
    TDrawOp op;
    op.Kind = TDrawOp::kText;
    op.X = x;
    op.Y = y;
    op.W = w;
    op.H = h;
    op.Text = text;
    op.Font = font;
    op.FontPx = Px(font.Size);
    op.Align = align;
    Page().Ops.push_back(op);
    return Page().Ops.back();
}

void TPlanner::Frame(const std::string& leftText)
{
    const LFontDesc font{FaceName(), 10, LFontDesc::kItalic};
    const int fh = Px(font.Size);
    const int inset = s_.LeftMargin / 2;
    const int width = s_.Width - 2 * inset;
    const int bar = std::max(2, s_.Resolution / 50);
    const int headerBar = s_.TopMargin * 3 / 4;
    if (!leftText.empty())
        Text(inset, headerBar - fh - bar, width, fh, leftText, font, TDrawOp::kLeft | TDrawOp::kBottom);
    Text(inset, headerBar - fh - bar, width, fh, dateTime_ + "   " + source_.RecordName(), font,
         TDrawOp::kRight | TDrawOp::kBottom);
    Page().Ops.push_back(Shape(TDrawOp::kBar, inset, headerBar, width, bar));
    const int footerBar = s_.Height - s_.TopMargin * 3 / 4 - bar;
    Page().Ops.push_back(Shape(TDrawOp::kBar, inset, footerBar, width, bar));
    Text(inset, footerBar + 2 * bar, width, fh, KS("벨다 바둑 기보 인쇄"), font, TDrawOp::kRight | TDrawOp::kTop);
}

int TPlanner::HeaderBlock()
{
    const LFontDesc title{FaceName(), 20, LFontDesc::kPlain};
    const LFontDesc block{FaceName(), 12, LFontDesc::kPlain};
    const int L = s_.LeftMargin;
    const int width = s_.Width - 2 * L;
    int y = s_.TopMargin;
    Text(L, y, width, Px(title.Size), header_.Title, title, TDrawOp::kHCentre | TDrawOp::kTop);
    y += Px(title.Size) * 3 / 2;
    const std::string lines[] = {
        KS("흑   : ") + header_.Black,  KS("백   : ") + header_.White,    KS("방법 : ") + PrintMethodText(header_),
        KS("결과 : ") + header_.Result, KS("일시 : ") + header_.DateLine,
    };
    for (const std::string& line : lines) {
        Text(L, y, width, Px(block.Size), line, block, TDrawOp::kLeft | TDrawOp::kTop);
        y += Px(block.Size) * 3 / 2;
    }
    return y;
}

void TPlanner::Point(const TGridEntry& e, int cx, int cy, int cell, bool emptyPatch)
{
    const bool stone = e.HasStone();
    const bool black = e.Colour() == TGridEntry::kBlack;
    const int pen = std::max(1, cell / 40);
    if (stone) {
        const int inset = cell * 5 / 200;
        TDrawOp c =
            Shape(TDrawOp::kCircle, cx - cell / 2 + inset, cy - cell / 2 + inset, cell - 2 * inset, cell - 2 * inset);
        c.Pen = pen;
        c.Filled = black;
        Page().Ops.push_back(c);
    }
    std::string text;
    int px = cell * 11 / 20;
    if (e.Label() != 0) {
        text = LabelText(e.Label());
    } else if (e.Number >= 0) {
        text = std::to_string(e.Number);
        px = text.size() == 1 ? cell * 11 / 20 : text.size() == 2 ? cell * 9 / 20 : cell * 7 / 20;
    }
    if (text.empty())
        return;
    if (!stone && emptyPatch)
        Page().Ops.push_back(
            Shape(TDrawOp::kPatch, cx - cell * 3 / 10, cy - cell * 3 / 10, cell * 3 / 5, cell * 3 / 5));
    const LFontDesc font{FaceName(), std::max(1, px * 72 / s_.Resolution), LFontDesc::kPlain};
    TDrawOp& op = Text(cx - cell / 2, cy - cell / 2, cell, cell, text, font, TDrawOp::kHCentre | TDrawOp::kVCentre);
    op.FontPx = px;
    op.White = stone && black;
}

void TPlanner::Board(const LDispGGrid& grid, int x0, int y0, int cell)
{
    const int pen = std::max(1, cell / 40);
    const int half = cell / 2;
    for (int y = 1; y <= kBoardSize; ++y) {
        for (int x = 1; x <= kBoardSize; ++x) {
            const int cx = x0 + (x - 1) * cell;
            const int cy = y0 + (y - 1) * cell;
            const bool stone = grid.Point(x, y).HasStone();
            // Half-lines towards the neighbours, but not between two stones.
            const struct {
                int dx, dy;
            } sides[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& d : sides) {
                const int nx = x + d.dx;
                const int ny = y + d.dy;
                if (nx < 1 || nx > kBoardSize || ny < 1 || ny > kBoardSize)
                    continue;
                if (stone && grid.Point(nx, ny).HasStone())
                    continue;
                TDrawOp line = Shape(TDrawOp::kLine, cx, cy, d.dx * half, d.dy * half);
                line.Pen = pen;
                Page().Ops.push_back(line);
            }
            const bool star = (x == 4 || x == 10 || x == 16) && (y == 4 || y == 10 || y == 16);
            if (star && !stone) {
                const int r = std::max(2, cell / 10);
                TDrawOp dot = Shape(TDrawOp::kCircle, cx - r, cy - r, 2 * r, 2 * r);
                dot.Filled = true;
                Page().Ops.push_back(dot);
            }
        }
    }
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            Point(grid.Point(x, y), x0 + (x - 1) * cell, y0 + (y - 1) * cell, cell, true);
}

void TPlanner::Notes(const LDispGGrid& notes, int left, int top, int cell)
{
    const int rows = notes.UsedRows();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < LDispGGrid::kColumns; ++c)
            Point(notes.Entry(r, c), left + c * cell + cell / 2, top + r * cell + cell / 2, cell, false);
}

void TPlanner::Diagram(const TMoveTable& moves, int first, int last, int notesWidth, int x0, int y0, int cell,
                       int notesCell)
{
    LDispGGrid board;
    LDispGGrid notes;
    BuildDiagram(notesWidth, first, board, notes, moves, header_.Handicap, 0, last);
    DrawDiagram(board, notes, x0, y0, cell, notesCell);
}

void TPlanner::DrawDiagram(const LDispGGrid& board, const LDispGGrid& notes, int x0, int y0, int cell, int notesCell)
{
    Board(board, x0, y0, cell);
    const int boardBottom = y0 + (kBoardSize - 1) * cell + cell / 2;
    Notes(notes, x0 - cell / 2, boardBottom + notesCell, notesCell);
}

TPrintPlan TPlanner::Whole(int first, int last, bool whole)
{
    NewPage();
    Frame(Format(whole ? KS("총보 : %d ~ %d") : KS("부분보 : %d ~ %d"), first, last));
    const int top = HeaderBlock() + kBlockGap;
    const int cell = s_.Cell;
    const int L = s_.LeftMargin;
    const int x0 = L + (s_.Width - 2 * L - kBoardSize * cell) / 2 + cell / 2;
    Diagram(source_.Moves, first, last, kNotesWide, x0, top + cell / 2, cell, (2 * cell + 1) / 3);
    return std::move(plan_);
}

TPrintPlan TPlanner::Split(int splitNo, int perPage)
{
    const int lastMove = std::clamp(source_.Moves.Last, 0, kMaxMoves);
    splitNo = std::clamp(splitNo, 1, kMaxMoves);
    perPage = perPage >= 4 ? 4 : perPage >= 2 ? 2 : 1;
    const int T = s_.TopMargin;
    const int L = s_.LeftMargin;
    const int W = s_.Width;
    const int H = s_.Height;
    int cell = s_.Cell;
    int titleSize = 14;
    std::vector<std::pair<int, int>> places; // centre of point (1, 1) of each diagram on a page
    if (perPage == 1) {
        places = {{L + (W - 2 * L - kBoardSize * cell) / 2 + cell / 2, T + 800}};
    } else if (perPage == 2) {
        cell = kTwoCell;
        titleSize = 11;
        const int x = L + (W - 2 * L - kBoardSize * cell) / 2 + cell / 2;
        places = {{x, T + 300}, {x, (H - 2 * T) / 2 + T + 200}};
    } else {
        cell = kFourCell;
        titleSize = 10;
        const int left = (W - 44 * cell) / 2 + 2 * cell + cell / 2;
        const int right = (W - 44 * cell) / 2 + 23 * cell + cell / 2;
        const int upper = T + 400;
        const int lower = (H - 2 * T) / 2 + T + 300;
        places = {{left, upper}, {right, upper}, {left, lower}, {right, lower}};
    }
    const LFontDesc title{FaceName(), titleSize, LFontDesc::kPlain};
    const int notesCell = (3 * cell + 2) / 4;
    const int notesWidth = perPage == 1 ? kNotesWide : kNotesNarrow;
    std::size_t slot = 0;
    for (int first = 1; first <= lastMove; first += splitNo) {
        if (slot == 0) {
            NewPage();
            Frame({});
        }
        const int last = std::min(first + splitNo - 1, lastMove);
        const auto [x0, y0] = places[slot];
        Text(x0 - cell / 2, y0 - cell - Px(titleSize), kBoardSize * cell, Px(titleSize),
             Format(KS("[부분보 : %d 수 ~ %d 수]"), first, last), title, TDrawOp::kHCentre | TDrawOp::kBottom);
        Diagram(source_.Moves, first, last, notesWidth, x0, y0, cell, notesCell);
        slot = (slot + 1) % places.size();
    }
    return std::move(plan_);
}

TPrintPlan TPlanner::Commentaries()
{
    const LFontDesc heading{FaceName(), 12, LFontDesc::kPlain};
    const LFontDesc body{FaceName(), 10, LFontDesc::kPlain};
    const int T = s_.TopMargin;
    const int L = s_.LeftMargin;
    const int cell = kCommentaryCell;
    const int notesCell = (3 * cell + 2) / 4;
    int slot = 0;
    for (const TPrintCommentary& c : source_.Commentaries) {
        const std::optional<TPrintVariation> v = ParsePrintVariation(c);
        if (!v)
            continue; // a malformed commentary is left out; the others print
        if (slot == 0)
            NewPage();
        const int top = slot == 0 ? T : (s_.Height - 2 * T) / 2 + T;
        Text(L, top, s_.Width - 2 * L, Px(heading.Size), Format(KS("[%d 번째 수에 대한 참고도]"), v->First), heading,
             TDrawOp::kLeft | TDrawOp::kTop);
        LDispGGrid board;
        LDispGGrid notes;
        BuildVariationDiagram(source_.Moves, header_.Handicap, *v, board, notes);
        const int boardTop = top + Px(heading.Size) * 2;
        const int x0 = L + cell / 2;
        DrawDiagram(board, notes, x0, boardTop + cell / 2, cell, notesCell);
        const int textLeft = L + kBoardSize * cell + cell * 2;
        int y = boardTop;
        for (const std::string& line : CommentLines(v->Comment)) {
            if (!line.empty())
                Text(textLeft, y, s_.Width - L - textLeft, Px(body.Size), line, body, TDrawOp::kLeft | TDrawOp::kTop);
            y += Px(body.Size) * 4 / 3;
        }
        slot = 1 - slot;
    }
    return std::move(plan_);
}

} // namespace

TPrintPlan PlanPrint(const TPageSetup& setup, const TPrintRequest& request, const TPrintSource& source,
                     const std::string& dateTime)
{
    TPlanner planner(setup, source, dateTime);
    const int lastMove = std::clamp(source.Moves.Last, 0, kMaxMoves);
    switch (request.Method) {
    case kPrintWhole:
        return planner.Whole(1, lastMove, true);
    case kPrintRange: {
        const int last = std::min(request.To, lastMove);
        if (request.From < 1 || request.From > last)
            return {};
        return planner.Whole(request.From, last, false);
    }
    case kPrintSplit:
        return planner.Split(request.SplitNo, request.PerPage);
    case kPrintCommentaries:
        return planner.Commentaries();
    default:
        return {}; // the current commentary alone is not printed
    }
}

} // namespace zel
