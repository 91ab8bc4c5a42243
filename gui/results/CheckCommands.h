#pragma once

#include "results/ResultColumns.h"
#include "results/ResultGrid.h"

class QWidget;

namespace quorvane {

class TResultsView;

// The check-mark commands of the Edit menu and the grid's context menu, and the click on a
// Checked cell: each hands the engine's check marks the rows it works on, then redraws the grid.
class TCheckCommands {
public:
    TCheckCommands(QWidget& mainWindow, TResultGrid& results, TResultsView& grid);

    void CheckAll();
    void UncheckAll();
    void ToggleChecks();
    void CheckFirst();
    // Asks for a folder ("Select directory"), starting at the focused row's folder, and checks
    // the files directly in it.
    void CheckInDir();
    void CheckSelected();
    void UncheckSelected();
    void ToggleSelectionChecks();
    // A click on a cell of the focused row: flips its mark when the cell is a Checked cell.
    void CellClick(TResultColumn column);

private:
    QWidget& FMainWindow;
    TResultGrid& FResults;
    TResultsView& FGrid;
};

} // namespace quorvane
