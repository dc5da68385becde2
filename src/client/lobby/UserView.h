#pragma once
#include <QObject>
#include <string>

class QMenu;
class QTreeView;

namespace zel {

class TCManager;
class TLobbyListModel;
class TUserModel;

// Hears the user menu's choices and answers what the menu depends on.
class TUserViewListener {
public:
    virtual ~TUserViewListener() = default;
    // Menu item chosen (tag = position) for user u.
    virtual void MenuAction(int tag, int u) = 0;
    virtual bool GameWindowOpen() const = 0;
    virtual bool IsFriend(const std::string& id) const = 0;
};

// The user list: the members of one room, or every free user, with the user
// pop-up menu. Rows follow the model's reports one user at a time.
class TUserView : public QObject {
    Q_OBJECT
public:
    TUserView(QTreeView* list, TUserViewListener& listener, QObject* parent = nullptr);

    void Attach(TCManager* model);
    // Shows the members of `room`, or every free user for -1.
    void Show(int room);
    int ShownRoom() const { return room_; }
    // A model report about user u (either user callback).
    void UserChanged(int u);
    void SortBy(int column);
    int ShownCount() const;
    TLobbyListModel* ListModel() const;
    // The user shown in `row`, or -1.
    int UserAt(int row) const;
    // Opens the pop-up menu for the user in `row` at the cursor.
    void PopupFor(int row);

    // As choosing the menu item `tag` for the user in `row`; false for no such row.
    bool Choose(int row, int tag);

    QMenu* Menu() const { return menu_; }

private:
    bool Belongs(int u) const;
    void PrepareMenu(int u);

    QTreeView* list_;
    TUserViewListener& listener_;
    TUserModel* model_;
    QMenu* menu_;
    int room_ = -1;
    int menuUser_ = -1;
};

} // namespace zel
