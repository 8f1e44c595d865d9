#pragma once

#include "LineList.h"

#include <QAbstractListModel>

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

    // While a batch is open the list may change freely; views see one reset when it closes. Used for
    // the load step, which fills the lists line by line.
    void BeginBatch();
    void EndBatch();

private:
    void BeforeAppend(const LineList& list, int row) override;
    void AfterAppend(const LineList& list) override;
    void Replaced(const LineList& list, int row) override;
    void BeforeReset(const LineList& list) override;
    void AfterReset(const LineList& list) override;

    LineList& list_;
    bool batching_ = false;
};

} // namespace zorby::ui
