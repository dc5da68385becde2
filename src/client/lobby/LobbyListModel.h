#pragma once
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

class QTreeView;

namespace zel {

class TCManager;

// A table over an index array into the lobby model: one shown row per
// entry, repainted singly. The texts and colours of a row come from the
// subclass; entries are room or user numbers.
class TLobbyListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using SortFn = void (*)(const TCManager& m, std::vector<int>& items, int column, bool ascending);

    explicit TLobbyListModel(QStringList headers, QObject* parent = nullptr);

    // Shows this model in `list`: a flat table of whole rows, one selected at a
    // time, not editable, with clickable headers.
    void ShowIn(QTreeView* list);

    void Attach(TCManager* model);
    TCManager* Model() const { return model_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void SetHeader(int section, const QString& text);
    // Replaces every row (a full rebuild: for fills and sorts only).
    void Reset(std::vector<int> items);
    void Append(int item);
    // Moves the last row into `row`'s place and drops the last row.
    void RemoveByMove(int row);
    // Drops `row`, keeping the order of the rest.
    void RemoveKeepOrder(int row);
    // The row's texts or colours changed. The views hear of it once per
    // event-loop turn, however often an entry changes in between.
    void RowChanged(int row);
    int RowOf(int item) const;
    int ItemAt(int row) const;
    const std::vector<int>& Items() const { return items_; }
    // Sorts the rows by a header column with `sort`: ascending at the first
    // click of a column, the other way round at the next. False (nothing
    // done) without a lobby model or for a column outside the headers.
    bool SortBy(int column, SortFn sort);

    // Maximum characters shown in a column, given its width in pixels.
    std::function<int(int column)> columnChars;

protected:
    virtual QString Text(int item, int column) const = 0;
    virtual std::uint32_t Colour(int item, int column) const = 0;

private:
    void Index(int item, int row);
    void SignalChanged();
    TCManager* model_ = nullptr;
    QStringList headers_;
    std::vector<int> items_;
    std::vector<int> rowOf_;      // item -> row, -1 when not shown
    std::vector<bool> ascending_; // the order of each column's next sort
    std::vector<int> changed_;    // items changed since the views last heard
    bool signalPosted_ = false;
};

} // namespace zel
