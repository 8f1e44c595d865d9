#include "LineListModel.h"

#include "TextDecoding.h"

namespace zorby::ui {

LineListModel::LineListModel(LineList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {
    list_.SetObserver(this);
}

LineListModel::~LineListModel() {
    list_.SetObserver(nullptr);
}

int LineListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.Count();
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.Count()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return TextFromLine(RowText(list_.Lines()[static_cast<std::size_t>(index.row())]));
    }
    return {};
}

int LineListModel::WidestRow() const {
    return widest_.Of(list_);
}

void LineListModel::BeforeAppend(const LineList&, int row) {
    beginInsertRows({}, row, row);
}

void LineListModel::AfterAppend(const LineList&) {
    widest_.Appended(list_);
    endInsertRows();
}

void LineListModel::Replaced(const LineList&, int row) {
    widest_.Replaced(list_, row);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

void LineListModel::BeforeReset(const LineList&) {
    beginResetModel();
}

void LineListModel::AfterReset(const LineList&) {
    widest_.Reset();
    endResetModel();
}

QSize WidestLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* lines = qobject_cast<const LineListModel*>(index.model());
    const int widest = lines != nullptr ? lines->WidestRow() : -1;
    return QStyledItemDelegate::sizeHint(option, widest >= 0 ? index.siblingAtRow(widest) : index);
}

} // namespace zorby::ui
