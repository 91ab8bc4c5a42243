#pragma once

#include <string>
#include <vector>

#include "duplicates/Classify.h"
#include "results/CheckMarks.h"
#include "results/ResultView.h"
#include "results/Summary.h"

namespace quorvane {

// The results the grid shows: the rows of the last classification in display order, the filter
// over them, the check marks, and the summary of the passing rows.
class TResults {
public:
    const TResultView& View() const { return FView; }
    TCheckMarks& CheckMarks() { return FCheckMarks; }
    const TCheckMarks& CheckMarks() const { return FCheckMarks; }
    const std::vector<bool>& StripeFlags() const { return FStripeFlags; }
    const TSummary& Summary() const { return FSummary; }
    const std::string& SummaryText() const { return FSummaryText; }

    // Takes new rows (no rows empties the results). The filter stays; check marks start clear.
    void Load(const TFilesList& files, std::vector<TResultRow> rows, const TResultLayout& layout,
              const TPump& pump = {});
    // Filters the rows from now on (an empty predicate shows them all), then recounts.
    void SetFilter(TRowPredicate predicate, const TPump& pump = {});
    // The summary step: counts the passing rows, sets their stripe flags and rebuilds the checked
    // list.
    void Recount(const TPump& pump = {});

private:
    TResultView FView;
    TCheckMarks FCheckMarks{FView};
    TRowPredicate FPredicate;
    std::vector<bool> FStripeFlags;
    TSummary FSummary;
    std::string FSummaryText;
};

} // namespace quorvane
