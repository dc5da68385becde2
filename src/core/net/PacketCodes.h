#pragma once
#include <cstdint>

namespace zel::pk {

// Packet codes of the game-server protocol.
enum : std::uint16_t {
    SendInviteDone = 11010, // argument of 11020: game-request invitation sent
    InviteSent = 11020,
    RoomInviteDone = 12010, // argument of 11020: room invitation sent
    Unused13000 = 13000,
    Login = 20010,
    ReLogin = 20020,
    DuplicateLogin = 20030,
    ServerBye = 20040,
    Unused20050 = 20050,
    Probe = 20060,
    ProbeVerdict = 20070,
    Greeting = 21000,
    Leave = 21020,
    LoginAccepted = 21030,
    Unused21050 = 21050,
    UserArrives = 22020,
    UserMoves = 22030,
    PrivateText = 23010,
    RoomText = 23020,
    NoticeText = 23030,
    MakeRoom = 24010,
    RoomOpened = 24020,
    EnterRoom = 24030,
    RoomTitle = 24050,
    LobbyReset = 25010,
    LobbyEntered = 25020,
    RoomSnapshot = 25030,
    RoomMembers = 25040,
    ProfileChange = 26010,
    InviteSetting = 26020,
    Unused26030 = 26030,
    Stored27010 = 27010,
    GameInvite = 31010,
    RoomInvite = 31020,
    GameInviteAccept = 31110,
    RoomInviteAccept = 31120,
    RoomInviteRefuse = 31130,
    GameInviteRefuse = 31140,
    MatchRoom = 32010,
    GameRequestGo = 32020,
    GameRequest = 32030,
    GameRequestCancel = 32040,
    GameRequestRefuse = 32050,
    GameEnd = 33040,
    Unused33050 = 33050,
    GameStart = 33060,
    ReviewStart = 34010,
    ReviewEnd = 34020,
    UserLeaves = 50000,
    Unused10000 = 10000,
    Unused11050 = 11050,
};

// Probe verdicts carried by 20070.
enum : std::uint16_t { VerdictUnknown = 1, VerdictReconnect = 2, VerdictAlive = 3 };

} // namespace zel::pk
