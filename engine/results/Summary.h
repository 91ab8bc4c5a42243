#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "results/BatchWork.h"
#include "results/ResultView.h"

namespace quorvane {

// What the status bar says about the rows that pass the filter.
struct TSummary {
    uint64_t Files = 0;  // passing rows
    int64_t Bytes = 0;   // their sizes added up
    uint64_t Groups = 0; // runs of consecutive passing rows with one group number

    friend bool operator==(const TSummary&, const TSummary&) = default;
};

// The summary step over the passing rows in display order. A group counts once for every run of
// consecutive rows that carry its number, so a group whose rows are not adjacent counts more than
// once. Also sets the stripe flag (by record index, sized to the row count) of every passing row:
// clear for the first run, flipped at each change of group number. Flags of hidden rows are left
// as they are.
TSummary SummarizePassingRows(const TResultView& view, std::vector<bool>& stripeFlags,
                              const TPump& pump = {});

// The largest size among all rows (0 without rows): the widest value the Size column shows.
int64_t LargestSize(const TResultView& view);

// "12 files (1,234,567 bytes) in 5 groups": counts in plain decimal, the byte total grouped by
// thousands in the number locale.
std::string SummaryText(const TSummary& summary);

} // namespace quorvane
