#include "LineListModel.h"

#include "TextDecoding.h"

#include <QUtf8StringView>

namespace zorby::ui {

namespace {
// A list view would stretch tabs to wide stops; a few spaces show the indentation readably.
constexpr int kTabColumns = 4;
} // namespace

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
        return DecodeForDisplay(list_.Lines()[static_cast<std::size_t>(index.row())])
            .replace(QLatin1Char('\t'), QString(kTabColumns, QLatin1Char(' ')));
    }
    return {};
}

namespace {

// The characters a line shows: a tab as kTabColumns spaces, and a UTF-8 sequence as one character (its
// continuation bytes do not count). A line that is not UTF-8 shows as Latin-1: a character a byte.
int ShownColumns(std::string_view line) {
    const bool utf8 = QUtf8StringView(line.data(), static_cast<qsizetype>(line.size())).isValidUtf8();
    int columns = 0;
    for (const char byte : line) {
        if (byte == '\t') {
            columns += kTabColumns;
        } else if (!utf8 || (static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
            ++columns;
        }
    }
    return columns;
}

} // namespace

int LineListModel::WidestRow() const {
    if (!widestKnown_) {
        widestRow_ = -1;
        widestColumns_ = -1;
        widestKnown_ = true;
        for (int row = 0; row < list_.Count(); ++row) {
            ConsiderAsWidest(row);
        }
    }
    return widestRow_;
}

void LineListModel::ConsiderAsWidest(int row) const {
    const int columns = ShownColumns(list_.Lines()[static_cast<std::size_t>(row)]);
    if (columns > widestColumns_) {
        widestColumns_ = columns;
        widestRow_ = row;
    }
}

void LineListModel::BeforeAppend(const LineList&, int row) {
    beginInsertRows({}, row, row);
}

void LineListModel::AfterAppend(const LineList&) {
    if (widestKnown_) {
        ConsiderAsWidest(list_.Count() - 1);
    }
    endInsertRows();
}

void LineListModel::Replaced(const LineList&, int row) {
    if (row == widestRow_) {
        widestKnown_ = false; // it may have become narrower than another
    } else if (widestKnown_) {
        ConsiderAsWidest(row);
    }
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

void LineListModel::BeforeReset(const LineList&) {
    beginResetModel();
}

void LineListModel::AfterReset(const LineList&) {
    widestKnown_ = false;
    endResetModel();
}

QSize WidestLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* lines = qobject_cast<const LineListModel*>(index.model());
    const int widest = lines != nullptr ? lines->WidestRow() : -1;
    return QStyledItemDelegate::sizeHint(option, widest >= 0 ? index.siblingAtRow(widest) : index);
}

} // namespace zorby::ui
