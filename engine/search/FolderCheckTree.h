#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// One node of the search options dialog's folder tree as the folder lists see it: the check
// marks and the paths, without the widgets. The tree's invisible root and the "Computer" node
// have no check box; "Home", "/" and the other drive roots under "Computer", and every folder
// below them have one. The front end derives its own node type to keep what it shows.
struct TFolderNode {
    TFolderNode() = default;
    TFolderNode(const TFolderNode&) = delete;
    TFolderNode& operator=(const TFolderNode&) = delete;
    virtual ~TFolderNode() = default;

    std::string Name; // the folder's name in its parent folder; empty at the top of the tree
    // What the folder lists record: drive roots end with "/" ("/", "/media/usb/"), other
    // folders do not ("/home/ann", "/home/ann/Music"). Empty for nodes without a check box.
    std::string Path;
    bool HasCheckBox = false;
    bool Checked = false;
    TFolderNode* Parent = nullptr;
    std::vector<std::unique_ptr<TFolderNode>> Children; // in the order the tree shows them

    // The child of this name (names compare exactly, as the file system does), or null.
    TFolderNode* FindChild(std::string_view name) const;
};

// The path of a folder `name` inside the folder `parentPath`.
std::string ChildFolderPath(std::string_view parentPath, std::string_view name);

// Gives the node and every existing node below it the state: children of a checked folder are
// covered by it, so they show its mark.
void SetCheckedWithDescendants(TFolderNode& node, bool checked);

// Unchecks every node of the tree.
void ClearChecks(TFolderNode& root);

// Appends the tree's marks to the folder lists, depth first, parents before children:
// - a checked node whose parent has no check box or is unchecked is an include folder (its path
//   as it stands);
// - an unchecked node whose parent is checked is an exclude folder (its path with a trailing
//   "/").
// An unchecked node under a parent without a check box ("Home", an unchecked drive) is not
// recorded: as an exclude folder it would leave that folder out of a search that reaches it
// through another node, such as the home folder within a checked "/".
void CollectFolders(const TFolderNode& root, std::vector<std::string>& includeFolders,
                    std::vector<std::string>& excludeFolders);

// One entry of the folder lists to show in the tree.
struct TFolderMark {
    std::string Path;
    bool Include = false;
};

// The include folders marked include, then the exclude folders marked exclude, sorted by path
// without regard to letter case, so that a folder comes before the folders inside it. The sort
// is stable: equal paths keep their list order.
std::vector<TFolderMark> SortedFolderMarks(const std::vector<std::string>& includeFolders,
                                           const std::vector<std::string>& excludeFolders);

// Finds the child folder `name` of `parent`, creating its node when the folder exists and the
// tree shows it; null when there is none.
using TFolderChildResolver =
    std::function<TFolderNode*(TFolderNode& parent, std::string_view name)>;

// Shows the folder lists in the tree: clears every mark, then sets the mark of each entry of
// SortedFolderMarks on its node (with its existing descendants, as nodes created under it would
// take it). An entry whose folder the tree cannot reach is skipped. Because a folder comes
// before the folders inside it, an exclude folder within an include folder ends unchecked.
//
// A folder can stand in several places of the tree ("Home" and the same folder under "/"). The
// entry goes to the place where its mark counts for CollectFolders (an include folder where the
// parent is unchecked or has no check box, an exclude folder where the parent is checked),
// preferring a place below an entry already shown (an include inside an excluded folder goes
// with that folder), then the deepest drive root or "Home"; where it counts nowhere, to the
// deepest. So lists that CollectFolders made come back as they were. Returns the nodes that
// took a mark, in the order they took it.
std::vector<TFolderNode*> ApplyFolders(TFolderNode& root,
                                       const std::vector<std::string>& includeFolders,
                                       const std::vector<std::string>& excludeFolders,
                                       const TFolderChildResolver& resolveChild);

} // namespace quorvane
