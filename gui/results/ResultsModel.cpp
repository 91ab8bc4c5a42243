#include "results/ResultsModel.h"

#include "dialogs/UserPrompts.h"
#include "results/CellText.h"
#include "results/FileTypeIcons.h"

namespace quorvane {
namespace {

Qt::Alignment ColumnAlignment(TResultColumn column) {
    return (column == rcSize ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

TResultsModel::TResultsModel(const TResultGrid& results, QObject* parent)
    : QAbstractItemModel(parent), FResults(results) {}

void TResultsModel::Reload() {
    beginResetModel();
    const TResultView& view = FResults.View();
    const std::size_t top =
        view.Groups().LevelCount() == 0 ? view.PassingCount() : view.Groups().Level(0).size();
    FTopCount = static_cast<int>(top);
    FShowing = true;
    endResetModel();
}

void TResultsModel::Detach() {
    if (!FShowing)
        return;
    beginResetModel();
    FShowing = false;
    FTopCount = 0;
    endResetModel();
}

int64_t TResultsModel::RecordOf(const TResultItem& item) const {
    if (item.Kind != TResultItem::ikFile)
        return -1;
    return FResults.View().PassingRecord(item.Index);
}

int TResultsModel::RowInParent(const TResultItem& item) const {
    const TGroupTree& groups = FResults.View().Groups();
    if (item.Kind == TResultItem::ikFile) {
        if (groups.LevelCount() == 0)
            return static_cast<int>(item.Index);
        const TGroupRow& group =
            groups.Level(groups.LevelCount() - 1)[groups.GroupOfRow(item.Index)];
        return static_cast<int>(item.Index - group.FirstChild);
    }
    if (item.Level == 0)
        return static_cast<int>(item.Index);
    const TGroupRow& group = groups.Level(item.Level)[item.Index];
    return static_cast<int>(item.Index - groups.Level(item.Level - 1)[group.Parent].FirstChild);
}

QModelIndex TResultsModel::IndexOf(const TResultItem& item, int column) const {
    return createIndex(RowInParent(item), column, EncodeItem(item));
}

QModelIndex TResultsModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent))
        return {};
    const TGroupTree& groups = FResults.View().Groups();
    const auto offset = static_cast<uint32_t>(row);
    if (!parent.isValid()) {
        const TResultItem item =
            groups.LevelCount() == 0 ? TResultItem::File(offset) : TResultItem::Group(0, offset);
        return createIndex(row, column, EncodeItem(item));
    }
    const TResultItem owner = Item(parent);
    const uint32_t first = groups.Level(owner.Level)[owner.Index].FirstChild + offset;
    const TResultItem item = owner.Level + 1u < groups.LevelCount()
                                 ? TResultItem::Group(owner.Level + 1u, first)
                                 : TResultItem::File(first);
    return createIndex(row, column, EncodeItem(item));
}

QModelIndex TResultsModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    const TGroupTree& groups = FResults.View().Groups();
    const TResultItem item = Item(child);
    TResultItem owner;
    if (item.Kind == TResultItem::ikFile) {
        if (groups.LevelCount() == 0)
            return {};
        owner = TResultItem::Group(groups.LevelCount() - 1, groups.GroupOfRow(item.Index));
    } else {
        if (item.Level == 0)
            return {};
        owner = TResultItem::Group(item.Level - 1u, groups.Level(item.Level)[item.Index].Parent);
    }
    return IndexOf(owner, 0);
}

int TResultsModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return FTopCount;
    const TResultItem item = Item(parent);
    if (parent.column() != 0 || item.Kind == TResultItem::ikFile)
        return 0;
    return static_cast<int>(FResults.View().Groups().Level(item.Level)[item.Index].ChildCount);
}

int TResultsModel::columnCount(const QModelIndex&) const {
    return kGridColumnCount;
}

Qt::ItemFlags TResultsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Item(index).Kind == TResultItem::ikFile)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

QVariant TResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TResultItem item = Item(index);
    const auto column = static_cast<TResultColumn>(index.column());
    return item.Kind == TResultItem::ikFile ? FileData(item.Index, column, role)
                                            : GroupData(item, column, role);
}

QVariant TResultsModel::FileData(uint32_t position, TResultColumn column, int role) const {
    const TResultView& view = FResults.View();
    const uint32_t record = view.PassingRecord(position);
    switch (role) {
    case Qt::DisplayRole:
        if (column == rcChecked || (column == rcCheckSum && !ChecksumsReadable()))
            return {};
        return CellText(view.File(record), column);
    case Qt::TextAlignmentRole:
        return static_cast<int>(ColumnAlignment(column));
    case RecordRole:
        return static_cast<qlonglong>(record);
    case CheckRole:
        if (!view.Row(record).Checkable)
            return -1;
        return FResults.Checks().Checked(record) ? 1 : 0;
    case StripeRole:
        return FResults.RowBand(record) == TRowBand::Striped;
    default:
        return {};
    }
}

QVariant TResultsModel::GroupData(const TResultItem& item, TResultColumn column, int role) const {
    const TResultView& view = FResults.View();
    const TGroupTree& groups = view.Groups();
    const TResultColumn groupColumn = groups.Column(item.Level);
    switch (role) {
    case Qt::DisplayRole: {
        if (column != 0)
            return {};
        const TFile& file = view.File(groups.Level(item.Level)[item.Index].Record);
        if (groupColumn == rcCheckSum && !ChecksumsReadable())
            return ColumnCaption(rcCheckSum) + QStringLiteral(": ");
        return GroupText(file, groupColumn);
    }
    case Qt::DecorationRole:
        if (column != 0 || groupColumn != rcName)
            return {};
        return FileTypeIcon(
            FromEngine(view.File(groups.Level(item.Level)[item.Index].Record).Name));
    case GroupColumnRole:
        return static_cast<int>(groupColumn);
    case GroupLevelRole:
        return static_cast<int>(item.Level);
    default:
        return {};
    }
}

QVariant TResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kGridColumnCount)
        return {};
    const auto column = static_cast<TResultColumn>(section);
    if (role == Qt::DisplayRole)
        return ColumnCaption(column);
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(ColumnAlignment(column));
    return {};
}

} // namespace quorvane
