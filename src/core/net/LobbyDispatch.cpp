#include "core/net/LobbyDispatch.h"

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "core/net/PacketLayout.h"
#include "core/net/PacketQ.h"
#include "core/net/PacketSender.h"
#include "core/ports/Clock.h"
#include "core/settings/ZelStatus.h"

#include <algorithm>
#include <cstring>

namespace zel {

namespace {

bool Contains(const std::string& text, std::string_view marker)
{
    return text.find(marker) != std::string::npos;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

const std::string kSeparator = "\\#";

} // namespace

TLobbyDispatch::TLobbyDispatch(PacketSender& sender, LobbySettings settings, const Clock& clock, LobbyPorts& ports,
                               GameSessionPort& game)
    : sender_(sender), settings_(std::move(settings)), clock_(clock), ports_(ports), game_(game)
{
}

TLobbyDispatch::~TLobbyDispatch() = default;

void TLobbyDispatch::Notice(const std::string& text)
{
    ports_.Print("   ### " + text, false);
}

bool TLobbyDispatch::OwnRoomIsMulti() const
{
    return model_ && model_->CheckRoom(model_->currentRoom) == 0 &&
           model_->Room(model_->currentRoom).state == RoomMulti;
}

void TLobbyDispatch::OnConnectionCleanup()
{
    CloseInvitation();
    model_.reset();
}

void TLobbyDispatch::OnPacket(const std::uint8_t* p, std::size_t n)
{
    if (n < PacketHeader::kSize)
        return;
    PacketHeader h = PacketHeader::Decode(p);
    if (h.length != n)
        return;
    switch (h.code) {
    case pk::InviteSent:
        if (h.argument == pk::SendInviteDone)
            Notice(KS("대국 초대 메시지를 보냈습니다."));
        else if (h.argument == pk::RoomInviteDone)
            Notice(KS("초대 메시지를 보냈습니다."));
        break;
    case pk::LoginAccepted:
        if (n >= 12)
            LoginAccepted(p);
        break;
    case pk::PrivateText:
        if (n > pk::at::privateText::kText) {
            // The text runs to the terminating zero at the end of the packet.
            std::string text = GetText(p + pk::at::privateText::kText, n - pk::at::privateText::kText);
            DispatchText(GetU16(p + pk::at::privateText::kSender), text);
        }
        break;
    case pk::RoomText:
    case pk::NoticeText:
        DispatchText(h.argument, std::string(reinterpret_cast<const char*>(p + pk::at::roomText::kText),
                                             n - pk::at::roomText::kText));
        break;
    case pk::LobbyReset:
        if (model_)
            model_->Reset();
        ports_.LobbyReset();
        break;
    case pk::LobbyEntered:
        LobbyEntered();
        break;
    case pk::Stored27010:
        std::memcpy(stored27010_.data(), p, std::min(n, stored27010_.size()));
        break;
    case pk::GameInvite:
    case pk::RoomInvite:
        if (n >= pk::at::invitation::kSize)
            HandleInvitation(p, h.code);
        break;
    case pk::RoomInviteRefuse:
    case pk::GameInviteRefuse:
        if (n >= pk::at::refusal::kSize)
            HandleRefusal(p, h.code);
        break;
    case pk::GameRequestGo:
        if (model_ && model_->CheckUser(h.argument) == 0) {
            int u = h.argument;
            if (model_->currentRoom > 0 && model_->User(u).room == model_->currentRoom)
                SendGameRequest(u);
            else
                SendGameInvite(u);
        }
        break;
    case pk::GameRequest:
        if (n >= 8 && model_) {
            int requester = GetU16(p + 4);
            int requested = GetU16(p + 6);
            if (model_->CheckUser(requester) != 0 || model_->CheckUser(requested) != 0)
                break;
            if (requester == model_->ownUser)
                game_.RequestGame(model_->User(requested).id);
            else if (!OwnRoomIsMulti())
                Notice(model_->User(requester).nickname + KS(" 님이 ") + model_->User(requested).nickname +
                       KS(" 님께 대국 신청 중입니다."));
        }
        break;
    case pk::GameRequestCancel:
        if (!OwnRoomIsMulti())
            Notice(KS("대국신청이 취소되었습니다."));
        break;
    case pk::GameRequestRefuse:
        if (!OwnRoomIsMulti())
            Notice(KS("대국신청이 거부되었습니다."));
        break;
    case pk::UserMoves:
    case pk::UserLeaves:
        HandleMove(h.code, p, n);
        break;
    default:
        HandleModel(h.code, p, n);
        break;
    }
}

void TLobbyDispatch::HandleMove(std::uint16_t code, const std::uint8_t* p, std::size_t n)
{
    int u = n >= pk::at::userMove::kUser + 2 && model_ ? GetU16(p + pk::at::userMove::kUser) : -1;
    if (u < 0 || model_->CheckUser(u) != 0 || u == model_->ownUser) {
        HandleModel(code, p, n);
        return;
    }
    // The own room as it was before the move: a move of the own user comes
    // in its own packet, so it cannot change between the two looks.
    const int room = model_->currentRoom;
    const bool wasMember = room > 0 && model_->User(u).room == room;
    const std::string nickname = model_->User(u).nickname, id = model_->User(u).id;
    HandleModel(code, p, n);
    if (!model_ || room <= 0 || model_->currentRoom != room)
        return;
    const bool isMember = model_->User(u).room == room;
    if (wasMember && !isMember)
        game_.UserLeftRoom(nickname, id);
    else if (!wasMember && isMember)
        game_.UserEnteredRoom(nickname, id);
}

void TLobbyDispatch::HandleModel(std::uint16_t code, const std::uint8_t* p, std::size_t n)
{
    if (!model_)
        return;
    TCManager& m = *model_;
    switch (code) {
    case pk::UserArrives:
        m.UserArrives(p, n);
        break;
    case pk::UserMoves:
        m.UserMoves(p, n);
        break;
    case pk::RoomOpened:
        m.RoomOpened(p, n);
        break;
    case pk::RoomTitle:
        m.RoomTitle(p, n);
        break;
    case pk::RoomSnapshot:
        m.RoomSnapshot(p, n);
        break;
    case pk::RoomMembers:
        m.RoomMembers(p, n);
        break;
    case pk::ProfileChange:
        m.ProfileChange(p, n);
        break;
    case pk::InviteSetting:
        m.InviteSetting(p, n);
        break;
    case pk::MatchRoom:
        m.MatchRoom(p, n);
        break;
    case pk::GameEnd:
        m.GameEnds(p, n);
        break;
    case pk::GameStart:
        m.GameStarts(p, n);
        break;
    case pk::ReviewStart:
        m.ReviewStarts(p, n);
        break;
    case pk::ReviewEnd:
        m.ReviewEnds(p, n);
        break;
    case pk::UserLeaves:
        m.UserLeaves(p, n);
        break;
    default:
        break; // life-cycle codes and the ones without a visible effect
    }
}

void TLobbyDispatch::LoginAccepted(const std::uint8_t* p)
{
    if (!model_) {
        model_ = std::make_unique<TCManager>(GetU16(p + 8));
        model_->onRoomChange = [this](int kind, int room) { ports_.RoomChanged(kind, room); };
        model_->onUserViewChange = [this](int kind, int user) { ports_.UserViewChanged(kind, user); };
        model_->onRoomViewChange = [this](int kind, int user) { ports_.RoomViewChanged(kind, user); };
        ports_.LobbyCreated();
    }
    model_->ownUser = GetU16(p + 4);
    model_->ownRoom = GetU16(p + 6);
    model_->ownId = identity_.id;
    model_->ownNickname = identity_.nickname;
    model_->ownRankText = RankText(identity_.level, false);
    ports_.RefreshCounters();
}

void TLobbyDispatch::LobbyEntered()
{
    game_.LobbyEntered();
    ports_.LobbyEntered();
    ports_.RefreshCounters();
    const std::string& partner = settings_.friends.lastPartner;
    if (partner.empty() || !model_)
        return;
    int u = model_->FindUser(partner);
    std::string nickname, rank, place;
    if (u < 0) {
        place = KS("접속 안함");
    } else {
        nickname = model_->User(u).nickname;
        rank = model_->User(u).rankText;
        int room = model_->User(u).room;
        place = room == 0 ? KS("대기실") : std::to_string(room) + KS(" 번 방");
    }
    Notice(KS("최근대국 :: ") + PadRight(nickname, 8) + PadRight("(" + partner + ")", 10) + " " + rank + KS(" 님 >> ") +
           place);
}

std::string TLobbyDispatch::Field(const std::string& text, int index) const
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        std::size_t at = text.find(kSeparator, start);
        if (at == std::string::npos)
            return {};
        start = at + kSeparator.size();
    }
    std::size_t end = text.find(kSeparator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void TLobbyDispatch::DispatchText(int argument, const std::string& text)
{
    bool b = Contains(text, ">B<");
    bool m = Contains(text, ">M<");
    if (Contains(text, ">A<GRR>B<")) {
        if (game_.IsBlackOfRunningGame()) {
            if (argument < 0)
                game_.SendGameState(-1);
            else if (model_ && model_->CheckUser(argument) == 0)
                game_.SendGameState(argument);
        }
    } else if (Contains(text, ">C<") && Contains(text, ">D<")) {
        game_.HandleMarker('C', text);
    } else if (Contains(text, ">S<GRR>B<")) {
        if (game_.HasMultiHost() && game_.IsBlackOfRunningGame() && model_ && model_->CheckUser(argument) == 0)
            game_.SendStatusLine(argument);
    } else if (m && Contains(text, ">P<")) {
        RecordsReply(text);
    } else if (m && Contains(text, ">N<")) {
        GradeReply(text);
    } else if (m && (Contains(text, ">D<") || b || Contains(text, ">T<") || Contains(text, ">X<") ||
                     Contains(text, ">Z<") || Contains(text, ">R<"))) {
        char marker = 0;
        for (char c : {'D', 'B', 'T', 'X', 'Z', 'R'}) {
            if (Contains(text, std::string{'>', c, '<'})) {
                marker = c;
                break;
            }
        }
        if (marker == 'Z' || marker == 'R')
            ports_.ChatBlockMarker(marker == 'Z', text);
        if (marker == 'T')
            game_.ByoyomiMarker(argument, text);
        else if (marker == 'D' || marker == 'B' || marker == 'X')
            game_.PrivateMarker(marker, argument, text);
        else
            game_.HandleMarker(marker, text);
    } else if (m && Contains(text, ">Y<")) {
        ports_.Print(text, false);
    } else if (b && Contains(text, ">H<")) {
        // The title stands between the first two separators: the session
        // takes it from the whole text.
        game_.HandleMarker('H', text);
    } else if (b && Contains(text, ">P<")) {
        std::size_t from = text.find(">B<") + 3;
        std::size_t to = text.find(">P<", from);
        if (to != std::string::npos)
            ports_.Print(text.substr(from, to - from), false);
    } else if (b && (Contains(text, ">G<") || Contains(text, ">I<"))) {
        game_.HandleArgument(Contains(text, ">G<") ? 'G' : 'I', argument);
    } else if (std::size_t o = 0, e = 0; TPacketQ::FindMarkers(text, o, e)) {
        if (packetQ_)
            packetQ_->Receive(text, o, e);
    } else if (!(StartsWith(text, KS("   ### [메모]")) && ports_.OfferMemo(argument, text))) {
        ports_.Print(text, false);
    }
}

void TLobbyDispatch::SendRecordsRequest(int user)
{
    if (model_)
        SendPrivate(false, user, ">M<" + kSeparator + identity_.id + kSeparator + ">P<");
}

void TLobbyDispatch::ProfileChanged(int level, int profile, int invitations)
{
    identity_.level = level;
    identity_.profile = profile;
    identity_.invitations = invitations;
    if (model_)
        model_->ownRankText = RankText(level, false);
}

void TLobbyDispatch::RecordsReply(const std::string& text)
{
    if (identity_.profile == 30)
        return;
    const auto& total = settings_.login.counters[0];
    std::string reply = "   ###   " + identity_.nickname + "(" + identity_.id + KS(") :: 총 ") +
                        std::to_string(total[0]) + KS("전 ") + std::to_string(total[1]) + KS("승 ") +
                        std::to_string(total[2]) + KS("패 ") + std::to_string(total[3]) + KS("무 ") + "  ###";
    SendPrivateTo(Field(text, 1), reply);
}

void TLobbyDispatch::GradeReply(const std::string& text)
{
    std::string reply =
        "   ###   " + identity_.nickname + KS("님의 접속상태는 ") + std::string(1, grade_) + KS(" 등급입니다");
    SendPrivateTo(Field(text, 1), reply);
}

void TLobbyDispatch::HandleInvitation(const std::uint8_t* p, std::uint16_t code)
{
    if (!model_ || !settings_.login.inviteOn || invitation_)
        return;
    int inviter = GetU16(p + pk::at::invitation::kInviter);
    if (model_->CheckUser(inviter) != 0)
        return;
    const UserRecord& u = model_->User(inviter);
    bool room = code == pk::RoomInvite;
    std::string first = u.nickname + "(" + u.id + ") " + u.rankText + (room ? KS(" 님이") : KS(" 님의"));
    std::string second = room ? std::to_string(GetU16(p + pk::at::invitation::kRoom)) + KS("번 방에서 초대합니다.")
                              : KS("대국신청 초대입니다.");
    invitation_.emplace(code, p, first, second, settings_.environment.messages[0], clock_.Now());
    ports_.InvitationOpened(*invitation_);
}

void TLobbyDispatch::Tick(std::int32_t now)
{
    if (!invitation_)
        return;
    int before = invitation_->gauge;
    bool expired = invitation_->Tick(now);
    if (invitation_->gauge != before)
        ports_.InvitationChanged(*invitation_);
    if (expired)
        RefuseInvitation();
}

void TLobbyDispatch::CloseInvitation()
{
    if (!invitation_)
        return;
    invitation_.reset();
    ports_.InvitationClosed();
}

void TLobbyDispatch::AcceptInvitation()
{
    if (!invitation_)
        return;
    std::uint16_t code = invitation_->code == pk::RoomInvite ? pk::RoomInviteAccept : pk::GameInviteAccept;
    if (std::uint8_t* s = sender_.Staging(code)) {
        std::memcpy(s, invitation_->record.data(), invitation_->record.size());
        sender_.SendPacket(code, pk::at::invitation::kSize);
    }
    CloseInvitation();
}

void TLobbyDispatch::RefuseInvitation()
{
    if (!invitation_)
        return;
    const TInvitation& inv = *invitation_;
    bool room = inv.code == pk::RoomInvite;
    std::uint16_t code = room ? pk::RoomInviteRefuse : pk::GameInviteRefuse;
    const std::uint8_t* r = inv.record.data();
    if (std::uint8_t* s = sender_.Staging(code)) {
        PutU16(s + pk::at::refusal::kInvited, GetU16(r + pk::at::invitation::kInvited));
        PutU16(s + pk::at::refusal::kInviter, GetU16(r + pk::at::invitation::kInviter));
        PutU16(s + pk::at::refusal::kInviterRoom, GetU16(r + pk::at::invitation::kInviterRoom));
        PutText(s + pk::at::refusal::kReason, pk::at::refusal::kReasonSize - 1, inv.refusal);
        s[pk::at::refusal::kSize - 1] = 0;
        sender_.SendPacket(code, pk::at::refusal::kSize);
    }
    int inviter = GetU16(r + pk::at::invitation::kInviter);
    std::string name = model_ && model_->CheckUser(inviter) == 0 ? model_->User(inviter).nickname : std::string{};
    Notice(std::to_string(GetU16(r + pk::at::invitation::kRoom)) + KS("번 방 ") + name +
           KS(" 님의 초대를 거부 했습니다."));
    CloseInvitation();
}

void TLobbyDispatch::HandleRefusal(const std::uint8_t* p, std::uint16_t code)
{
    if (!model_)
        return;
    int invited = GetU16(p + pk::at::refusal::kInvited);
    if (model_->CheckUser(invited) != 0)
        return;
    std::string reason = GetText(p + pk::at::refusal::kReason, pk::at::refusal::kReasonSize);
    const std::string& who = model_->User(invited).nickname;
    bool room = code == pk::RoomInviteRefuse;
    std::string base = room ? KS(" 님이 초대에 응하지 않았습니다") : KS(" 님이 대국신청 초대에 응하지 않았습니다");
    Notice(who + base + (reason.empty() ? std::string{} : "(" + reason + ")") + ".");
}

void TLobbyDispatch::SendPrivate(bool memo, int user, const std::string& text)
{
    if (!model_ || model_->CheckUser(user) != 0 || model_->ownUser < 0)
        return;
    std::string body =
        memo ? KS("   ### [메모] ") + identity_.nickname + " [" + model_->ownRankText + "] " + text : text;
    body.resize(Cp949PrefixLength(body, kMaxPrivate));
    std::uint8_t* s = sender_.Staging(pk::PrivateText);
    PutU16(s + pk::at::privateText::kRecipient, static_cast<std::uint16_t>(user));
    PutU16(s + pk::at::privateText::kRecipientHandle, model_->User(user).handle);
    PutU16(s + pk::at::privateText::kSender, static_cast<std::uint16_t>(model_->ownUser));
    s[pk::at::privateText::kMemo] = memo ? 1 : 0;
    std::memcpy(s + pk::at::privateText::kText, body.data(), body.size());
    s[pk::at::privateText::kText + body.size()] = 0;
    sender_.SendPacket(pk::PrivateText, body.size() + pk::at::privateText::kText + 1);
}

bool TLobbyDispatch::SendPrivateTo(const std::string& id, const std::string& text, bool memo)
{
    if (!model_)
        return false;
    int u = model_->FindUser(id);
    if (u < 0)
        return false;
    SendPrivate(memo, u, text);
    return true;
}

void TLobbyDispatch::SendRoomRaw(const std::string& text)
{
    if (!model_ || model_->ownUser < 0)
        return;
    std::size_t n = Cp949PrefixLength(text, kMaxText);
    std::uint8_t* s = sender_.Staging(pk::RoomText);
    PutU16(s + pk::at::roomText::kSender, static_cast<std::uint16_t>(model_->ownUser));
    std::memcpy(s + pk::at::roomText::kText, text.data(), n);
    sender_.SendPacket(pk::RoomText, n + pk::at::roomText::kText);
}

void TLobbyDispatch::SendRoom(const std::string& text)
{
    if (!model_)
        return;
    SendRoomRaw(identity_.nickname + " [" + model_->ownRankText + "] : " + text);
}

void TLobbyDispatch::SendNotice(const std::string& text)
{
    if (!model_ || model_->ownUser < 0)
        return;
    std::string body = KS("   ### [알림] : ") + text;
    std::size_t n = Cp949PrefixLength(body, kMaxText);
    std::uint8_t* s = sender_.Staging(pk::NoticeText);
    PutU16(s + pk::at::roomText::kSender, static_cast<std::uint16_t>(model_->ownUser));
    std::memcpy(s + pk::at::roomText::kText, body.data(), n);
    sender_.SendPacket(pk::NoticeText, n + pk::at::roomText::kText);
}

void TLobbyDispatch::SendSix(std::uint16_t code, int argument)
{
    std::uint8_t* s = sender_.Staging(code);
    PutU16(s + 4, static_cast<std::uint16_t>(argument));
    sender_.SendPacket(code, 6);
}

void TLobbyDispatch::SendRoomInvite(int user)
{
    if (!model_ || model_->CheckUser(user) != 0)
        return;
    std::uint8_t* s = sender_.Staging(pk::RoomInvite);
    PutU16(s + pk::at::invitation::kInviter, static_cast<std::uint16_t>(model_->ownUser));
    PutU16(s + pk::at::invitation::kInviterRoom, static_cast<std::uint16_t>(model_->ownRoom));
    PutU16(s + pk::at::invitation::kInvited, static_cast<std::uint16_t>(user));
    PutU16(s + pk::at::invitation::kInvitedHandle, model_->User(user).handle);
    PutU16(s + pk::at::invitation::kRoom, static_cast<std::uint16_t>(std::max(0, model_->currentRoom)));
    sender_.SendPacket(pk::RoomInvite, pk::at::invitation::kSize);
}

void TLobbyDispatch::SendGameInvite(int user)
{
    if (!model_ || model_->CheckUser(user) != 0)
        return;
    std::uint8_t* s = sender_.Staging(pk::GameInvite);
    PutU16(s + pk::at::invitation::kInviter, static_cast<std::uint16_t>(model_->ownUser));
    PutU16(s + pk::at::invitation::kInviterRoom, static_cast<std::uint16_t>(model_->ownRoom));
    PutU16(s + pk::at::invitation::kInvited, static_cast<std::uint16_t>(user));
    PutU16(s + pk::at::invitation::kInvitedHandle, model_->User(user).handle);
    PutU16(s + pk::at::invitation::kRoom, static_cast<std::uint16_t>(std::max(0, model_->currentRoom)));
    sender_.SendPacket(pk::GameInvite, pk::at::invitation::kSize);
}

void TLobbyDispatch::SendGameRequest(int user)
{
    if (!model_ || model_->CheckUser(user) != 0)
        return;
    std::uint8_t* s = sender_.Staging(pk::GameRequest);
    PutU16(s + 4, static_cast<std::uint16_t>(model_->ownUser));
    PutU16(s + 6, static_cast<std::uint16_t>(user));
    sender_.SendPacket(pk::GameRequest, 8);
}

void TLobbyDispatch::CancelGameRequest()
{
    if (model_)
        SendSix(pk::GameRequestCancel, model_->ownUser);
}

void TLobbyDispatch::RefuseGameRequest()
{
    if (model_)
        SendSix(pk::GameRequestRefuse, model_->ownUser);
}

void TLobbyDispatch::SendGameStart(int black, int white)
{
    if (!model_ || model_->CheckUser(black) != 0 || model_->CheckUser(white) != 0)
        return;
    std::uint8_t* s = sender_.Staging(pk::GameStart);
    PutU16(s + 4, static_cast<std::uint16_t>(black));
    PutU16(s + 6, static_cast<std::uint16_t>(white));
    sender_.SendPacket(pk::GameStart, 8);
}

void TLobbyDispatch::SendGameEnd()
{
    if (model_)
        SendSix(pk::GameEnd, model_->ownUser);
}

void TLobbyDispatch::SendReviewStart()
{
    if (model_)
        SendSix(pk::ReviewStart, model_->ownUser);
}

void TLobbyDispatch::SendReviewEnd()
{
    if (model_)
        SendSix(pk::ReviewEnd, model_->ownUser);
}

void TLobbyDispatch::SendRoomRecord(std::uint16_t code, int room, int state, const std::string& title)
{
    std::uint8_t* s = sender_.Staging(code);
    PutU16(s + 4, static_cast<std::uint16_t>(room));
    PutU16(s + 6, static_cast<std::uint16_t>(state));
    PutU32(s + 16, 0xFFFFFFFFu);
    PutU32(s + 20, static_cast<std::uint32_t>(model_->ownUser));
    PutText(s + 28, 31, title);
    s[59] = 0;
    sender_.SendPacket(code, 60);
}

void TLobbyDispatch::MakeRoom(const std::string& title, bool multi)
{
    if (model_)
        SendRoomRecord(pk::MakeRoom, 0, multi ? RoomMulti : RoomOpen, title);
}

void TLobbyDispatch::ChangeTitle(const std::string& title)
{
    if (!model_ || model_->CheckRoom(model_->currentRoom) != 0)
        return;
    SendRoomRecord(pk::RoomTitle, model_->currentRoom, model_->Room(model_->currentRoom).state, title);
}

void TLobbyDispatch::EnterRoom(int room)
{
    if (!model_ || model_->CheckRoom(room) != 0)
        return;
    std::uint8_t* s = sender_.Staging(pk::EnterRoom);
    PutU16(s + pk::at::userMove::kUser, static_cast<std::uint16_t>(model_->ownUser));
    PutU16(s + pk::at::userMove::kRoom, static_cast<std::uint16_t>(room));
    sender_.SendPacket(pk::EnterRoom, pk::at::userMove::kSize);
}

void TLobbyDispatch::Leave()
{
    if (model_)
        SendSix(pk::Leave, model_->ownUser);
}

bool TLobbyDispatch::Send21050(const std::string& id)
{
    if (!model_)
        return false;
    int u = model_->FindUser(id);
    if (u < 0)
        return false;
    std::uint8_t* s = sender_.Staging(pk::Unused21050);
    PutU16(s + 4, static_cast<std::uint16_t>(u));
    PutU16(s + 6, model_->User(u).handle);
    sender_.SendPacket(pk::Unused21050, 8);
    return true;
}

void TLobbyDispatch::ReportResult(bool userIsBlack, const std::string& opponentId, const std::string& winnerWord,
                                  const std::string& kindCode)
{
    enum { Played = 0, Won = 1, Lost = 2, Drawn = 3 };
    int result = Lost;
    if ((StartsWith(winnerWord, KS("흑")) && userIsBlack) || (StartsWith(winnerWord, KS("백")) && !userIsBlack))
        result = Won;
    else if (StartsWith(winnerWord, KS("무")))
        result = Drawn;
    int band = kindCode == "A" ? 2 : (userIsBlack ? 1 : 3);
    auto& counters = settings_.login.counters;
    for (int b : {0, band}) {
        ++counters[b][Played];
        ++counters[b][result];
    }
    if (settings_.save)
        settings_.save("Login Info");
    FriendsInfo& f = settings_.friends;
    int count = std::clamp(f.count, 0, FriendsInfo::kMax);
    for (int i = 0; i < count; ++i) {
        FriendEntry& e = f.friends[static_cast<std::size_t>(i)];
        if (opponentId.empty() || e.id != opponentId)
            continue;
        if (result == Won)
            ++e.wins;
        else if (result == Lost)
            ++e.losses;
        if (settings_.save)
            settings_.save("Friends Info");
        break;
    }
}

} // namespace zel
