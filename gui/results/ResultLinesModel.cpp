#include "results/ResultLinesModel.h"

namespace quorvane {

TResultLinesModel::TResultLinesModel(TResultsModel& source, QObject* parent)
    : QAbstractProxyModel(parent), FTree(source), FLines(source.Results().View()) {
    setSourceModel(&source);
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&source, &QAbstractItemModel::modelReset, this, [this] {
        FCount = FTree.rowCount() == 0 ? 0 : static_cast<int>(FLines.Count());
        endResetModel();
    });
}

QModelIndex TResultLinesModel::IndexOf(const TResultItem& item, int column) const {
    return createIndex(static_cast<int>(FLines.LineOf(item)), column, EncodeItem(item));
}

QModelIndex TResultLinesModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= FCount || column < 0 || column >= kGridColumnCount)
        return {};
    return createIndex(row, column, EncodeItem(FLines.At(static_cast<std::size_t>(row))));
}

QModelIndex TResultLinesModel::parent(const QModelIndex&) const {
    return {};
}

QModelIndex TResultLinesModel::sibling(int row, int column, const QModelIndex& index) const {
    if (index.isValid() && row == index.row() && column >= 0 && column < kGridColumnCount)
        return createIndex(row, column, index.internalId());
    return this->index(row, column);
}

int TResultLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FCount;
}

int TResultLinesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumnCount;
}

bool TResultLinesModel::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() && FCount > 0;
}

Qt::ItemFlags TResultLinesModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant TResultLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return FTree.headerData(section, orientation, role);
}

QModelIndex TResultLinesModel::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid())
        return {};
    return FTree.IndexOf(Item(proxyIndex), proxyIndex.column());
}

QModelIndex TResultLinesModel::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid())
        return {};
    return IndexOf(FTree.Item(sourceIndex), sourceIndex.column());
}

} // namespace quorvane
