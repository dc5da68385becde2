// Group review: the host opens a record, the others in the room join with
// their own copy or the host's, and every reviewer's window follows the
// positions, commentaries and participation checks the others send.
#include <algorithm>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/game/GameTexts.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/record/SafeName.h"

namespace zel {
namespace {

// Review messages carry this in place of a game key and a sender.
constexpr std::string_view kReviewPrefix = "XAXXXXXX";
// A record fits the 500 moves of a board.
constexpr int kMaxRecordMoves = 500;
// The header data of a received record: one line of a record file.
constexpr std::size_t kMaxHeaderBytes = 600;
// A commentary or participation text shown from another reviewer.
constexpr std::size_t kMaxReviewText = 2048;
constexpr int kNoticeMs = 2000;

bool EndsWithZel(std::string_view name)
{
    if (name.size() <= 4)
        return false;
    std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && (ext[1] | 0x20) == 'z' && (ext[2] | 0x20) == 'e' && (ext[3] | 0x20) == 'l';
}

// A review title names a record file: a bare ".zel" name that stays inside
// the record directory (no separator, "..", drive or device name).
bool IsReviewName(std::string_view name)
{
    return IsBareName(name) && EndsWithZel(name);
}

// One line of text: no byte that would end or split a record line.
bool IsOneLine(std::string_view text, std::size_t max)
{
    return text.size() <= max && text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsLetterIn(char c, char first, char last)
{
    return c >= first && c <= last;
}

} // namespace

std::string TBBS2Zel::OwnNickname()
{
    // The lobby's label is "nickname(id) level".
    const std::string label = s_.lobby.UserLabel(MyId);
    const std::size_t paren = label.find('(');
    return paren == std::string::npos ? label : label.substr(0, paren);
}

bool TBBS2Zel::OpenReview()
{
    if (gameOpen_)
        return false;
    const std::string path = s_.window.ChooseRecord(KS("기보 복기"));
    if (path.empty() || gameOpen_)
        return false;
    const std::size_t slash = path.find_last_of("/\\");
    const std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!IsReviewName(title)) {
        TimedNotice(KS("복기할 수 없는 기보 파일 이름입니다."), kNoticeMs);
        return false;
    }
    StartSession(kReviewSession);
    reviewHost_ = true;
    reviewTitle_ = title;
    reviewNode_ = "AA";
    if (!s_.window.OpenReview(path, true, MyId)) {
        EndSession();
        return false;
    }
    s_.lobby.ReviewStarted();
    SendRaw(std::string(kReviewPrefix) + "GBR" + reviewTitle_ + "\\#");
    return true;
}

void TBBS2Zel::JoinReview(const std::string& title)
{
    if (gameOpen_ || requestPending_ || !s_.lobby.InRoom() || !IsReviewName(title))
        return;
    if (!s_.records.Exists(title)) {
        fetchTitle_ = title;
        s_.lobby.SendRoomText(">B<A(" + MyId + ")>G<");
        return;
    }
    fetchTitle_.clear();
    StartSession(kReviewSession);
    reviewHost_ = false;
    reviewTitle_ = title;
    reviewNode_ = "AA";
    if (!s_.window.OpenReview(title, false, MyId)) {
        EndSession();
        return;
    }
    SendRaw(std::string(kReviewPrefix) + "GBP" + reviewTitle_ + "\\#" + KS("참여: ") + OwnNickname() + "(" + MyId +
            ")" + "\\#" + NextLetter());
}

void TBBS2Zel::SendReviewRecord(const std::string& toUser)
{
    if (!reviewHost_ || sessionKind_ != kReviewSession || toUser.empty() || toUser == MyId)
        return;
    const std::string compact = s_.window.CompactRecordText();
    if (!compact.empty())
        SendPieces("GSI", reviewTitle_ + "\\#" + compact, toUser);
}

void TBBS2Zel::ReviewTitleAsked(const std::string& toUser)
{
    if (reviewHost_ && sessionKind_ == kReviewSession && !toUser.empty() && toUser != MyId)
        s_.lobby.SendPrivate(toUser, ">B<\\#" + reviewTitle_ + "\\#>H<");
}

void TBBS2Zel::ReviewTitleMarker(std::string_view text)
{
    const std::size_t at = text.find(">B<\\#");
    if (at == std::string_view::npos)
        return;
    std::size_t pos = at + 5;
    JoinReview(NextField(text, pos));
}

void TBBS2Zel::StoreReviewRecord(const std::string& text)
{
    std::size_t pos = 0;
    const std::string name = NextField(text, pos);
    if (!IsReviewName(name)) {
        TimedNotice(KS("받은 기보의 파일 이름이 올바르지 않아 저장하지 않았습니다."), kNoticeMs);
        return;
    }
    // Only the record this user asked for, and never over a file it has.
    if (fetchTitle_.empty() || name != fetchTitle_)
        return;
    fetchTitle_.clear();
    if (s_.records.Exists(name)) {
        TimedNotice(KS("같은 이름의 기보가 이미 있어 받은 기보를 저장하지 않았습니다."), kNoticeMs);
        return;
    }
    const std::string_view rest = pos < text.size() ? std::string_view(text).substr(pos) : std::string_view();
    const std::size_t mark = rest.find("\\!");
    bool valid = mark != std::string_view::npos && IsOneLine(rest.substr(0, mark), kMaxHeaderBytes);
    std::string_view moves = valid ? rest.substr(mark + 2) : std::string_view();
    const int count =
        moves.size() >= 2 && IsLetterIn(moves[0], 'A', 'Z') && IsLetterIn(moves[1], 'A', 'Z') ? Code2ToNum(moves) : -1;
    valid = valid && count >= 0 && count <= kMaxRecordMoves && moves.size() == 2 + 3 * static_cast<std::size_t>(count);
    for (int i = 0; valid && i < count; ++i) {
        const std::string_view m = moves.substr(2 + 3 * static_cast<std::size_t>(i), 3);
        valid = (m[0] == 'B' || m[0] == 'W') && IsLetterIn(m[1], 'A', 'T') && IsLetterIn(m[2], 'A', 'T');
    }
    if (!valid) {
        TimedNotice(KS("받은 기보가 올바르지 않아 저장하지 않았습니다."), kNoticeMs);
        return;
    }
    std::string file = "OOAA" + std::string(rest.substr(0, mark)) + "\r\n";
    for (int i = 1; i <= count; ++i) {
        const std::string_view m = moves.substr(2 + 3 * static_cast<std::size_t>(i - 1), 3);
        file += "PM" + NumToCode2(i) + m[0] + m[1] + m[2] + m[2] + m[1] + "\r\n";
    }
    if (!s_.records.Write(name, file)) {
        TimedNotice(KS("받은 기보를 저장하지 못했습니다."), kNoticeMs);
        return;
    }
    JoinReview(name);
}

void TBBS2Zel::ReviewGiboEvent(int kind, const std::string& text)
{
    if (sessionKind_ != kReviewSession || reviewTitle_.empty())
        return;
    const std::string prefix = std::string(kReviewPrefix);
    switch (kind) {
    case 2:
        // The window gives the record name, "\#" and the body.
        SendRaw(prefix + "GBH" + text);
        break;
    case 3:
        SendRaw(prefix + "GBY" + reviewTitle_ + "\\#" + MyId + "\\#" + NextLetter());
        break;
    case 4:
        if (text.size() != 2)
            return;
        reviewNode_ = text;
        SendRaw(prefix + "GBS" + reviewTitle_ + "\\#" + text);
        break;
    case 5:
        SendRaw(prefix + "GBP" + reviewTitle_ + "\\#" + KS("마침: ") + OwnNickname() + "(" + MyId + ")" + "\\#" +
                NextLetter());
        if (reviewHost_)
            s_.lobby.ReviewEnded();
        reviewHost_ = false;
        break;
    default:
        break;
    }
}

void TBBS2Zel::ReviewOpened(const std::string& p)
{
    if (gameOpen_)
        return;
    std::size_t pos = 0;
    JoinReview(NextField(p, pos));
}

void TBBS2Zel::HandleReviewQueue()
{
    // A commentary shown over the review holds the messages back.
    if (queueBusy_ || !s_.window.ShowsReview())
        return;
    queueBusy_ = true;
    queueInterval_ = 100;
    inRead_ = (inRead_ + 1) % kSlots;
    std::string m = std::move(inSlots_[inRead_]);
    inSlots_[inRead_].clear();
    lastMessage_ = m;
    // game(3) + sender(3) + code(3) + payload
    if (m.size() >= 9 && m.compare(6, 2, "GB") == 0)
        HandleReviewMessage(m.substr(6, 3), m.substr(9));
    queueBusy_ = false;
}

void TBBS2Zel::HandleReviewMessage(const std::string& code, const std::string& p)
{
    std::size_t pos = 0;
    if (NextField(p, pos) != reviewTitle_ || reviewTitle_.empty())
        return;
    const std::string_view rest = pos < p.size() ? std::string_view(p).substr(pos) : std::string_view();
    if (code == "GBP") {
        std::size_t at = 0;
        const std::string line = NextField(rest, at);
        if (line.empty() || !IsOneLine(line, kMaxReviewText))
            return;
        s_.window.ChatLine(line);
        // A newcomer learns where the host stands.
        if (reviewHost_)
            SendRaw(std::string(kReviewPrefix) + "GBS" + reviewTitle_ + "\\#" + reviewNode_ + NextLetter());
    } else if (code == "GBS") {
        if (rest.size() >= 2 && IsLetterIn(rest[0], 'A', 'Z') && IsLetterIn(rest[1], 'A', 'Z'))
            s_.window.SeekReviewPosition(Code2ToNum(rest));
    } else if (code == "GBY") {
        std::size_t at = 0;
        const std::string asker = NextField(rest, at);
        if (asker.empty() || asker == MyId || asker.size() > kMaxIdBytes || asker.find('>') != std::string::npos)
            return;
        s_.lobby.SendPrivate(asker, ">B<" + KS("참여: ") + OwnNickname() + "(" + MyId + ")>P<");
    } else if (code == "GBH") {
        if (!rest.empty() && IsOneLine(rest, kMaxReviewText))
            s_.window.ShowReviewCommentary(std::string(rest));
    }
}

} // namespace zel
