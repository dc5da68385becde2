#pragma once
#include <QObject>

class QTreeView;

namespace zel {

class TCManager;
class TLobbyListModel;
class TSlotModel;

// Hears what the user does with the room list.
class TSlotViewListener {
public:
    virtual ~TSlotViewListener() = default;
    // `kind` is TSlotView::Selected or TSlotView::EnterAsked.
    virtual void RoomEvent(int kind, int room) = 0;
};

// The room list: rooms with people, repainted row by row on the model's
// reports, sorted on header clicks with the waiting room kept first.
class TSlotView : public QObject {
    Q_OBJECT
public:
    enum Kind { Selected = 1, EnterAsked = 2 };

    TSlotView(QTreeView* list, TSlotViewListener& listener, QObject* parent = nullptr);

    void Attach(TCManager* model);
    void Rebuild();
    void RoomChanged(int kind, int room);
    void SortBy(int column);
    // Selects a room's row; with `notify` the selection is reported.
    void Select(int room, bool notify);
    int SelectedRoom() const { return selected_; }
    int ShownCount() const;
    TLobbyListModel* ListModel() const;

    // As a double click on the room's row.
    void AskEnter(int room) { listener_.RoomEvent(EnterAsked, room); }

private:
    void Clicked(int row);
    void Activated(int row);
    int ColumnChars(int column) const;

    QTreeView* list_;
    TSlotViewListener& listener_;
    TSlotModel* model_;
    int selected_ = -1;
    bool quiet_ = false;
};

} // namespace zel
