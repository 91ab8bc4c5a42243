#include "CliRunner.h"

#include "ActionRunner.h"
#include "CliCriteria.h"
#include "CliFilter.h"
#include "GroupPrinter.h"
#include "TerminalView.h"
#include "app/PipelineController.h"
#include "platform/Mounts.h"
#include "reports/ExportList.h"

namespace quorvane::cli {
namespace {

constexpr std::string_view kCompareWarningText =
    "Contents are not compared: the files of a group may differ.\n"
    "Give -c crc, -c md4 or -c md5 to compare them.";

} // namespace

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& interrupted, bool progressOnTerminal) {
    TSettings settings;
    TRowPredicate filter;
    try {
        settings.Criteria = CriteriaFor(options, FixedDriveRoots());
        filter = CliFilter(options);
    } catch (const std::exception& error) {
        err << "error: " << error.what() << '\n';
        return esFailure;
    }
    if (options.Action) {
        if (const std::string refusal = PrepareAction(*options.Action, settings);
            !refusal.empty()) {
            err << "error: " << refusal << '\n';
            return esFailure;
        }
    } else {
        // Without an action nothing is acted on, so the protection rules have nothing to guard.
        settings.ProtectedFolders.clear();
    }
    // The window's warning points to its settings dialog; the command line says its own.
    settings.DontShowCompareMessage = true;
    if (!options.Quiet && options.LoadList.empty() && settings.Criteria.CompareMode == cmNone)
        err << "warning: " << kCompareWarningText << '\n';

    TSimpleQueue queue;
    TTerminalView view(queue, err, options.Quiet, progressOnTerminal);
    TPipelineController controller(queue, view, settings);
    if (!options.LoadList.empty())
        controller.LoadFilesList(options.LoadList);
    else
        controller.StartSearch();

    bool cancelled = false;
    while (controller.Busy() || controller.WorkerRunning()) {
        view.WaitForMessages();
        view.ShowProgress(controller.SearchProgress());
        if (interrupted.load() && !cancelled && controller.Busy()) {
            controller.SearchExecute(); // the Search action while busy: cancel
            cancelled = true;
        }
    }
    queue.Drain();
    view.SetCommandsEnabled(true);
    if (cancelled || interrupted.load()) {
        if (!options.Quiet)
            err << "Cancelled.\n";
        return esInterrupted;
    }
    if (view.Failed())
        return esFailure;
    for (const TUnreadFolder& folder : controller.UnreadFolders())
        view.ShowMessage(TMessageKind::Warning,
                         "cannot read folder " + folder.Path + ": " + folder.Reason);

    if (filter)
        controller.Results().SetFilter(filter);
    // Saved first: a list that cannot be written stops the run before anything is printed.
    if (!options.SaveList.empty()) {
        try {
            controller.SaveFilesList(options.SaveList);
        } catch (const std::exception& error) {
            err << "error: " << error.what() << '\n';
            return esFailure;
        }
    }
    if (!options.Export.empty()) {
        const TResultGrid& results = controller.Results();
        try {
            ExportList({results.View(), results.Summary(), {}}, options.Export);
        } catch (const std::exception& error) {
            err << "error: " << error.what() << '\n';
            return esFailure;
        }
    }
    const TResultView& results = controller.Results().View();
    if (!options.Action)
        PrintGroups(results, options.Format, options.NullSeparated, out);
    if (const std::vector<std::string> unreadable = UnreadableFiles(results); !unreadable.empty())
        view.ShowUnreadableFiles(unreadable);
    if (!options.Quiet)
        err << controller.Results().SummaryText() << '\n';
    if (options.Action)
        return RunAction(controller, view, options, out, err, interrupted);
    return esRan;
}

} // namespace quorvane::cli
