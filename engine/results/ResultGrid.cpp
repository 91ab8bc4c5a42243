#include "results/ResultGrid.h"

namespace quorvane {

void TResultGrid::Load(const TFilesList& files, std::vector<TResultRow> rows,
                       const TResultLayout& layout, const TPump& pump) {
    try {
        FView.Load(files, std::move(rows), layout, pump);
    } catch (...) {
        // The view is empty now; keep flags and summary in step with it.
        FChecks.Reset();
        FStripes.clear();
        FSummary = {};
        throw;
    }
    FChecks.Reset();
    FStripes.assign(FView.RowCount(), false);
    Recount(pump);
}

void TResultGrid::SetFilter(TRowPredicate predicate, const TPump& pump) {
    FView.SetFilter(std::move(predicate), pump);
    Recount(pump);
}

void TResultGrid::Recount(const TPump& pump) {
    FSummary = SummarizePassingRows(FView, FStripes, pump);
    FChecks.RebuildCheckedList();
}

TRowBand TResultGrid::RowBand(uint32_t record) const {
    if (FView.Layout().SeparateGroups || !FStripes[record])
        return TRowBand::Plain;
    return TRowBand::Striped;
}

TCheckBox TResultGrid::CheckBox(uint32_t record) const {
    if (!FView.Row(record).Checkable)
        return TCheckBox::None;
    return FChecks.Checked(record) ? TCheckBox::Ticked : TCheckBox::Unticked;
}

} // namespace quorvane
