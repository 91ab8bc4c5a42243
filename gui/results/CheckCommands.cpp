#include "results/CheckCommands.h"

#include <QFileInfo>

#include "dialogs/UserPrompts.h"
#include "results/ResultsView.h"

namespace quorvane {

TCheckCommands::TCheckCommands(QWidget& mainWindow, TResults& results, TResultsView& grid)
    : FMainWindow(mainWindow), FResults(results), FGrid(grid) {}

void TCheckCommands::CheckAll() {
    FResults.CheckMarks().CheckAll();
    FGrid.RedrawChecks();
}

void TCheckCommands::UncheckAll() {
    FResults.CheckMarks().UncheckAll();
    FGrid.RedrawChecks();
}

void TCheckCommands::ToggleChecks() {
    FResults.CheckMarks().ToggleChecks();
    FGrid.RedrawChecks();
}

void TCheckCommands::CheckFirst() {
    FResults.CheckMarks().CheckFirst();
    FGrid.RedrawChecks();
}

void TCheckCommands::CheckInDir() {
    const QString proposed =
        FromEngine(FResults.CheckMarks().ProposedFolder(FGrid.FocusedRecord()));
    const QString start = QFileInfo(proposed).isDir() ? proposed : QString();
    const QString folder =
        UserPrompts().ExistingFolder(&FMainWindow, QStringLiteral("Select directory"), start);
    if (!folder.isEmpty())
        FResults.CheckMarks().CheckInDir(ToEngine(folder));
    FGrid.RedrawChecks();
}

void TCheckCommands::CheckSelected() {
    FResults.CheckMarks().CheckSelected(FGrid.SelectedRecords());
    FGrid.RedrawChecks();
}

void TCheckCommands::UncheckSelected() {
    FResults.CheckMarks().UncheckSelected(FGrid.SelectedRecords());
    FGrid.RedrawChecks();
}

void TCheckCommands::ToggleSelectionChecks() {
    FResults.CheckMarks().ToggleSelectionChecks(FGrid.SelectedRecords());
    FGrid.RedrawChecks();
}

void TCheckCommands::CellClick(TResultColumn column) {
    if (FResults.CheckMarks().CellClick(column, FGrid.FocusedRecord()))
        FGrid.RedrawChecks();
}

} // namespace quorvane
