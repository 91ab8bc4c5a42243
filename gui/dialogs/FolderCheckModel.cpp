#include "dialogs/FolderCheckModel.h"

#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QIcon>

#include <algorithm>
#include <iterator>

#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

// The folder in the file system model for a path of the folder lists: drive roots lose their
// trailing "/", except "/" itself.
QString FolderOf(const std::string& path) {
    QString folder = FromEngine(path);
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QIcon ThemeIcon(const char* name, const QIcon& fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
}

} // namespace

struct TFolderCheckModel::TNode : TFolderNode {
    enum class TKind { Root, Computer, Folder };
    TKind Kind = TKind::Folder;
    QString Display; // the top level's own names; folders show their Name
    QString Folder;  // the folder in the file system model
    QPersistentModelIndex Source;
    int Row = 0;
    bool Populated = false; // children taken from the file system model and kept in step
    bool Listed = false;    // the file system model has read the folder
};

TFolderCheckModel::TFolderCheckModel(const TFolderTreeRoots& roots, QObject* parent)
    : QAbstractItemModel(parent), FFileSystem(new QFileSystemModel(this)),
      FRoot(std::make_unique<TNode>()) {
    FFileSystem->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    FFileSystem->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    // Without a root path the file system model lists nothing on request.
    FFileSystem->setRootPath(QStringLiteral("/"));
    connect(FFileSystem, &QAbstractItemModel::rowsInserted, this,
            &TFolderCheckModel::SourceRowsInserted);
    connect(FFileSystem, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &TFolderCheckModel::SourceRowsAboutToBeRemoved);
    connect(FFileSystem, &QAbstractItemModel::dataChanged, this,
            &TFolderCheckModel::SourceDataChanged);
    connect(FFileSystem, &QFileSystemModel::directoryLoaded, this,
            &TFolderCheckModel::SourceDirectoryLoaded);

    for (const std::string& mountPoint : roots.VirtualMountPoints)
        FVirtualMountPoints.insert(FromEngine(mountPoint));

    FRoot->Kind = TNode::TKind::Root;
    FHome = AddTopNode(*FRoot, QStringLiteral("Home"), roots.Home);
    auto computer = std::make_unique<TNode>();
    computer->Kind = TNode::TKind::Computer;
    computer->Display = QStringLiteral("Computer");
    computer->Parent = FRoot.get();
    computer->Row = 1;
    computer->Populated = computer->Listed = true;
    FComputer = computer.get();
    FRoot->Children.push_back(std::move(computer));
    for (const std::string& driveRoot : roots.DriveRoots)
        AddTopNode(*FComputer, FolderOf(driveRoot), driveRoot);
}

TFolderCheckModel::~TFolderCheckModel() = default;

TFolderCheckModel::TNode* TFolderCheckModel::AddTopNode(TNode& parent, const QString& display,
                                                        const std::string& path) {
    auto node = std::make_unique<TNode>();
    node->Display = display;
    node->Path = path;
    node->HasCheckBox = true;
    node->Folder = FolderOf(path);
    node->Source = FFileSystem->index(node->Folder);
    node->Parent = &parent;
    node->Row = static_cast<int>(parent.Children.size());
    TNode* added = node.get();
    FNodesByFolder.insert(added->Folder, added);
    parent.Children.push_back(std::move(node));
    return added;
}

TFolderCheckModel::TNode* TFolderCheckModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TNode*>(index.internalPointer()) : FRoot.get();
}

QModelIndex TFolderCheckModel::IndexOf(const TNode* node) const {
    if (node == FRoot.get())
        return {};
    return createIndex(node->Row, 0, const_cast<TNode*>(node));
}

QModelIndex TFolderCheckModel::index(int row, int column, const QModelIndex& parent) const {
    const TNode* node = NodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->Children.size()))
        return {};
    return createIndex(row, 0, static_cast<TNode*>(node->Children[row].get()));
}

QModelIndex TFolderCheckModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    return IndexOf(static_cast<const TNode*>(NodeOf(child)->Parent));
}

int TFolderCheckModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(NodeOf(parent)->Children.size());
}

int TFolderCheckModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TFolderCheckModel::hasChildren(const QModelIndex& parent) const {
    const TNode* node = NodeOf(parent);
    if (!node->Children.empty())
        return true;
    if (node->Kind != TNode::TKind::Folder || !node->Source.isValid())
        return false;
    // Until the folder is read, any folder may hold folders (this reads nothing).
    return node->Populated ? !node->Listed : FFileSystem->hasChildren(node->Source);
}

bool TFolderCheckModel::canFetchMore(const QModelIndex& parent) const {
    const TNode* node = NodeOf(parent);
    return node->Kind == TNode::TKind::Folder && !node->Populated && node->Source.isValid();
}

void TFolderCheckModel::fetchMore(const QModelIndex& parent) {
    Populate(*NodeOf(parent));
}

QVariant TFolderCheckModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TNode* node = NodeOf(index);
    const bool topLevel = node->Parent == FRoot.get() || node->Parent == FComputer;
    switch (role) {
    case Qt::DisplayRole:
        return node->Display.isEmpty() ? FromEngine(node->Name) : node->Display;
    case Qt::DecorationRole: {
        const QAbstractFileIconProvider* icons = FFileSystem->iconProvider();
        if (node == FComputer)
            return ThemeIcon("computer", icons->icon(QAbstractFileIconProvider::Computer));
        if (node == FHome)
            return ThemeIcon("user-home", icons->icon(QAbstractFileIconProvider::Folder));
        if (node->Parent == FComputer)
            return ThemeIcon("drive-harddisk", icons->icon(QAbstractFileIconProvider::Drive));
        return ThemeIcon("folder", icons->icon(QAbstractFileIconProvider::Folder));
    }
    case Qt::ToolTipRole:
    case kPathRole:
        return node->HasCheckBox ? QVariant(FromEngine(node->Path)) : QVariant();
    case Qt::CheckStateRole:
        if (!node->HasCheckBox)
            return {};
        return node->Checked ? Qt::Checked : Qt::Unchecked;
    case kKeepOrderRole:
        return topLevel;
    default:
        return {};
    }
}

bool TFolderCheckModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TNode* node = NodeOf(index);
    if (!index.isValid() || role != Qt::CheckStateRole || !node->HasCheckBox)
        return false;
    // A mixed state counts as checked.
    SetCheckedWithDescendants(*node, value.toInt() != Qt::Unchecked);
    EmitCheckStates(*node);
    emit CheckMarkChanged();
    return true;
}

Qt::ItemFlags TFolderCheckModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (NodeOf(index)->HasCheckBox)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QModelIndex TFolderCheckModel::HomeIndex() const {
    return IndexOf(FHome);
}

QModelIndex TFolderCheckModel::ComputerIndex() const {
    return IndexOf(FComputer);
}

QModelIndex TFolderCheckModel::ChildIndex(const QModelIndex& parent, const QString& name) const {
    const TFolderNode* child = NodeOf(parent)->FindChild(ToEngine(name));
    return child ? IndexOf(static_cast<const TNode*>(child)) : QModelIndex();
}

bool TFolderCheckModel::Shows(const QModelIndex& sourceIndex) const {
    return FFileSystem->isDir(sourceIndex) && !FFileSystem->fileInfo(sourceIndex).isSymLink() &&
           !FVirtualMountPoints.contains(FFileSystem->filePath(sourceIndex));
}

void TFolderCheckModel::AddChildren(TNode& parent, const QList<QModelIndex>& sourceRows) {
    std::vector<std::unique_ptr<TNode>> added;
    QSet<QString> addedFolders;
    for (const QModelIndex& source : sourceRows) {
        if (!Shows(source))
            continue;
        const QString folder = FFileSystem->filePath(source);
        const auto [first, last] = FNodesByFolder.equal_range(folder);
        if (addedFolders.contains(folder) ||
            std::any_of(first, last, [&](const TNode* node) { return node->Parent == &parent; }))
            continue;
        auto node = std::make_unique<TNode>();
        node->Name = ToEngine(FFileSystem->fileName(source));
        node->Path = ChildFolderPath(parent.Path, node->Name);
        node->Folder = folder;
        node->Source = source;
        node->HasCheckBox = true;
        // A folder that appears under a checked folder is covered by it.
        node->Checked = parent.HasCheckBox && parent.Checked;
        addedFolders.insert(folder);
        added.push_back(std::move(node));
    }
    if (added.empty())
        return;
    const int first = static_cast<int>(parent.Children.size());
    beginInsertRows(IndexOf(&parent), first, first + static_cast<int>(added.size()) - 1);
    for (auto& node : added) {
        node->Parent = &parent;
        node->Row = static_cast<int>(parent.Children.size());
        FNodesByFolder.insert(node->Folder, node.get());
        parent.Children.push_back(std::move(node));
    }
    endInsertRows();
}

void TFolderCheckModel::Populate(TNode& node) {
    if (node.Populated || node.Kind != TNode::TKind::Folder || !node.Source.isValid())
        return;
    node.Populated = true;
    QList<QModelIndex> rows;
    const QModelIndex source = node.Source;
    for (int row = 0; row < FFileSystem->rowCount(source); ++row)
        rows.append(FFileSystem->index(row, 0, source));
    AddChildren(node, rows);
    // Reads the folder on the file system model's thread; its rows arrive through rowsInserted.
    if (FFileSystem->canFetchMore(source))
        FFileSystem->fetchMore(source);
    else
        node.Listed = true;
}

TFolderNode* TFolderCheckModel::ResolveChild(TFolderNode& parentNode, std::string_view name) {
    auto& parent = static_cast<TNode&>(parentNode);
    if (parent.Kind != TNode::TKind::Folder || !parent.Source.isValid())
        return nullptr;
    Populate(parent);
    if (TFolderNode* child = parent.FindChild(name))
        return child;
    // Not read yet: look the one folder up (a stat per path step, no listing). The file system
    // model adds its row at once, which SourceRowsInserted takes as our child.
    const QModelIndex source =
        FFileSystem->index(FromEngine(ChildFolderPath(ToEngine(parent.Folder), name)));
    if (!source.isValid())
        return nullptr;
    AddChildren(parent, {source});
    return parent.FindChild(name);
}

void TFolderCheckModel::Unregister(TNode& node) {
    FNodesByFolder.remove(node.Folder, &node);
    for (const auto& child : node.Children)
        Unregister(static_cast<TNode&>(*child));
}

void TFolderCheckModel::RemoveNode(TNode& node) {
    auto& parent = static_cast<TNode&>(*node.Parent);
    const int row = node.Row;
    beginRemoveRows(IndexOf(&parent), row, row);
    Unregister(node);
    parent.Children.erase(parent.Children.begin() + row);
    for (int i = row; i < static_cast<int>(parent.Children.size()); ++i)
        static_cast<TNode&>(*parent.Children[i]).Row = i;
    endRemoveRows();
}

void TFolderCheckModel::EmitCheckStates(const TNode& node) {
    if (&node != FRoot.get()) {
        const QModelIndex index = IndexOf(&node);
        emit dataChanged(index, index, {Qt::CheckStateRole});
    }
    std::vector<const TNode*> pending{&node};
    while (!pending.empty()) {
        const TNode* parent = pending.back();
        pending.pop_back();
        if (parent->Children.empty())
            continue;
        const QModelIndex parentIndex = IndexOf(parent);
        emit dataChanged(index(0, 0, parentIndex),
                         index(static_cast<int>(parent->Children.size()) - 1, 0, parentIndex),
                         {Qt::CheckStateRole});
        for (const auto& child : parent->Children)
            pending.push_back(static_cast<const TNode*>(child.get()));
    }
}

void TFolderCheckModel::CollectFolders(std::vector<std::string>& includeFolders,
                                       std::vector<std::string>& excludeFolders) const {
    quorvane::CollectFolders(*FRoot, includeFolders, excludeFolders);
}

QList<QModelIndex> TFolderCheckModel::ApplyFolders(const std::vector<std::string>& includeFolders,
                                                   const std::vector<std::string>& excludeFolders) {
    const std::vector<TFolderNode*> marked = quorvane::ApplyFolders(
        *FRoot, includeFolders, excludeFolders,
        [this](TFolderNode& parent, std::string_view name) { return ResolveChild(parent, name); });
    EmitCheckStates(*FRoot);
    QList<QModelIndex> indexes;
    for (const TFolderNode* node : marked)
        indexes.append(IndexOf(static_cast<const TNode*>(node)));
    return indexes;
}

void TFolderCheckModel::ClearChecks() {
    quorvane::ClearChecks(*FRoot);
    EmitCheckStates(*FRoot);
}

void TFolderCheckModel::SourceRowsInserted(const QModelIndex& sourceParent, int first, int last) {
    if (!sourceParent.isValid())
        return;
    const auto [begin, end] = FNodesByFolder.equal_range(FFileSystem->filePath(sourceParent));
    QList<TNode*> parents;
    std::copy_if(begin, end, std::back_inserter(parents),
                 [](const TNode* node) { return node->Populated; });
    if (parents.isEmpty())
        return;
    QList<QModelIndex> rows;
    for (int row = first; row <= last; ++row)
        rows.append(FFileSystem->index(row, 0, sourceParent));
    for (TNode* parent : parents)
        AddChildren(*parent, rows);
}

void TFolderCheckModel::SourceRowsAboutToBeRemoved(const QModelIndex& sourceParent, int first,
                                                   int last) {
    QList<TNode*> gone;
    for (int row = first; row <= last; ++row) {
        const auto [begin, end] = FNodesByFolder.equal_range(
            FFileSystem->filePath(FFileSystem->index(row, 0, sourceParent)));
        // The top level stays, even when its folder goes.
        std::copy_if(begin, end, std::back_inserter(gone), [this](const TNode* node) {
            return node->Parent != FRoot.get() && node->Parent != FComputer;
        });
    }
    for (TNode* node : gone)
        RemoveNode(*node);
}

void TFolderCheckModel::SourceDataChanged(const QModelIndex& topLeft,
                                          const QModelIndex& bottomRight) {
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const auto [begin, end] =
            FNodesByFolder.equal_range(FFileSystem->filePath(topLeft.sibling(row, 0)));
        for (auto it = begin; it != end; ++it) {
            const QModelIndex index = IndexOf(*it);
            emit dataChanged(index, index, {Qt::DisplayRole, Qt::DecorationRole});
        }
    }
}

void TFolderCheckModel::SourceDirectoryLoaded(const QString& path) {
    const auto [begin, end] = FNodesByFolder.equal_range(path);
    for (auto it = begin; it != end; ++it)
        (*it)->Listed = true;
}

TFolderSortModel::TFolderSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    FCollator.setCaseSensitivity(Qt::CaseInsensitive);
    FCollator.setNumericMode(true);
}

bool TFolderSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (left.data(TFolderCheckModel::kKeepOrderRole).toBool())
        return left.row() < right.row();
    return FCollator.compare(left.data().toString(), right.data().toString()) < 0;
}

} // namespace quorvane
