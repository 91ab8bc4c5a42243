#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "duplicates/Classify.h"
#include "results/BatchWork.h"
#include "results/CheckMarks.h"
#include "results/ResultLayout.h"
#include "results/ResultView.h"
#include "results/Summary.h"
#include "search/FilList.h"

namespace quorvane {

// The band a data row is drawn in: with groups separated every row is a plain data row; in a flat
// list neighbouring groups alternate between the plain and the striped band.
enum class TRowBand { Plain, Striped };

// What the Checked cell of a row shows.
enum class TCheckBox { None, Unticked, Ticked };

// The engine side of the results grid: the view of the rows, their check marks and stripe flags,
// and the summary of the passing rows. Every recount of the rows (a load, a filter set or
// cleared) ends with the summary step: count, total and stripes of the passing rows, then the
// rebuild of the checked list. A front end shows what this computes and turns clicks into calls.
class TResultGrid {
public:
    TResultGrid() = default;
    TResultGrid(const TResultGrid&) = delete;
    TResultGrid& operator=(const TResultGrid&) = delete;

    // Shows the rows of a classification of `files` with the layout; no row is checked and the
    // filter stays. No rows empties the results. The list must stay unchanged until the next Load.
    void Load(const TFilesList& files, std::vector<TResultRow> rows, const TResultLayout& layout,
              const TPump& pump = {});
    // Applies, switches (non-empty predicate) or clears (empty predicate) the filter. Marks stay.
    void SetFilter(TRowPredicate predicate, const TPump& pump = {});

    const TResultView& View() const { return FView; }
    TCheckMarks& Checks() { return FChecks; }
    const TCheckMarks& Checks() const { return FChecks; }

    const TSummary& Summary() const { return FSummary; }
    // The text of the second status-bar panel.
    std::string SummaryText() const { return quorvane::SummaryText(FSummary); }

    // The summary step on its own: count, total and stripes of the passing rows, then the
    // rebuild of the checked list. Load and SetFilter end with it.
    void Recount(const TPump& pump = {});

    TRowBand RowBand(uint32_t record) const;
    // The row's group stripe flag, whatever the layout (the printed list shades by it).
    bool StripeFlag(uint32_t record) const { return FStripes[record]; }
    TCheckBox CheckBox(uint32_t record) const;

private:
    TResultView FView;
    TCheckMarks FChecks{FView};
    std::vector<bool> FStripes;
    TSummary FSummary;
};

} // namespace quorvane
