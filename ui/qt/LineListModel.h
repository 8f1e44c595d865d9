#pragma once

#include "LineList.h"
#include "ListRows.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace zorby::ui {

// Shows one of the engine's line lists in a list view, following every change of the list; it holds no
// copy of the lines.
class LineListModel : public QAbstractListModel, private LineListObserver {
    Q_OBJECT

public:
    LineListModel(LineList& list, QObject* parent = nullptr);
    ~LineListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The row that shows the most characters (-1 when empty); see WidestLine.
    int WidestRow() const;

private:
    void BeforeAppend(const LineList& list, int row) override;
    void AfterAppend(const LineList& list) override;
    void Replaced(const LineList& list, int row) override;
    void BeforeReset(const LineList& list) override;
    void AfterReset(const LineList& list) override;

    LineList& list_;
    mutable WidestLine widest_{LineEncoding::Utf8OrLatin1};
};

// Sizes every row of a line list as its widest line. A list view with uniform item sizes measures one
// row, the last, and would cut every longer line down to it; measuring each row instead takes a quarter
// of a second for a full list, on every layout.
class WidestLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace zorby::ui
