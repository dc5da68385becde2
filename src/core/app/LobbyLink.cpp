#include "core/app/LobbyLink.h"

#include "core/app/LobbyApp.h"
#include "core/app/LobbyView.h"
#include "core/app/LoginRecord.h"
#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketCodes.h"
#include "core/settings/ZelStatus.h"

namespace zel {

TLobbyLink::TLobbyLink(TLobbyApp& app, TZelStatus& status, const Clock& clock, LobbyView& view, GameSessionPort* game)
    : app_(app), status_(status), view_(view),
      dispatch_(app.Sender(),
                LobbySettings{status.login, status.friends, status.environment,
                              [&status](const std::string& section) { status.Save(section); }},
                clock, *this, game ? *game : noGame_)
{
}

void TLobbyLink::OnPacket(const std::uint8_t* packet, std::size_t length)
{
    if (length >= 2 && GetU16(packet) == pk::LoginAccepted) {
        LobbyIdentity identity;
        identity.id = app_.OwnId();
        identity.nickname = app_.OwnNickname();
        identity.level = status_.login.level;
        identity.profile = LoginRecord::ProfileByte(status_.login);
        identity.invitations = LoginRecord::InvitationsByte(status_.login);
        dispatch_.SetIdentity(identity);
    }
    dispatch_.OnPacket(packet, length);
}

void TLobbyLink::OnConnectionCleanup()
{
    dispatch_.OnConnectionCleanup();
    RefreshCounters();
    if (onCleanup)
        onCleanup();
}

void TLobbyLink::Print(const std::string& line, bool lineFlag)
{
    if (lineFlag)
        view_.PrintLine("");
    view_.PrintLine(line);
    if (lineFlag)
        view_.PrintLine("");
}

void TLobbyLink::RefreshCounters()
{
    view_.SetPanel(10, RoomCounterText(dispatch_.Model()));
    if (ui_)
        ui_->RefreshCounters();
}

void TLobbyLink::LobbyCreated()
{
    if (ui_)
        ui_->LobbyCreated();
}

void TLobbyLink::LobbyReset()
{
    if (ui_)
        ui_->LobbyReset();
}

void TLobbyLink::LobbyEntered()
{
    if (ui_)
        ui_->LobbyEntered();
}

void TLobbyLink::RoomChanged(int kind, int room)
{
    if (ui_)
        ui_->RoomChanged(kind, room);
}

void TLobbyLink::UserViewChanged(int kind, int user)
{
    if (ui_)
        ui_->UserViewChanged(kind, user);
}

void TLobbyLink::RoomViewChanged(int kind, int user)
{
    if (ui_)
        ui_->RoomViewChanged(kind, user);
}

void TLobbyLink::InvitationOpened(const TInvitation& invitation)
{
    if (ui_)
        ui_->InvitationOpened(invitation);
}

void TLobbyLink::InvitationChanged(const TInvitation& invitation)
{
    if (ui_)
        ui_->InvitationChanged(invitation);
}

void TLobbyLink::InvitationClosed()
{
    if (ui_)
        ui_->InvitationClosed();
}

bool TLobbyLink::OfferMemo(int sender, const std::string& text)
{
    return ui_ && ui_->OfferMemo(sender, text);
}

void TLobbyLink::ChatBlockMarker(bool blocked, const std::string& text)
{
    if (ui_)
        ui_->ChatBlockMarker(blocked, text);
}

void TLobbyLink::ProfileChanged()
{
    if (!app_.IsConnected())
        return;
    app_.SendProfileChange();
    const LoginInfo& login = status_.login;
    dispatch_.ProfileChanged(login.level, LoginRecord::ProfileByte(login), LoginRecord::InvitationsByte(login));
}

void TLobbyLink::ChatLine(const std::string& line)
{
    if (line.empty() || !app_.LoggedIn() || dispatch_.Model() == nullptr)
        return;
    dispatch_.SendRoom(line);
}

std::string TLobbyLink::RoomCounterText(const TCManager* model)
{
    int rooms = 0, people = 0;
    if (model != nullptr) {
        for (int r = 0; r < model->Count(); ++r) {
            int n = model->Room(r).people;
            if (n <= 0)
                continue;
            people += n;
            if (r > 0)
                ++rooms;
        }
    }
    return KS("방 ") + std::to_string(rooms) + KS(" 개(") + std::to_string(people) + KS(" 명)");
}

} // namespace zel
