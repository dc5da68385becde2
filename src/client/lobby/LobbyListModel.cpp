#include "client/lobby/LobbyListModel.h"

#include <algorithm>

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QHash>
#include <QMetaObject>
#include <QPainter>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "client/base/QtText.h"
#include "core/lobby/ListRules.h"
#include "core/net/CManager.h"

namespace zel {

namespace {

// A lobby list row is one line of plain text per column, and the lists
// repaint often (every arrival and departure). Each cell's text is shaped
// once and kept, and rows are measured once per font: the view measures
// row 0 again whenever it changes, which in the room list is the waiting
// room, on every arrival and departure.
class TLobbyRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        if (!measured_ || option.font != font_) {
            QStyleOptionViewItem line = option;
            line.features |= QStyleOptionViewItem::HasDisplay;
            line.text = QString::fromUtf8("가Ag");
            const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
            size_ = style->sizeFromContents(QStyle::CT_ItemViewItem, &line, QSize(), option.widget);
            font_ = option.font;
            measured_ = true;
        }
        return size_;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const QRect box = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QStaticText* shaped = opt.text.isEmpty() ? nullptr : &Shaped(opt.text, opt.font);
        if (shaped && shaped->size().width() > box.width() - 2 * margin) {
            // Too wide for its column: the style shortens it with an ellipsis.
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
            return;
        }
        opt.text.clear(); // the panel and focus frame; the text is drawn below
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        if (!shaped)
            return;
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                                : QPalette::Inactive;
        const bool selected = opt.state & QStyle::State_Selected;
        painter->save();
        painter->setClipRect(box, Qt::IntersectClip);
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const int top = box.top() + (box.height() - opt.fontMetrics.height()) / 2;
        painter->drawStaticText(QPoint(box.left() + margin, top), *shaped);
        painter->restore();
    }

private:
    const QStaticText& Shaped(const QString& text, const QFont& font) const
    {
        if (font != shapedFont_ || shaped_.size() > 8192) {
            shaped_.clear();
            shapedFont_ = font;
        }
        auto at = shaped_.find(text);
        if (at == shaped_.end()) {
            QStaticText line(text);
            line.setTextFormat(Qt::PlainText);
            line.setPerformanceHint(QStaticText::AggressiveCaching);
            line.prepare(QTransform(), font);
            at = shaped_.insert(text, line);
        }
        return *at;
    }

    mutable bool measured_ = false;
    mutable QFont font_;
    mutable QSize size_;
    mutable QFont shapedFont_;
    mutable QHash<QString, QStaticText> shaped_;
};

} // namespace

TLobbyListModel::TLobbyListModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)),
      ascending_(static_cast<std::size_t>(headers_.size()), true)
{
}

void TLobbyListModel::ShowIn(QTreeView* list)
{
    list->setModel(this);
    list->setItemDelegate(new TLobbyRowDelegate(list));
    list->setUniformRowHeights(true);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsClickable(true);
}

void TLobbyListModel::Attach(TCManager* model)
{
    beginResetModel();
    model_ = model;
    items_.clear();
    rowOf_.assign(model ? static_cast<std::size_t>(model->Count()) : 0, -1);
    changed_.clear();
    endResetModel();
}

int TLobbyListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int TLobbyListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : headers_.size();
}

QVariant TLobbyListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headers_.size())
        return headers_[section];
    return {};
}

QVariant TLobbyListModel::data(const QModelIndex& index, int role) const
{
    // Rows beyond the shown count, or without a model, draw nothing.
    if (!model_ || !index.isValid() || index.row() >= static_cast<int>(items_.size()))
        return {};
    int item = items_[static_cast<std::size_t>(index.row())];
    if (item < 0 || item >= model_->Count())
        return {};
    if (role == Qt::DisplayRole) {
        QString text = Text(item, index.column());
        int chars = columnChars ? columnChars(index.column()) : 0;
        if (chars > 0 && text.size() > chars)
            text = text.left(chars) + ".  ";
        return text;
    }
    if (role == Qt::ForegroundRole) {
        std::uint32_t bgr = Colour(item, index.column());
        return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                      static_cast<int>((bgr >> 16) & 0xFF));
    }
    return {};
}

void TLobbyListModel::SetHeader(int section, const QString& text)
{
    if (section < 0 || section >= headers_.size() || headers_[section] == text)
        return;
    headers_[section] = text;
    emit headerDataChanged(Qt::Horizontal, section, section);
}

void TLobbyListModel::Index(int item, int row)
{
    if (item >= 0 && item < static_cast<int>(rowOf_.size()))
        rowOf_[static_cast<std::size_t>(item)] = row;
}

void TLobbyListModel::Reset(std::vector<int> items)
{
    beginResetModel();
    std::fill(rowOf_.begin(), rowOf_.end(), -1);
    items_ = std::move(items);
    for (std::size_t i = 0; i < items_.size(); ++i)
        Index(items_[i], static_cast<int>(i));
    endResetModel();
}

void TLobbyListModel::Append(int item)
{
    int row = static_cast<int>(items_.size());
    beginInsertRows({}, row, row);
    items_.push_back(item);
    Index(item, row);
    endInsertRows();
}

void TLobbyListModel::RemoveByMove(int row)
{
    int last = static_cast<int>(items_.size()) - 1;
    if (row < 0 || row > last)
        return;
    Index(items_[static_cast<std::size_t>(row)], -1);
    if (row != last) {
        items_[static_cast<std::size_t>(row)] = items_[static_cast<std::size_t>(last)];
        Index(items_[static_cast<std::size_t>(row)], row);
    }
    beginRemoveRows({}, last, last);
    items_.pop_back();
    endRemoveRows();
    if (row != last)
        RowChanged(row);
}

void TLobbyListModel::RemoveKeepOrder(int row)
{
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    beginRemoveRows({}, row, row);
    Index(items_[static_cast<std::size_t>(row)], -1);
    items_.erase(items_.begin() + row);
    for (std::size_t i = static_cast<std::size_t>(row); i < items_.size(); ++i)
        Index(items_[i], static_cast<int>(i));
    endRemoveRows();
}

bool TLobbyListModel::SortBy(int column, SortFn sort)
{
    if (!model_ || column < 0 || column >= static_cast<int>(ascending_.size()))
        return false;
    const auto c = static_cast<std::size_t>(column);
    std::vector<int> items = items_;
    sort(*model_, items, column, ascending_[c]);
    ascending_[c] = !ascending_[c];
    Reset(std::move(items));
    return true;
}

void TLobbyListModel::RowChanged(int row)
{
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    changed_.push_back(items_[static_cast<std::size_t>(row)]);
    if (!signalPosted_) {
        signalPosted_ = true;
        QMetaObject::invokeMethod(this, &TLobbyListModel::SignalChanged, Qt::QueuedConnection);
    }
}

void TLobbyListModel::SignalChanged()
{
    signalPosted_ = false;
    std::vector<int> items;
    items.swap(changed_);
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    for (int item : items) {
        // An entry dropped since is not shown; one moved is signalled where it is now.
        const int row = RowOf(item);
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

int TLobbyListModel::RowOf(int item) const
{
    return item >= 0 && item < static_cast<int>(rowOf_.size()) ? rowOf_[static_cast<std::size_t>(item)] : -1;
}

int TLobbyListModel::ItemAt(int row) const
{
    return row >= 0 && row < static_cast<int>(items_.size()) ? items_[static_cast<std::size_t>(row)] : -1;
}

} // namespace zel
