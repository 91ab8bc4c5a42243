#pragma once

#include <cstddef>
#include <span>

#include "duplicates/Classify.h"
#include "duplicates/CompareMode.h"
#include "platform/Thread.h"
#include "search/FilList.h"

namespace quorvane {

// The on-demand content comparison: gives every file of the comparison list a fresh checksum.
class TChecksumThread : public TThread {
public:
    // Created suspended; frees itself once its end handler has run.
    TChecksumThread(IMainThreadQueue& mainThread, TCompareMode mode);

    // The list whose files get checksums (the comparison list); not owned.
    void SetFilesList(TFilesList* list) { FFilesList = list; }

protected:
    void Execute() override;

private:
    TFilesList* FFilesList = nullptr;
    const TCompareMode FCompareMode;
};

// Fills the comparison list (which must not own its records) with the records of every group
// that holds a selected row, in row order: a selected row stands for its whole group.
// `selectedRows` are indexes into `rows`; throws std::out_of_range for an index past the rows
// or a row whose file position is past the file list.
void CollectComparisonList(const TFilesList& files, std::span<const TResultRow> rows,
                           std::span<const std::size_t> selectedRows, TFilesList& comparisonList);

// After a cancelled comparison: the files of the comparison list lose their checksums, those
// they had before it included, so that no half-finished comparison is taken for a result.
void ClearChecksums(const TFilesList& comparisonList);

} // namespace quorvane
