#include "core/lobby/LobbyChat.h"

#include <algorithm>
#include <cstdio>

#include "core/base/Cp949.h"
#include "core/lobby/ChatCommand.h"
#include "core/lobby/FriendList.h"
#include "core/net/LobbyDispatch.h"
#include "core/ports/Clock.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

std::string PadTo(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

// A number in the game messages' two-letter form ("AA" = 0 .. "ZZ" = 675),
// the form the players' clocks read a byo-yomi change in.
std::string TwoLetters(int n)
{
    n = std::clamp(n, 0, 675);
    return {static_cast<char>('A' + n / 26), static_cast<char>('A' + n % 26)};
}

// "nickname(id) rank" as the find and friend notices show a user.
std::string UserTag(const UserRecord& u)
{
    return PadTo(u.nickname, 8) + PadTo("(" + u.id + ")", 10) + " " + u.rankText;
}

} // namespace

TLobbyChat::TLobbyChat(TLobbyDispatch& dispatch, FriendsInfo& friends, const Clock& clock, LobbyChatPorts& ports)
    : dispatch_(dispatch), friends_(friends), clock_(clock), ports_(ports)
{
}

TCManager* TLobbyChat::Model() const
{
    return dispatch_.Model();
}

std::string TLobbyChat::OwnTag() const
{
    const TCManager* m = Model();
    return m ? m->ownNickname + "(" + m->ownId + ")" : std::string{};
}

void TLobbyChat::ConnectionOpened()
{
    entered_ = false;
    quitting_ = false;
    memoTarget = -1;
}

void TLobbyChat::LoginAccepted()
{
    // Lines typed before the lobby is complete are chat or commands, never
    // memos to whatever user number happens to be stored.
    memoTarget = -1;
    RecountFriends();
}

void TLobbyChat::LobbyEntered()
{
    entered_ = true;
    memoTarget = -1;
    RecountFriends();
}

void TLobbyChat::ConnectionClosed()
{
    entered_ = false;
    multiHost.clear();
    chatBlocker.clear();
    memos_.HideAll();
    for (int i = 0; i < TMemoBook::kWindows; ++i)
        ports_.HideMemo(i);
    friendsOnline_ = 0;
    ports_.FriendCounterChanged(0, 0);
}

void TLobbyChat::ChatBlockMarker(bool blocked, const std::string& text)
{
    const std::size_t from = text.find(">M<");
    if (from == std::string::npos)
        return;
    const std::size_t to = text.find(blocked ? ">Z<" : ">R<", from + 3);
    if (to == std::string::npos || to == from + 3)
        return;
    const std::string name = text.substr(from + 3, to - from - 3);
    if (blocked) {
        chatBlocker = name;
        ports_.Notify(KS("대화차단: ") + name, 2000);
    } else if (!chatBlocker.empty()) {
        chatBlocker.clear();
        ports_.Notify(KS("대화허용: ") + name, 2000);
    }
}

bool TLobbyChat::MayUseLine(std::size_t length) const
{
    return length >= 1 && length <= kMaxLine && clock_.Now() != lastSend_;
}

void TLobbyChat::Sent(const std::string& ringText)
{
    std::int32_t now = clock_.Now();
    lastSend_ = now;
    if (ring_.Record(now, ringText) && !quitting_) {
        quitting_ = true;
        ports_.Quit();
    }
}

void TLobbyChat::ChatBoxLine(const std::string& line)
{
    if (!entered_)
        ports_.Notify(KS("정보를 받는 중에는 대화가 안됩니다."), 1500);
    if (!MayUseLine(line.size()))
        return;
    if (memoTarget >= 0) {
        dispatch_.SendPrivate(true, memoTarget, line);
    } else {
        ChatCommand c = ParseChatCommand(line);
        if (c.word.empty())
            dispatch_.SendRoom(line);
        else if (c.word == "c")
            ports_.GameCommand(line);
        else
            RunCommand(c.word, c.argument);
    }
    Sent(line);
}

void TLobbyChat::SendMacro(const std::string& text)
{
    if (!MayUseLine(text.size()))
        return;
    ChatCommand c = ParseChatCommand(text);
    if (c.word.empty())
        dispatch_.SendRoom(text);
    else
        RunCommand(c.word, c.argument);
    Sent("zel macro text");
}

bool TLobbyChat::SendMemoLine(int user, const std::string& text)
{
    if (!MayUseLine(text.size()))
        return false;
    dispatch_.SendPrivate(true, user, text);
    Sent(text);
    return true;
}

void TLobbyChat::RunCommand(const std::string& word, const std::string& arg)
{
    TCManager* m = Model();
    if (!m)
        return;
    bool playing = ports_.GameInProgress();
    int room = 0;
    if (ParseRoomNumber(word, room) || (word == "j" && ParseRoomNumber(arg, room))) {
        if (!playing && m->CheckRoom(room) == 0)
            dispatch_.EnterRoom(room);
    } else if (word == "q" || word == "p") {
        if (m->currentRoom != 0 && !playing)
            dispatch_.EnterRoom(0);
    } else if (word == "f") {
        if (!arg.empty())
            Find(arg);
    } else if (word == "m") {
        if (!arg.empty() && m->currentRoom == 0 && !playing)
            dispatch_.MakeRoom(arg, false);
    } else if (word == "v") {
        if (!playing) {
            ports_.CloseGameWindow();
            dispatch_.SendRoomRaw((multiHost.empty() ? ">A<GRR>B<" : ">S<GRR>B<") + OwnTag());
        }
    } else if (word == "b") {
        if (ports_.NormalLobbyMode())
            dispatch_.SendRoomRaw(">B<" + OwnTag() + ">I<");
    } else if (word == "x") {
        dispatch_.SendRoomRaw(KS("   ###  대국을 강제 중단하였습니다!"));
        ports_.StopGame(KS("본인"), m->ownId);
    } else if (word == "clear") {
        if (!multiHost.empty() && multiHost == m->ownId)
            ports_.ClearMultiBoards();
    } else if (word == "c") {
        ports_.GameCommand("/c" + (arg.empty() ? std::string{} : " " + arg));
    } else if (word == "toall") {
        if (!arg.empty())
            dispatch_.SendNotice(arg);
    } else if (word == "ts") {
        int a = 0, b = 0;
        if (playing && ParseTimePair(arg, a, b) && a > 0 && b > 0)
            dispatch_.SendRoomRaw(">M<" + TwoLetters(a) + TwoLetters(b) + ">T<");
    } else if (word == "to" || word == "memo") {
        MemoCommand(arg);
    } else if (word == "t") {
        if (!arg.empty() && m->CheckRoom(m->currentRoom) == 0 && m->currentRoom != 0 &&
            m->Room(m->currentRoom).owner == m->ownUser && m->Room(m->currentRoom).state == RoomOpen)
            dispatch_.ChangeTitle(arg);
    } else if (word == "elmzs" || word == "elmzr") {
        dispatch_.SendRoomRaw(">M<" + m->ownNickname + (word == "elmzs" ? ">Z<" : ">R<"));
    } else if (word == "ver") {
        dispatch_.SendRoomRaw(">M<" + m->ownId + ">X<");
    } else if (word == "qxwplmv") {
        if (!arg.empty())
            dispatch_.Send21050(arg);
    }
}

void TLobbyChat::MemoCommand(const std::string& arg)
{
    std::size_t blank = arg.find(' ');
    if (blank == std::string::npos || blank == 0 || blank + 1 >= arg.size()) {
        ports_.Print(KS("   ### 메모 보내기는 '/to ID 내용' 또는 '/memo ID 내용' 입니다"));
        return;
    }
    // Sent only when a connected user has the id.
    dispatch_.SendPrivateTo(arg.substr(0, blank), arg.substr(blank + 1), true);
}

void TLobbyChat::Find(const std::string& id)
{
    const TCManager* m = Model();
    int u = m->FindUser(id);
    if (u < 0) {
        ports_.Print(KS("   ### 접속자 중에서 일치되는 사람이 없습니다."));
        return;
    }
    const UserRecord& user = m->User(u);
    std::string place = user.room == 0 ? KS("대기실") : std::to_string(user.room) + KS(" 번 방");
    ports_.Print(KS("   ### 찾기결과 :: ") + UserTag(user) + KS(" 님 >> ") + place);
}

int TLobbyChat::OpenMemo(int user)
{
    const TCManager* m = Model();
    if (!m || m->CheckUser(user) != 0)
        return -1;
    bool opened = false;
    int w = memos_.Open(user, m->User(user).nickname, &opened);
    if (w >= 0)
        ports_.ShowMemo(w, {}, opened);
    return w;
}

void TLobbyChat::CloseMemo(int window, bool refuse)
{
    if (window < 0 || window >= TMemoBook::kWindows)
        return;
    const TCManager* m = Model();
    int user = memos_.At(window).user;
    std::string id = m && m->CheckUser(user) == 0 ? m->User(user).id : std::string{};
    memos_.Hide(window, refuse, id);
    ports_.HideMemo(window);
}

bool TLobbyChat::OfferMemo(int sender, const std::string& text)
{
    const TCManager* m = Model();
    if (!m || m->CheckUser(sender) != 0)
        return false;
    const UserRecord& user = m->User(sender);
    TMemoBook::Delivery d = memos_.Receive(sender, user.id, user.nickname, text);
    if (d.window >= 0)
        ports_.ShowMemo(d.window, d.line, d.opened);
    return d.consumed;
}

void TLobbyChat::RecountFriends()
{
    const TCManager* m = Model();
    friendsOnline_ = 0;
    int stored = std::clamp(friends_.count, 0, FriendsInfo::kMax);
    if (m)
        for (int i = 0; i < stored; ++i)
            if (m->FindUser(friends_.friends[static_cast<std::size_t>(i)].id) >= 0)
                ++friendsOnline_;
    ports_.FriendCounterChanged(friendsOnline_, stored);
}

void TLobbyChat::UserJoined(int u)
{
    const TCManager* m = Model();
    if (!m || m->CheckUser(u) != 0 || FindFriend(friends_, m->User(u).id) < 0)
        return;
    ++friendsOnline_;
    ports_.Print(KS("   ### 친구접속 :: ") + UserTag(m->User(u)) + KS(" 님 >> 대기실"));
    ports_.FriendCounterChanged(friendsOnline_, std::clamp(friends_.count, 0, FriendsInfo::kMax));
}

void TLobbyChat::UserLeft(int u)
{
    const TCManager* m = Model();
    if (!m || m->CheckUser(u) != 0)
        return;
    int w = memos_.UserLeft(u);
    if (w >= 0)
        ports_.HideMemo(w);
    if (FindFriend(friends_, m->User(u).id) < 0)
        return;
    friendsOnline_ = std::max(0, friendsOnline_ - 1);
    ports_.FriendCounterChanged(friendsOnline_, std::clamp(friends_.count, 0, FriendsInfo::kMax));
}

} // namespace zel
