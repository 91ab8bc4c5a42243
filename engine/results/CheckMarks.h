#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/ResultColumns.h"
#include "results/ResultView.h"

namespace quorvane {

// The check marks of the result rows: one flag per row, and the checked list, the record indexes
// of the rows that are checked and pass the filter, on which the file actions work.
//
// Invariant: a record index is in the checked list exactly when its flag is set and its row passes
// the filter. Rows hidden by the filter keep their flags and rejoin the list at the next rebuild.
// A row whose Checked value is null (not checkable) is never marked by a command or a click.
// Every command works on rows the filter lets through; the caller redraws afterwards.
class TCheckMarks {
public:
    explicit TCheckMarks(const TResultView& view) : FView(view) {}

    // After the rows were rebuilt: one clear flag per row, an empty checked list.
    void Reset();

    bool Checked(uint32_t record) const { return FFlags[record]; }
    // Between rebuilds in the order of insertion; after RebuildCheckedList ascending.
    const std::vector<uint32_t>& CheckedList() const { return FChecked; }
    // The last step of every summary step: the checked rows that pass the filter, ascending.
    void RebuildCheckedList();

    // Set while a file action runs: clicks then change no mark.
    void SetActionRunning(bool running) { FActionRunning = running; }
    bool ActionRunning() const { return FActionRunning; }

    // A click on a cell of the focused row (-1 when none). Flips the row's mark when the cell is
    // in the Checked column, no file action runs, and the row is checkable; returns whether the
    // click was taken (otherwise the grid handles it as a plain click).
    bool CellClick(TResultColumn column, int64_t focusedRecord);

    void CheckAll();
    void UncheckAll();
    void ToggleChecks();
    // Checks the first checkable row of each group in display order (a row whose group number
    // equals the one before it is passed over); no mark is taken away.
    void CheckFirst();
    // Checks every checkable row except the first row of each group in display order, the copy
    // that is kept (even when it may not be checked itself); no mark is taken away.
    void CheckAllButFirst();
    // The folder proposed to CheckInDir: the Path of the focused row, or empty.
    std::string ProposedFolder(int64_t focusedRecord) const;
    // Checks the checkable rows whose Path equals the folder without regard to case; a missing
    // trailing "/" is added. Files in subfolders are not marked.
    void CheckInDir(std::string_view folder);

    // The selection commands visit the selected rows (record indexes; group rows have none)
    // in the given order. Rows the filter hides cannot be selected and are passed over.
    void CheckSelected(const std::vector<uint32_t>& selected);
    void UncheckSelected(const std::vector<uint32_t>& selected);
    void ToggleSelectionChecks(const std::vector<uint32_t>& selected);

private:
    enum class TSelectionMode { Check, Uncheck, Toggle };
    bool Markable(uint32_t record) const;
    // Adds the row to the checked list unless it is there, and sets its flag.
    void Check(uint32_t record);
    void ApplyToSelection(const std::vector<uint32_t>& selected, TSelectionMode mode);
    void RequireValid(uint32_t record) const;

    const TResultView& FView;
    std::vector<bool> FFlags;
    std::vector<uint32_t> FChecked;
    bool FActionRunning = false;
};

} // namespace quorvane
