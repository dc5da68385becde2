#pragma once
#include "core/app/LobbyView.h"
#include "core/lobby/RoomNotices.h"

class QTreeView;
class QWidget;

namespace zel {

// The lobby window as its controller sees it: the view it writes to, the two
// lists it fills, the toolbar it enables and the parent of the dialogs it
// opens. The window implements it; every method must be answered.
class TLobbyWidgets {
public:
    virtual ~TLobbyWidgets() = default;

    virtual QWidget& DialogParent() = 0;
    virtual LobbyView& View() = 0;
    virtual QTreeView& RoomList() = 0;
    virtual QTreeView& UserList() = 0;

    // The toolbar buttons that depend on the lobby's state.
    virtual void EnableButtons(const LobbyButtons& enabled) = 0;
    virtual bool WatchEnabled() const = 0;
    // The member button's icon: the room's members shown, or the waiting users.
    virtual void ShowMemberView(bool members) = 0;
    // The room button reads "방나가기" in a room and "방만들기" in the lobby.
    virtual void ShowInRoom(bool inRoom) = 0;
    virtual void FocusChat() = 0;
};

} // namespace zel
