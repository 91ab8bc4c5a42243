// The checksum stage of an on-demand comparison.
//
// Input: the comparison list (records owned by the main file list) and a compare mode. Output:
// every file's checksum replaced by a fresh one under the mode; a file that cannot be read gets
// the unreadable checksum. Threading: runs on its own thread while the main thread leaves the
// records alone; files are read on a few helper threads. A terminate request is seen before
// each file: the files being read are finished, no other is started.

#include "duplicates/ChecksumThd.h"

#include <stdexcept>
#include <vector>

#include "duplicates/HashFiles.h"

namespace quorvane {

TChecksumThread::TChecksumThread(IMainThreadQueue& mainThread, TCompareMode mode)
    : TThread(mainThread), FCompareMode(mode) {
    SetFreeOnTerminate(true);
}

void TChecksumThread::Execute() {
    if (!FFilesList || (FCompareMode != cmCrc && FCompareMode != cmMD4 && FCompareMode != cmMD5))
        return;
    ComputeChecksums(FFilesList->Items(), FCompareMode, [this] { return Terminated(); });
}

void CollectComparisonList(const TFilesList& files, std::span<const TResultRow> rows,
                           std::span<const std::size_t> selectedRows, TFilesList& comparisonList) {
    if (comparisonList.OwnsObjects())
        throw std::invalid_argument("The comparison list must not own its records");
    std::vector<bool> selectedGroups;
    for (std::size_t index : selectedRows) {
        if (index >= rows.size())
            throw std::out_of_range("Selected row out of range");
        const uint32_t group = rows[index].Group;
        if (group >= selectedGroups.size())
            selectedGroups.resize(group + 1, false);
        selectedGroups[group] = true;
    }
    std::vector<TFile*> collected;
    for (const TResultRow& row : rows) {
        if (row.Group >= selectedGroups.size() || !selectedGroups[row.Group])
            continue;
        if (row.FilePosition >= files.Count())
            throw std::out_of_range("Result row past the end of the file list");
        collected.push_back(files[row.FilePosition]);
    }
    comparisonList.Clear();
    comparisonList.Reserve(collected.size());
    for (TFile* file : collected)
        comparisonList.Add(file);
}

void ClearChecksums(const TFilesList& comparisonList) {
    for (TFile* file : comparisonList.Items())
        file->Checksum = TChecksum();
}

} // namespace quorvane
