#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "duplicates/Classify.h"
#include "results/BatchWork.h"
#include "results/DisplayOrder.h"
#include "results/GroupTree.h"
#include "results/ResultLayout.h"
#include "search/FilList.h"

namespace quorvane {

// Decides whether a result row shows under the current filter.
using TRowPredicate = std::function<bool(const TResultRow&, const TFile&)>;

// The rows of the results as the grid shows them, without a screen: the rows of the last
// classification (addressed by record index), their layout, their display order, the filter
// with the rows that pass it in display order, and the group rows over those.
//
// Loading orders the rows (see TDisplayOrder) and keeps the filter; setting a filter tests every
// row once. Both call the pump between batches so that the GUI stays responsive over a million
// rows. The file list must stay unchanged until the next Load: the rows point into it.
class TResultView {
public:
    // Takes the rows of a classification of `files`. Throws std::out_of_range when a row points
    // past the end of the list; the view is then left empty.
    void Load(const TFilesList& files, std::vector<TResultRow> rows, const TResultLayout& layout,
              const TPump& pump = {});
    // Shows only the rows that pass `predicate`; an empty predicate shows every row. When the
    // predicate throws, the view keeps its previous filter and the exception goes on.
    void SetFilter(TRowPredicate predicate, const TPump& pump = {});
    bool Filtered() const { return static_cast<bool>(FPredicate); }

    const TResultLayout& Layout() const { return FLayout; }
    std::size_t RowCount() const { return FRows.size(); }
    const TResultRow& Row(uint32_t record) const { return FRows[record]; }
    const TFile& File(uint32_t record) const { return *(*FFiles)[FRows[record].FilePosition]; }
    // File(record).Size, read without touching the file record.
    int64_t Size(uint32_t record) const { return FOrder.Size(record); }

    // Every row in display order, whatever the filter.
    const std::vector<uint32_t>& DisplayOrder() const { return FOrder.Records(); }

    // The rows that pass the filter, in display order.
    const std::vector<uint32_t>& PassingRecords() const { return FPassing; }
    std::size_t PassingCount() const { return FPassing.size(); }
    uint32_t PassingRecord(std::size_t position) const { return FPassing[position]; }
    bool Passes(uint32_t record) const { return FPosition[record] >= 0; }
    // The position of the row among the passing rows, or -1 when the filter hides it.
    int64_t DisplayPosition(uint32_t record) const { return FPosition[record]; }

    // The group rows over the passing rows (none when groups are not separated).
    const TGroupTree& Groups() const { return FGroups; }

    // Incremental search: the position of the first passing row whose Name begins with `typed`,
    // compared without regard to case, or -1.
    int64_t FindNamePrefix(std::string_view typed) const;

private:
    void ShowPassing(const std::vector<uint8_t>& passes, const TPump& pump);

    const TFilesList* FFiles = nullptr;
    std::vector<TResultRow> FRows;
    TResultLayout FLayout;
    TDisplayOrder FOrder;
    TRowPredicate FPredicate;
    std::vector<uint32_t> FPassing;
    std::vector<int32_t> FPosition; // by record index; -1 when hidden
    TGroupTree FGroups;
};

} // namespace quorvane
