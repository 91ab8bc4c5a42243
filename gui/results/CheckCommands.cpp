#include "results/CheckCommands.h"

#include <QFileInfo>

#include "dialogs/UserPrompts.h"
#include "results/ResultsView.h"

namespace quorvane {

TCheckCommands::TCheckCommands(QWidget& mainWindow, TResultGrid& results, TResultsView& grid)
    : FMainWindow(mainWindow), FResults(results), FGrid(grid) {}

void TCheckCommands::CheckAll() {
    FResults.Checks().CheckAll();
    FGrid.RedrawChecks();
}

void TCheckCommands::UncheckAll() {
    FResults.Checks().UncheckAll();
    FGrid.RedrawChecks();
}

void TCheckCommands::ToggleChecks() {
    FResults.Checks().ToggleChecks();
    FGrid.RedrawChecks();
}

void TCheckCommands::CheckFirst() {
    FResults.Checks().CheckFirst();
    FGrid.RedrawChecks();
}

void TCheckCommands::CheckInDir() {
    const QString proposed = FromEngine(FResults.Checks().ProposedFolder(FGrid.FocusedRecord()));
    const QString start = QFileInfo(proposed).isDir() ? proposed : QString();
    const QString folder =
        UserPrompts().ExistingFolder(&FMainWindow, QStringLiteral("Select directory"), start);
    if (!folder.isEmpty())
        FResults.Checks().CheckInDir(ToEngine(folder));
    FGrid.RedrawChecks();
}

void TCheckCommands::CheckSelected() {
    FResults.Checks().CheckSelected(FGrid.SelectedRecords());
    FGrid.RedrawChecks();
}

void TCheckCommands::UncheckSelected() {
    FResults.Checks().UncheckSelected(FGrid.SelectedRecords());
    FGrid.RedrawChecks();
}

void TCheckCommands::ToggleSelectionChecks() {
    FResults.Checks().ToggleSelectionChecks(FGrid.SelectedRecords());
    FGrid.RedrawChecks();
}

void TCheckCommands::CellClick(TResultColumn column) {
    if (FResults.Checks().CellClick(column, FGrid.FocusedRecord()))
        FGrid.RedrawChecks();
}

} // namespace quorvane
