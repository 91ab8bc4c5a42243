// Classification: the sorted file list cut into duplicate groups.
//
// Input: the file list sorted under the group order, the BlockDelete setting and the protected
// folders. Output: one row per file that passes SameGroup with a neighbour, in list order, with
// group numbers from 1, whether it may be checked, the names of grouped files that could not be
// read, and whether any grouped file has a checksum. Errors: none of its own. Threading: the
// main thread, while no worker touches the list; `pump` lets the front end breathe every 500
// files. Algorithm: one pass over the neighbour pairs; protection is decided once per folder.

#include "duplicates/Classify.h"

#include <unordered_map>

#include "duplicates/SortThd.h"

namespace quorvane {
namespace {

constexpr std::size_t PumpInterval = 500;

// Decides whether rows may be checked, asking the protected folders once per folder: the
// records of one folder share its path.
class TCheckability {
public:
    TCheckability(bool blockDelete, const TProtectedFolders& protectedFolders)
        : FBlockDelete(blockDelete), FProtectedFolders(protectedFolders) {}

    bool Checkable(const TFile& file) {
        // A file whose contents could not be read was not compared either.
        if (FBlockDelete && (file.Checksum.Empty() || file.Checksum.IsUnreadable()))
            return false;
        if (FProtectedFolders.empty())
            return true;
        const std::string& folder = file.Path();
        auto [known, isNew] = FProtected.try_emplace(&folder, false);
        if (isNew)
            known->second = IsProtectedFolder(FProtectedFolders, folder);
        return !known->second;
    }

private:
    bool FBlockDelete;
    const TProtectedFolders& FProtectedFolders;
    std::unordered_map<const std::string*, bool> FProtected;
};

} // namespace

std::string TClassification::Message() const {
    if (NoDuplicates)
        return "No duplicate files found";
    if (UnreadableFiles.empty())
        return {};
    std::string text(kUnreadableFilesText);
    for (const std::string& name : UnreadableFiles)
        text += '\r' + name;
    return text;
}

TClassification ClassifyFiles(const TFilesList& files, TGroupOrder order, bool blockDelete,
                              const TProtectedFolders& protectedFolders,
                              const std::function<void()>& pump) {
    TClassification result;
    if (files.Empty())
        return result;
    TCheckability checkability(blockDelete, protectedFolders);
    const auto addRow = [&](std::size_t position, uint32_t group) {
        const TFile& file = *files[position];
        result.Rows.push_back(
            {static_cast<uint32_t>(position), group, checkability.Checkable(file)});
        if (file.Checksum.IsUnreadable())
            result.UnreadableFiles.push_back(file.Name);
        if (!file.Checksum.Empty())
            result.ChecksumSeen = true;
    };

    uint32_t group = 0;
    bool inGroup = false;
    for (std::size_t k = 1; k < files.Count(); ++k) {
        if (k % PumpInterval == 0 && pump)
            pump();
        if (SameGroup(files, k - 1, k, order)) {
            if (!inGroup) {
                ++group;
                addRow(k - 1, group);
            }
            inGroup = true;
            addRow(k, group);
        } else {
            inGroup = false;
        }
    }
    result.NoDuplicates = result.Rows.empty();
    return result;
}

} // namespace quorvane
