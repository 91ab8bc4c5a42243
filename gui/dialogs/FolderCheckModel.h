#pragma once

#include <QAbstractItemModel>
#include <QCollator>
#include <QMultiHash>
#include <QPersistentModelIndex>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QString>

#include <string>
#include <vector>

#include "search/FolderCheckTree.h"
#include "search/FolderTreeRoots.h"

class QFileSystemModel;

namespace quorvane {

// The check-box folder tree of the search options dialog: a model over QFileSystemModel that
// adds the check marks and its own top level, "Home" (the home folder) and "Computer" (no check
// box) with "/" and the other drive roots. The check marks and the folder lists live in the
// plain tree of FolderCheckTree.h; this model keeps that tree in step with the file system.
//
// Listing never blocks: QFileSystemModel reads folders on its own thread and its rows arrive
// here as they come. A folder's children are taken only when the view expands it (fetchMore)
// or ApplyFolders walks down to a folder; nothing here walks a folder synchronously. Only real
// folders are shown: no files, no symbolic links (never followed), no mount points of virtual
// file systems, no hidden folders unless a folder list names one. Rows appear in the order the
// file system gives them; TFolderSortModel sorts them for the view.
class TFolderCheckModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // Whether a row keeps the model's order (the top level and the drive roots) rather than
    // being sorted by name.
    static constexpr int kKeepOrderRole = Qt::UserRole + 1;
    // A folder row's path as the folder lists record it.
    static constexpr int kPathRole = Qt::UserRole + 2;

    explicit TFolderCheckModel(const TFolderTreeRoots& roots, QObject* parent = nullptr);
    ~TFolderCheckModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // A check mark set here is the user's: it goes to every existing folder below and
    // CheckMarkChanged follows.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QModelIndex HomeIndex() const;
    QModelIndex ComputerIndex() const;
    // The shown child folder of this name, or an invalid index.
    QModelIndex ChildIndex(const QModelIndex& parent, const QString& name) const;

    // The marks as folder lists (appended), and the folder lists as marks: see FolderCheckTree.h.
    // Neither emits CheckMarkChanged. ApplyFolders returns the rows that took a mark.
    void CollectFolders(std::vector<std::string>& includeFolders,
                        std::vector<std::string>& excludeFolders) const;
    QList<QModelIndex> ApplyFolders(const std::vector<std::string>& includeFolders,
                                    const std::vector<std::string>& excludeFolders);
    void ClearChecks();

    QFileSystemModel* FileSystemModel() const { return FFileSystem; }

signals:
    void CheckMarkChanged();

private:
    struct TNode;

    TNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const TNode* node) const;
    TNode* AddTopNode(TNode& parent, const QString& display, const std::string& path);
    bool Shows(const QModelIndex& sourceIndex) const;
    // Takes the shown folders among the source rows as children of `parent`, once each.
    void AddChildren(TNode& parent, const QList<QModelIndex>& sourceRows);
    void Populate(TNode& node);
    TFolderNode* ResolveChild(TFolderNode& parent, std::string_view name);
    void RemoveNode(TNode& node);
    void Unregister(TNode& node);
    void EmitCheckStates(const TNode& node);

    void SourceRowsInserted(const QModelIndex& sourceParent, int first, int last);
    void SourceRowsAboutToBeRemoved(const QModelIndex& sourceParent, int first, int last);
    void SourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void SourceDirectoryLoaded(const QString& path);

    QFileSystemModel* FFileSystem;
    std::unique_ptr<TNode> FRoot;
    TNode* FHome = nullptr;
    TNode* FComputer = nullptr;
    QSet<QString> FVirtualMountPoints;
    QMultiHash<QString, TNode*> FNodesByFolder; // folder nodes by their folder's path
};

// Sorts the folder tree for the view: folders by name (letter case ignored, numbers by value),
// the top level and the drive roots in the model's order.
class TFolderSortModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit TFolderSortModel(QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QCollator FCollator;
};

} // namespace quorvane
