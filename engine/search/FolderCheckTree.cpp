#include "search/FolderCheckTree.h"

#include <algorithm>
#include <optional>

#include "platform/TextCompare.h"

namespace quorvane {
namespace {

std::string WithTrailingSlash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

// The names leading from the folder `rootPath` down to `path`; none when `path` does not lie in
// it or takes a "." or ".." step (which no node of the tree stands for).
std::optional<std::vector<std::string>> NamesBelow(std::string_view rootPath,
                                                   std::string_view path) {
    const std::string root = WithTrailingSlash(rootPath);
    const std::string folder = WithTrailingSlash(path);
    if (!folder.starts_with(root))
        return std::nullopt;
    std::vector<std::string> names;
    std::string_view rest = std::string_view(folder).substr(root.size());
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view name = rest.substr(0, slash);
        if (name == "." || name == "..")
            return std::nullopt;
        if (!name.empty())
            names.emplace_back(name);
        rest.remove_prefix(slash + 1);
    }
    return names;
}

// The nodes with a check box at the top of the tree ("Home", the drive roots), deepest path
// first, so that a folder on a mounted drive is placed under that drive rather than under "/".
std::vector<TFolderNode*> BranchRoots(TFolderNode& root) {
    std::vector<TFolderNode*> branches;
    std::vector<TFolderNode*> pending{&root};
    while (!pending.empty()) {
        TFolderNode* node = pending.back();
        pending.pop_back();
        for (const auto& child : node->Children)
            (child->HasCheckBox ? branches : pending).push_back(child.get());
    }
    std::stable_sort(branches.begin(), branches.end(), [](const auto* a, const auto* b) {
        return WithTrailingSlash(a->Path).size() > WithTrailingSlash(b->Path).size();
    });
    return branches;
}

// Where a mark on the folder `names` below the branch root would stand: whether CollectFolders
// would record it, and whether an earlier mark lies on the way (an include inside an excluded
// folder belongs with that folder). Nodes that do not exist yet would take their parent's state.
struct TPlaceFit {
    bool Counts = false;
    bool Related = false;
};

TPlaceFit FitOf(const TFolderNode& branch, const std::vector<std::string>& names, bool include,
                const std::vector<TFolderNode*>& marked) {
    const auto isMarked = [&](const TFolderNode* node) {
        return std::find(marked.begin(), marked.end(), node) != marked.end();
    };
    if (names.empty())
        return {include, false}; // the branch root's parent has no check box
    const TFolderNode* node = &branch;
    bool parentChecked = branch.Checked;
    bool related = isMarked(node);
    for (std::size_t i = 0; i + 1 < names.size() && node; ++i) {
        node = node->FindChild(names[i]);
        if (node) {
            parentChecked = node->Checked;
            related = related || isMarked(node);
        }
    }
    return {include ? !parentChecked : parentChecked, related};
}

void Collect(const TFolderNode& parent, std::vector<std::string>& includeFolders,
             std::vector<std::string>& excludeFolders) {
    for (const auto& child : parent.Children) {
        if (child->HasCheckBox) {
            const bool parentChecked = parent.HasCheckBox && parent.Checked;
            if (child->Checked && !parentChecked)
                includeFolders.push_back(child->Path);
            else if (!child->Checked && parentChecked)
                excludeFolders.push_back(WithTrailingSlash(child->Path));
        }
        Collect(*child, includeFolders, excludeFolders);
    }
}

} // namespace

TFolderNode* TFolderNode::FindChild(std::string_view name) const {
    for (const auto& child : Children)
        if (child->Name == name)
            return child.get();
    return nullptr;
}

std::string ChildFolderPath(std::string_view parentPath, std::string_view name) {
    return WithTrailingSlash(parentPath) + std::string(name);
}

void SetCheckedWithDescendants(TFolderNode& node, bool checked) {
    if (node.HasCheckBox)
        node.Checked = checked;
    for (const auto& child : node.Children)
        SetCheckedWithDescendants(*child, checked);
}

void ClearChecks(TFolderNode& root) {
    SetCheckedWithDescendants(root, false);
}

void CollectFolders(const TFolderNode& root, std::vector<std::string>& includeFolders,
                    std::vector<std::string>& excludeFolders) {
    Collect(root, includeFolders, excludeFolders);
}

std::vector<TFolderMark> SortedFolderMarks(const std::vector<std::string>& includeFolders,
                                           const std::vector<std::string>& excludeFolders) {
    std::vector<TFolderMark> marks;
    marks.reserve(includeFolders.size() + excludeFolders.size());
    for (const std::string& path : includeFolders)
        marks.push_back({path, true});
    for (const std::string& path : excludeFolders)
        marks.push_back({path, false});
    std::stable_sort(marks.begin(), marks.end(), [](const TFolderMark& a, const TFolderMark& b) {
        return CompareTextNoCaseForSort(a.Path, b.Path) < 0;
    });
    return marks;
}

std::vector<TFolderNode*> ApplyFolders(TFolderNode& root,
                                       const std::vector<std::string>& includeFolders,
                                       const std::vector<std::string>& excludeFolders,
                                       const TFolderChildResolver& resolveChild) {
    ClearChecks(root);
    const std::vector<TFolderNode*> branches = BranchRoots(root);
    std::vector<TFolderNode*> marked;
    for (const TFolderMark& mark : SortedFolderMarks(includeFolders, excludeFolders)) {
        struct TPlace {
            TFolderNode* Branch;
            std::vector<std::string> Names;
        };
        std::vector<TPlace> places;
        for (TFolderNode* branch : branches)
            if (auto names = NamesBelow(branch->Path, mark.Path))
                places.push_back({branch, std::move(*names)});
        if (places.empty())
            continue;
        // The first place where the mark counts and follows an earlier mark, else the first
        // where it counts, else the deepest.
        const TPlace* place = &places.front();
        int bestScore = -1;
        for (const TPlace& candidate : places) {
            const TPlaceFit fit = FitOf(*candidate.Branch, candidate.Names, mark.Include, marked);
            const int score = fit.Counts ? (fit.Related ? 2 : 1) : 0;
            if (score > bestScore) {
                bestScore = score;
                place = &candidate;
            }
        }

        TFolderNode* node = place->Branch;
        for (const std::string& name : place->Names) {
            node = resolveChild(*node, name);
            if (!node)
                break;
        }
        if (!node)
            continue;
        SetCheckedWithDescendants(*node, mark.Include);
        marked.push_back(node);
    }
    return marked;
}

} // namespace quorvane
