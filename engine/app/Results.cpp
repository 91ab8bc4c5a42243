#include "app/Results.h"

namespace quorvane {

void TResults::Load(const TFilesList& files, std::vector<TResultRow> rows,
                    const TResultLayout& layout, const TPump& pump) {
    FView.Load(files, std::move(rows), layout, pump);
    if (FPredicate)
        FView.SetFilter(FPredicate, pump);
    FCheckMarks.Reset();
    FStripeFlags.assign(FView.RowCount(), false);
    Recount(pump);
}

void TResults::SetFilter(TRowPredicate predicate, const TPump& pump) {
    FView.SetFilter(predicate, pump);
    FPredicate = std::move(predicate);
    Recount(pump);
}

void TResults::Recount(const TPump& pump) {
    FSummary = SummarizePassingRows(FView, FStripeFlags, pump);
    FSummaryText = quorvane::SummaryText(FSummary);
    FCheckMarks.RebuildCheckedList();
}

} // namespace quorvane
