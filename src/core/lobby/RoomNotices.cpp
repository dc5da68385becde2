#include "core/lobby/RoomNotices.h"

#include "core/base/Cp949.h"
#include "core/lobby/LobbyChat.h"
#include "core/net/LobbyDispatch.h"

namespace zel {

LobbyButtons ComputeButtons(const TCManager* m, bool connected, bool multiHost, bool gameWindowOpen)
{
    LobbyButtons b;
    b.myRI = b.find = connected;
    if (!m || m->CheckRoom(m->currentRoom) != 0 || multiHost)
        return b;
    int state = m->Room(m->currentRoom).state;
    b.vGibo = state < 111;
    b.study = state == RoomOpen;
    b.vGame = state >= 111 && !gameWindowOpen;
    return b;
}

TRoomNotices::TRoomNotices(TLobbyDispatch& dispatch, TLobbyChat& chat, LobbyChatPorts& ports)
    : dispatch_(dispatch), chat_(chat), ports_(ports)
{
}

void TRoomNotices::Reset()
{
    inOwnRoom_.clear();
    chat_.multiHost.clear();
}

bool TRoomNotices::OwnMovedSinceLastAsk()
{
    bool moved = ownMoved_;
    ownMoved_ = false;
    return moved;
}

std::string TRoomNotices::PlaceText() const
{
    const TCManager* m = dispatch_.Model();
    if (!m || m->CheckRoom(m->currentRoom) != 0 || m->currentRoom == 0)
        return KS("대기실");
    return std::to_string(m->currentRoom) + KS(" 번 방(") + std::to_string(m->Room(m->currentRoom).people) + KS(" 명)");
}

std::string TRoomNotices::HostLine() const
{
    const TCManager* m = dispatch_.Model();
    if (!m || chat_.multiHost.empty())
        return {};
    int host = m->FindUser(chat_.multiHost);
    if (host < 0)
        return {};
    const UserRecord& u = m->User(host);
    return "   ### " + u.nickname + "(" + u.id + ") " + u.rankText + KS("님의 다면기 지도대국방 입니다!");
}

std::vector<std::string> TRoomNotices::MemberLines() const
{
    std::vector<std::string> lines;
    const TCManager* m = dispatch_.Model();
    if (!m || m->currentRoom <= 0 || m->CheckRoom(m->currentRoom) != 0)
        return lines;
    for (int u : m->Members(m->currentRoom)) {
        if (u == m->ownUser)
            continue;
        const UserRecord& r = m->User(u);
        std::string tag = r.nickname + "(" + r.id + ") " + r.rankText;
        while (tag.size() < 22)
            tag += ' ';
        lines.push_back(KS(" ※ ") + tag + KS("<-- 마우스로 누르면 대국신청이 됩니다!"));
    }
    return lines;
}

void TRoomNotices::OwnMoved(int room)
{
    TCManager* m = dispatch_.Model();
    chat_.multiHost.clear();
    ownMoved_ = true;
    inOwnRoom_.assign(static_cast<std::size_t>(m->Count()), 0);
    if (room > 0) {
        for (int u : m->Members(room))
            inOwnRoom_[static_cast<std::size_t>(u)] = 1;
        ports_.Print("### " + std::to_string(room) + KS("번 방에 들어 왔습니다!"));
        const RoomRecord& r = m->Room(room);
        if (r.state == RoomMulti && m->CheckUser(r.owner) == 0) {
            chat_.multiHost = m->User(r.owner).id;
            ports_.Print(HostLine());
        }
    } else {
        ports_.Print(KS("### 대기실 입니다!"));
    }
}

void TRoomNotices::RoomViewChanged(int kind, int u)
{
    TCManager* m = dispatch_.Model();
    if (!m || m->CheckUser(u) != 0)
        return;
    if (inOwnRoom_.size() != static_cast<std::size_t>(m->Count()))
        inOwnRoom_.assign(static_cast<std::size_t>(m->Count()), 0);
    const UserRecord& user = m->User(u);
    char& member = inOwnRoom_[static_cast<std::size_t>(u)];
    if (kind == 1 && u == m->ownUser) {
        OwnMoved(user.room);
        return;
    }
    if (kind == 1 && user.room == m->currentRoom && m->currentRoom > 0 && !member) {
        member = 1;
        ports_.Print("### " + user.nickname + "(" + user.id + KS(")님 입실"));
        if (!chat_.multiHost.empty() && chat_.multiHost == m->ownId)
            dispatch_.SendRoomRaw(">M<" + m->ownNickname + "(" + m->ownId + ")" + ">N<");
        // The blocker is recorded by nickname, as the block announces it.
        if (!chat_.chatBlocker.empty() && chat_.chatBlocker == m->ownNickname)
            dispatch_.SendPrivate(false, u, ">M<" + m->ownNickname + ">Z<");
    } else if (kind == 2 && member) {
        member = 0;
        if (u != m->ownUser)
            ports_.Print("### " + user.nickname + "(" + user.id + KS(")님 퇴실"));
    }
}

} // namespace zel
