#include "client/lobby/SlotView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include "client/base/QtText.h"
#include "client/lobby/LobbyListModel.h"
#include "core/lobby/ListRules.h"
#include "core/net/CManager.h"

namespace zel {

class TSlotModel : public TLobbyListModel {
public:
    using TLobbyListModel::TLobbyListModel;

protected:
    QString Text(int room, int column) const override
    {
        const RoomRecord& r = Model()->Room(room);
        switch (column) {
        case RoomColNumber:
            return room == 0 ? QString() : QString("%1").arg(room, 3);
        case RoomColState:
            return ToQ(RoomStateWord(r.state));
        case RoomColTitle:
            return ToQ(r.title);
        case RoomColPeople:
            return QString("%1").arg(r.people, 3);
        default:
            return ToQ(r.line);
        }
    }
    std::uint32_t Colour(int room, int column) const override
    {
        return column == RoomColState ? RoomStateColor(Model()->Room(room).state) : ListColors::Text;
    }
};

TSlotView::TSlotView(QTreeView* list, TSlotViewListener& listener, QObject* parent)
    : QObject(parent), list_(list), listener_(listener),
      model_(new TSlotModel({QString::fromUtf8("번호"), QString::fromUtf8("방상태"), QString::fromUtf8("방제목"),
                             QString::fromUtf8("인원"), QString::fromUtf8("대국정보")},
                            this))
{
    model_->columnChars = [this](int column) { return ColumnChars(column); };
    model_->ShowIn(list_);
    QHeaderView* header = list_->header();
    header->setSortIndicatorShown(false);
    const int widths[] = {36, 48, 210, 36};
    for (int i = 0; i < 4; ++i)
        header->resizeSection(i, widths[i]);
    header->setStretchLastSection(true);
    connect(header, &QHeaderView::sectionClicked, this, &TSlotView::SortBy);
    connect(list_, &QTreeView::clicked, this, [this](const QModelIndex& i) { Clicked(i.row()); });
    connect(list_, &QTreeView::activated, this, [this](const QModelIndex& i) { Activated(i.row()); });
}

int TSlotView::ColumnChars(int column) const
{
    int zero = QFontMetrics(list_->font()).horizontalAdvance('0');
    int width = list_->header()->sectionSize(column);
    return zero > 0 ? (width - 6) / zero : 0;
}

void TSlotView::Attach(TCManager* model)
{
    model_->Attach(model);
    selected_ = -1;
}

int TSlotView::ShownCount() const
{
    return model_->rowCount();
}

TLobbyListModel* TSlotView::ListModel() const
{
    return model_;
}

void TSlotView::Rebuild()
{
    if (!model_->Model())
        return;
    model_->Reset(ListedRooms(*model_->Model()));
    if (selected_ >= 0)
        Select(selected_, false);
}

void TSlotView::RoomChanged(int kind, int room)
{
    TCManager* m = model_->Model();
    if (!m || m->CheckRoom(room) != 0)
        return;
    int row = model_->RowOf(room);
    if (kind == ChangeAdded) {
        if (row >= 0) {
            Rebuild(); // a room listed twice: start again from the model
            return;
        }
        model_->Append(room);
    } else if (kind == ChangeRemoved) {
        model_->RemoveByMove(row);
        if (room == selected_)
            Select(m->currentRoom, false);
    } else if (row >= 0) {
        model_->RowChanged(row);
    } else if (m->Room(room).people > 0) {
        model_->Append(room);
    }
}

void TSlotView::SortBy(int column)
{
    if (model_->SortBy(column, SortRooms) && selected_ >= 0)
        Select(selected_, false);
}

void TSlotView::Select(int room, bool notify)
{
    selected_ = room;
    int row = model_->RowOf(room);
    if (row >= 0) {
        quiet_ = true;
        list_->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        quiet_ = false;
    }
    if (notify)
        listener_.RoomEvent(Selected, room);
}

void TSlotView::Clicked(int row)
{
    int room = model_->ItemAt(row);
    if (room < 0)
        return;
    selected_ = room;
    listener_.RoomEvent(Selected, room);
}

void TSlotView::Activated(int row)
{
    int room = model_->ItemAt(row);
    if (room >= 0)
        listener_.RoomEvent(EnterAsked, room);
}

} // namespace zel
