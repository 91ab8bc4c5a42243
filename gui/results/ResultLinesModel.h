#pragma once

#include <QAbstractProxyModel>

#include "results/ResultItems.h"
#include "results/ResultsModel.h"

namespace quorvane {

// The results tree as the grid shows it: one table row per line, every group row expanded and
// followed by what it holds. A view lays out a flat table in time independent of its row count,
// where a tree view would visit every expanded row on each reset (a stall of a second over a
// million rows).
class TResultLinesModel : public QAbstractProxyModel {
    Q_OBJECT

public:
    explicit TResultLinesModel(TResultsModel& source, QObject* parent = nullptr);

    const TResultLines& Lines() const { return FLines; }
    const TResultsModel& Tree() const { return FTree; }
    TResultItem Item(const QModelIndex& index) const { return DecodeItem(index.internalId()); }
    QModelIndex IndexOf(const TResultItem& item, int column) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

private:
    TResultsModel& FTree;
    TResultLines FLines;
    int FCount = 0; // taken when the tree reloads, like the tree's own top-level count
};

} // namespace quorvane
