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
        // A list view would stretch tabs to wide stops; a few spaces show the indentation readably.
        return DecodeForDisplay(list_.Lines()[static_cast<std::size_t>(index.row())])
            .replace(QLatin1Char('\t'), QStringLiteral("    "));
    }
    return {};
}

void LineListModel::BeginBatch() {
    beginResetModel();
    batching_ = true;
}

void LineListModel::EndBatch() {
    batching_ = false;
    endResetModel();
}

void LineListModel::BeforeAppend(const LineList&, int row) {
    if (!batching_) {
        beginInsertRows({}, row, row);
    }
}

void LineListModel::AfterAppend(const LineList&) {
    if (!batching_) {
        endInsertRows();
    }
}

void LineListModel::Replaced(const LineList&, int row) {
    if (!batching_) {
        const QModelIndex changed = index(row);
        emit dataChanged(changed, changed);
    }
}

void LineListModel::BeforeReset(const LineList&) {
    if (!batching_) {
        beginResetModel();
    }
}

void LineListModel::AfterReset(const LineList&) {
    if (!batching_) {
        endResetModel();
    }
}

} // namespace zorby::ui
