#include "core/record/GiboList.h"

#include <algorithm>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/record/GiboText.h"

namespace zel {
namespace {

const char* KindLetters(std::uint8_t kind)
{
    switch (kind) {
    case TGoNode::kMove:
        return "PM";
    case TGoNode::kCommentary:
        return "VH";
    default:
        return "OO";
    }
}

} // namespace

void MovePoint(std::string_view data, int& x, int& y)
{
    x = y = -1;
    if (data.size() < 3)
        return;
    const int px = data[1] - 'A';
    const int py = data[2] - 'A';
    if ((px == 0 && py == 0) || (px >= 1 && px <= 19 && py >= 1 && py <= 19)) {
        x = px;
        y = py;
    }
}

bool AddRecordText(std::string_view text, TGiboList& list, std::size_t minLength)
{
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() >= minLength && line.size() >= 4 && !list.AddLine(line))
            return false;
        start = end + 1;
    }
    return true;
}

TGiboList::TGiboList() : head_(new TGoNode), current_(head_)
{
    head_->Prev = head_->Next = head_;
}

TGiboList::~TGiboList()
{
    TGoNode* node = head_->Next;
    while (node != head_) {
        TGoNode* next = node->Next;
        delete node;
        node = next;
    }
    delete head_;
}

void TGiboList::LinkAfter(TGoNode* at, TGoNode* node)
{
    node->Prev = at;
    node->Next = at->Next;
    at->Next->Prev = node;
    at->Next = node;
    ++count_;
}

bool TGiboList::AddLine(std::string_view line)
{
    if (line.size() < 4)
        return false;
    const char kindLetter = line[0];
    const int number = Code2ToNum(line.substr(2, 2));
    // A number its own two letters do not give back would be written out as
    // other bytes, a line break among them, and the record would not survive
    // its own save: such a line is left out.
    if (NumToCode2(number) != line.substr(2, 2))
        return true;
    std::string data(line.substr(4));

    if (kindLetter != 'P' && kindLetter != 'V') {
        // A header line always fills Head, never a move or commentary node
        // that Current happens to stand on.
        head_->Kind = TGoNode::kHeader;
        head_->Number = number;
        head_->Data = std::move(data);
        return true;
    }
    if (count_ >= kMaxNodes)
        return false;

    auto* node = new TGoNode;
    node->Kind = kindLetter == 'P' ? TGoNode::kMove : TGoNode::kCommentary;
    node->Number = number;
    node->Data = std::move(data);

    const bool isMove = node->Kind == TGoNode::kMove;
    if ((!isMove && current_->Number == number) || (isMove && current_->Number + 1 == number)) {
        LinkAfter(current_, node);
        current_ = node;
        return true;
    }
    // Search from Current: back while the new number is lower, then forward
    // over every node with the same or a lower number.
    TGoNode* at = current_;
    while (number < at->Number && at->Prev != head_)
        at = at->Prev;
    while (at->Next != head_ && at->Next->Number <= number)
        at = at->Next;
    LinkAfter(at, node);
    if (isMove)
        current_ = node;
    return true;
}

void TGiboList::LandOn(TGoNode* node)
{
    current_ = node;
    if (node->Kind == TGoNode::kMove) {
        StepKind = 1;
        MovePoint(node->Data, StepX, StepY);
    } else {
        StepKind = 2;
        StepText = NumToCode2(node->Number) + node->Data;
    }
}

bool TGiboList::NextMove()
{
    Forward = 1;
    while (current_->Next != head_) {
        current_ = current_->Next;
        if (current_->Kind == TGoNode::kMove) {
            MovePoint(current_->Data, StepX, StepY);
            return true;
        }
    }
    return false;
}

bool TGiboList::PrevMove()
{
    Forward = 0;
    if (current_ == head_ || current_->Prev == head_)
        return false;
    while (current_->Prev != head_) {
        current_ = current_->Prev;
        if (current_->Kind == TGoNode::kMove) {
            MovePoint(current_->Data, StepX, StepY);
            return true;
        }
    }
    return false;
}

bool TGiboList::StepForward()
{
    Forward = 1;
    if (current_->Next == head_)
        return false;
    LandOn(current_->Next);
    return true;
}

bool TGiboList::StepBack()
{
    Forward = 0;
    if (current_ == head_ || current_->Prev == head_)
        return false;
    LandOn(current_->Prev);
    return !(current_->Kind == TGoNode::kMove && current_->Next->Kind == TGoNode::kCommentary);
}

bool TGiboList::SeekMove(int n)
{
    // Only move nodes carry a point; commentary nodes are passed over.
    for (TGoNode* node = head_->Next; node != head_; node = node->Next) {
        if (node->Kind != TGoNode::kMove || node->Number < n)
            continue;
        if (node->Number != n)
            return false;
        MovePoint(node->Data, StepX, StepY);
        return true;
    }
    return false;
}

void TGiboList::DeleteCurrent()
{
    if (current_ == head_)
        return;
    TGoNode* gone = current_;
    current_ = gone->Prev != head_ ? gone->Prev : gone->Next;
    gone->Prev->Next = gone->Next;
    gone->Next->Prev = gone->Prev;
    delete gone;
    --count_;
}

int TGiboList::MoveNodeCount() const
{
    int moves = 0;
    for (TGoNode* node = head_->Next; node != head_; node = node->Next)
        moves += node->Kind == TGoNode::kMove ? 1 : 0;
    return moves;
}

std::string TGiboList::FileText() const
{
    std::string text;
    if (count_ == 0)
        return text;
    TGoNode* node = head_;
    do {
        text += KindLetters(node->Kind);
        text += NumToCode2(node->Number);
        text += node->Data;
        text += "\r\n";
        node = node->Next;
    } while (node != head_);
    return text;
}

std::string TGiboList::CompactText() const
{
    std::string text = head_->Data;
    text += kLineSep;
    text += NumToCode2(head_->Prev->Number);
    for (TGoNode* node = head_->Next; node != head_; node = node->Next)
        if (node->Kind == TGoNode::kMove)
            text += node->Data.substr(0, 3);
    return text;
}

std::string TGiboList::PrintTitle(std::string_view recordName) const
{
    return std::string(recordName) + std::string(kFieldSep) + head_->Data;
}

std::string TGiboList::EmptyPrintTitle()
{
    return "\\#\\#\\#AAAG\\#\\#" + KS("가온하루미 벨다대국") + "\\#\\#";
}

TMoveTable TGiboList::MoveTable() const
{
    TMoveTable table;
    table.Last = std::clamp<std::int32_t>(head_->Prev->Number, 0, 500);
    for (TGoNode* node = head_->Next; node != head_; node = node->Next) {
        if (node->Kind != TGoNode::kMove || node->Number < 1 || node->Number > 500)
            continue;
        int x = 0;
        int y = 0;
        MovePoint(node->Data, x, y);
        if (x < 0)
            x = y = 0;
        table.Points[static_cast<std::size_t>(node->Number)] = {static_cast<std::uint8_t>(x),
                                                                static_cast<std::uint8_t>(y)};
    }
    return table;
}

} // namespace zel
