#include "actions/FileActionCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>

#include "actions/WindowActionPrompts.h"
#include "app/PipelineController.h"
#include "app/Settings.h"
#include "app/Wait.h"
#include "dialogs/UserPrompts.h"
#include "results/ResultsView.h"

namespace quorvane {
namespace {

QString WaitText(TFileOperation operation) {
    switch (operation) {
    case TFileOperation::Delete:
        return QStringLiteral("Deleting files");
    case TFileOperation::Recycle:
        return QStringLiteral("Moving files to the trash");
    case TFileOperation::Move:
        return QStringLiteral("Moving files");
    case TFileOperation::Compress:
        return QStringLiteral("Compressing files");
    }
    return {};
}

// The busy cursor and the wait form for as long as the action runs; afterwards the commands
// take the state the rebuilt rows give them, also when an error escapes.
class TRunningAction {
public:
    TRunningAction(QWidget& mainWindow, TFrmWait& waitForm, TFileOperation operation,
                   std::function<void()> ended)
        : FWaitForm(waitForm), FEnded(std::move(ended)) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (!mainWindow.isMinimized()) {
            FWaitForm.SetText(WaitText(operation));
            FWaitForm.PlaceOver(mainWindow);
            FWaitForm.show();
        }
    }
    ~TRunningAction() {
        FWaitForm.hide();
        QGuiApplication::restoreOverrideCursor();
        FEnded();
    }
    TRunningAction(const TRunningAction&) = delete;
    TRunningAction& operator=(const TRunningAction&) = delete;

private:
    TFrmWait& FWaitForm;
    std::function<void()> FEnded;
};

} // namespace

TFileActionCommands::TFileActionCommands(QWidget& mainWindow, TPipelineController& controller,
                                         TSettings& settings, TFrmWait& waitForm,
                                         TResultsView& grid, const TFileActionItems& items,
                                         std::function<bool()> mayAct)
    : QObject(&mainWindow), FMainWindow(mainWindow), FController(controller), FSettings(settings),
      FWaitForm(waitForm), FItems(items), FMayAct(std::move(mayAct)) {
    for (const TFileOperation operation : {TFileOperation::Delete, TFileOperation::Recycle,
                                           TFileOperation::Move, TFileOperation::Compress})
        connect(FItems.Command(operation), &QAction::triggered, this,
                [this, operation] { Execute(operation); });
    // The checked list changes with every check command and every rebuild of the rows.
    connect(&grid, &TResultsView::ChecksChanged, this, &TFileActionCommands::UpdateEnabled);
    connect(grid.model(), &QAbstractItemModel::modelReset, this,
            &TFileActionCommands::UpdateEnabled);
    UpdateEnabled();
}

bool TFileActionCommands::MayRun() const {
    return FMayAct() && !FController.Busy() && !FController.WorkerRunning() &&
           !FController.Results().Checks().ActionRunning() &&
           !FController.Results().Checks().CheckedList().empty();
}

void TFileActionCommands::UpdateEnabled() {
    const bool enabled = MayRun();
    for (QAction* command : FItems.Commands)
        command->setEnabled(enabled);
}

void TFileActionCommands::Execute(TFileOperation operation) {
    if (!MayRun())
        return;
    std::string destination;
    if (!ChooseDestination(operation, destination))
        return;
    const TActionPlan plan = PlanFileAction(FController.Results(), operation, destination);
    if (plan.Steps.empty())
        return;
    if ((operation == TFileOperation::Delete || operation == TFileOperation::Recycle) &&
        !ConfirmDelete(plan))
        return;
    if (plan.GroupsLosingLastCopy > 0 && !ConfirmLastCopies(plan))
        return;
    Run(plan);
}

bool TFileActionCommands::ChooseDestination(TFileOperation operation, std::string& destination) {
    if (operation == TFileOperation::Move) {
        const QString last = FromEngine(FSettings.MoveDir);
        const QString folder =
            UserPrompts().ExistingFolder(&FMainWindow, QStringLiteral("Destination folder"),
                                         QFileInfo(last).isDir() ? last : QString());
        if (folder.isEmpty())
            return false;
        destination = ToEngine(folder);
        if (destination.back() != '/')
            destination += '/';
        FSettings.MoveDir = destination;
    } else if (operation == TFileOperation::Compress) {
        // An existing archive is added to: the dialog asks nothing about it.
        const QString archive = UserPrompts().SaveFileName(
            &FMainWindow, {QStringLiteral("Compress files"), QStringLiteral("Zip files (*.zip)"),
                           QStringLiteral("zip"), FromEngine(FSettings.ZipFile)});
        if (archive.isEmpty())
            return false;
        destination = ToEngine(archive);
        FSettings.ZipFile = destination;
    }
    return true;
}

bool TFileActionCommands::ConfirmDelete(const TActionPlan& plan) {
    const QString what = plan.Steps.size() == 1 ? FromEngine(plan.Steps.front().Source)
                                                : QStringLiteral("%1 files").arg(plan.Steps.size());
    // Only the trash can be undone: the permanent delete proposes No.
    const QMessageBox::StandardButton proposed =
        plan.Operation == TFileOperation::Delete ? QMessageBox::No : QMessageBox::Yes;
    return UserPrompts().Message(&FMainWindow, QMessageBox::Question, QStringLiteral("Confirm"),
                                 QStringLiteral("Confirm delete of ") + what + QLatin1Char('?'),
                                 QMessageBox::Yes | QMessageBox::No, proposed) == QMessageBox::Yes;
}

bool TFileActionCommands::ConfirmLastCopies(const TActionPlan& plan) {
    const std::size_t groups = plan.GroupsLosingLastCopy;
    const QString text =
        groups == 1
            ? QStringLiteral("1 group would lose its last copy: all of its files are checked.")
            : QStringLiteral("%1 groups would lose their last copy: all of their files are "
                             "checked.")
                  .arg(groups);
    return UserPrompts().Message(&FMainWindow, QMessageBox::Warning, QStringLiteral("Warning"),
                                 text + QStringLiteral("\nGo on anyway?"),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void TFileActionCommands::Run(const TActionPlan& plan) {
    for (QAction* command : FItems.Commands)
        command->setEnabled(false);
    TWindowActionPrompts prompts(FMainWindow, FWaitForm);
    TActionOutcome outcome;
    bool ran = false;
    {
        const TRunningAction running(FMainWindow, FWaitForm, plan.Operation,
                                     [this] { UpdateEnabled(); });
        ran = FController.RunFileAction(plan, prompts, outcome);
    }
    if (!ran)
        return;
    const std::string report = FailureReport(outcome);
    if (!report.empty())
        ShowError(&FMainWindow, FitForScreen(FromEngine(report)));
}

} // namespace quorvane
