#include "CliRunner.h"

#include "CliCriteria.h"
#include "GroupPrinter.h"
#include "TerminalView.h"
#include "app/PipelineController.h"
#include "platform/Mounts.h"

namespace quorvane::cli {

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& interrupted, bool progressOnTerminal) {
    TSettings settings;
    try {
        settings.Criteria = CriteriaFor(options, FixedDriveRoots());
    } catch (const std::exception& error) {
        err << "error: " << error.what() << '\n';
        return esFailure;
    }
    // Nothing is marked on a terminal, so the protection rules have nothing to guard.
    settings.ProtectedFolders.clear();
    settings.DontShowCompareMessage = options.Quiet;

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
        err << "Cancelled.\n";
        return esInterrupted;
    }
    if (view.Failed())
        return esFailure;

    PrintGroups(controller.Results().View(), options.Format, out);
    if (!options.SaveList.empty()) {
        try {
            controller.SaveFilesList(options.SaveList);
        } catch (const std::exception& error) {
            err << "error: " << error.what() << '\n';
            return esFailure;
        }
    }
    if (!options.Quiet)
        err << controller.Results().SummaryText() << '\n';
    return esRan;
}

} // namespace quorvane::cli
