#pragma once

#include <functional>

#include <QAbstractItemModel>

#include "results/ResultGrid.h"
#include "results/ResultItems.h"
#include "results/ResultRoles.h"

namespace quorvane {

// The results as a Qt item model: group rows are parents of the group rows one level in, the
// innermost group rows parents of their file rows; without grouping the file rows are at the top.
// Columns Checked, Name, Size, Date, Path, CheckSum.
//
// Nothing is copied: every answer is read from the engine's results when asked. The engine
// rewrites its rows while it lets events through, so the model only shows rows between Reload
// (after the rows were written) and Detach (before they are written again): the top-level count
// is taken at Reload, and nothing is read in between.
class TResultsModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit TResultsModel(const TResultGrid& results, QObject* parent = nullptr);

    const TResultGrid& Results() const { return FResults; }
    // The rows were written: show them.
    void Reload();
    // The rows are about to be written with events let through: show none until Reload.
    void Detach();
    // Says when a worker may be writing checksum texts into the file records: the model reads
    // none then (the CheckSum values show empty).
    void SetChecksumsInFlux(std::function<bool()> inFlux) { FChecksumsInFlux = std::move(inFlux); }

    TResultItem Item(const QModelIndex& index) const { return DecodeItem(index.internalId()); }
    QModelIndex IndexOf(const TResultItem& item, int column) const;
    // The record index of a file row, -1 for a group row.
    int64_t RecordOf(const TResultItem& item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    int RowInParent(const TResultItem& item) const;
    QVariant FileData(uint32_t position, TResultColumn column, int role) const;
    QVariant GroupData(const TResultItem& item, TResultColumn column, int role) const;
    bool ChecksumsReadable() const { return !FChecksumsInFlux || !FChecksumsInFlux(); }

    const TResultGrid& FResults;
    bool FShowing = false;
    int FTopCount = 0;
    std::function<bool()> FChecksumsInFlux;
};

} // namespace quorvane
