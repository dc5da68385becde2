#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <algorithm>
#include <utility>
#include <vector>

#include "QtTestApp.h"
#include "client/lobby/LobbyListModel.h"
#include "core/net/CManager.h"

namespace zel {
namespace {

class NumberModel : public TLobbyListModel {
public:
    using TLobbyListModel::TLobbyListModel;

protected:
    QString Text(int item, int) const override { return QString::number(item); }
    std::uint32_t Colour(int, int) const override { return 0; }
};

std::vector<std::pair<int, bool>> sorts; // (column, ascending) of each call

void RecordingSort(const TCManager&, std::vector<int>& items, int column, bool ascending)
{
    sorts.emplace_back(column, ascending);
    std::sort(items.begin(), items.end());
    if (!ascending)
        std::reverse(items.begin(), items.end());
}

TEST(LobbyListModel, EachColumnSortsAscendingFirstThenTurnsOver)
{
    test::App();
    sorts.clear();
    TCManager lobby(8);
    NumberModel model({"a", "b"});
    EXPECT_FALSE(model.SortBy(0, RecordingSort)); // no lobby model yet
    model.Attach(&lobby);
    model.Reset({3, 1, 2});
    EXPECT_FALSE(model.SortBy(-1, RecordingSort));
    EXPECT_FALSE(model.SortBy(2, RecordingSort));
    EXPECT_TRUE(sorts.empty());

    EXPECT_TRUE(model.SortBy(0, RecordingSort));
    EXPECT_EQ(model.Items(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(model.RowOf(3), 2);
    EXPECT_TRUE(model.SortBy(0, RecordingSort));
    EXPECT_EQ(model.Items(), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(model.RowOf(3), 0);
    EXPECT_TRUE(model.SortBy(1, RecordingSort));
    EXPECT_TRUE(model.SortBy(0, RecordingSort));
    EXPECT_EQ(sorts, (std::vector<std::pair<int, bool>>{{0, true}, {0, false}, {1, true}, {0, true}}));
}

// A burst of changes reaches the views once per entry, after the burst, at
// the row the entry holds by then; an entry dropped meanwhile is not named.
TEST(LobbyListModel, ChangesReachTheViewsOncePerTurn)
{
    test::App();
    TCManager lobby(8);
    NumberModel model({"a", "b"});
    model.Attach(&lobby);
    model.Reset({1, 2, 3, 4, 5});
    std::vector<std::pair<int, int>> signalled; // (first row, last column)
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
        EXPECT_EQ(from.row(), to.row());
        signalled.emplace_back(from.row(), to.column());
    });
    for (int i = 0; i < 50; ++i)
        model.RowChanged(model.RowOf(2));
    model.RowChanged(model.RowOf(4));
    model.RowChanged(model.RowOf(5));
    model.RowChanged(9);                   // no such row
    model.RemoveKeepOrder(model.RowOf(1)); // 2 moves up to row 0
    model.RemoveKeepOrder(model.RowOf(4));
    EXPECT_TRUE(signalled.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(signalled, (std::vector<std::pair<int, int>>{{0, 1}, {2, 1}}));
    signalled.clear();
    QCoreApplication::processEvents();
    EXPECT_TRUE(signalled.empty());
    model.RowChanged(model.RowOf(3));
    QCoreApplication::processEvents();
    EXPECT_EQ(signalled, (std::vector<std::pair<int, int>>{{1, 1}}));
}

// Hangul and Latin texts in colours, as the lobby lists show them.
class NamedModel : public TLobbyListModel {
public:
    using TLobbyListModel::TLobbyListModel;

protected:
    QString Text(int item, int column) const override
    {
        return column == 0 ? QString::number(item) : QString::fromUtf8("대국자 %1 (9D) 흑백").arg(item);
    }
    std::uint32_t Colour(int item, int) const override { return item % 2 ? 0x0000FFu : 0x00C000u; }
};

// The lists paint their cells themselves, from texts shaped once; what they
// show is what the standard item painting shows, selected row, colours,
// and the ellipsis of a text too wide for its column included.
TEST(LobbyListModel, PaintsItsRowsAsTheStandardItemPainting)
{
    test::App();
    TCManager lobby(40);
    NamedModel model({"n", "name"});
    model.Attach(&lobby);
    std::vector<int> items;
    for (int i = 1; i < 30; ++i)
        items.push_back(i);
    model.Reset(items);
    QTreeView list;
    model.ShowIn(&list);
    list.header()->setStretchLastSection(false);
    list.resize(320, 240);
    list.show();
    list.setCurrentIndex(model.index(2, 0));
    for (const int width : {300, 90}) {
        list.setColumnWidth(1, width);
        QCoreApplication::processEvents();
        const QImage ours = list.viewport()->grab().toImage();
        QAbstractItemDelegate* own = list.itemDelegate();
        QStyledItemDelegate standard;
        list.setItemDelegate(&standard);
        const QImage theirs = list.viewport()->grab().toImage();
        list.setItemDelegate(own);
        ASSERT_EQ(ours.size(), theirs.size());
        int differing = 0;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x)
                differing += ours.pixel(x, y) != theirs.pixel(x, y);
        EXPECT_EQ(differing, 0) << "column width " << width;
        // Something was painted: the green of even rows is there.
        bool green = false;
        for (int y = 0; y < ours.height() && !green; ++y)
            for (int x = 0; x < ours.width() && !green; ++x)
                green = qGreen(ours.pixel(x, y)) > 150 && qRed(ours.pixel(x, y)) < 80;
        EXPECT_TRUE(green) << width;
    }
}

} // namespace
} // namespace zel
