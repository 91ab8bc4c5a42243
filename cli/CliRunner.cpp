#include "CliRunner.h"

#include <filesystem>

#include "GroupPrinter.h"
#include "TerminalView.h"
#include "app/PipelineController.h"
#include "platform/Mounts.h"
#include "reports/ExportList.h"
#include "reports/Profile.h"

namespace quorvane::cli {
namespace {

std::string AbsoluteFolder(const std::string& folder) {
    std::string path = std::filesystem::absolute(folder).lexically_normal().string();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// The criteria: the profile's when one is named, then what the command line adds or overrides.
SearchCriteria CriteriaFor(const TCliOptions& options) {
    SearchCriteria criteria;
    criteria.IncludeFolders.clear();
    if (!options.Profile.empty()) {
        if (!std::filesystem::is_regular_file(options.Profile))
            throw std::runtime_error("Profile " + options.Profile + " does not exist");
        criteria = LoadProfile(options.Profile, criteria, "", FixedDriveRoots()).Criteria;
    }
    for (const std::string& folder : options.Folders)
        criteria.IncludeFolders.push_back(AbsoluteFolder(folder));
    for (const std::string& folder : options.ExcludeFolders)
        criteria.ExcludeFolders.push_back(AbsoluteFolder(folder));
    if (!options.IncludeMasks.empty())
        criteria.IncludeFiles = options.IncludeMasks;
    criteria.ExcludeFiles.insert(criteria.ExcludeFiles.end(), options.ExcludeMasks.begin(),
                                 options.ExcludeMasks.end());
    criteria.IncludeSysFolders = criteria.IncludeSysFolders || options.HiddenFolders;
    criteria.IncludeSysFiles = criteria.IncludeSysFiles || options.HiddenFiles;
    criteria.ShowZeroBytes = criteria.ShowZeroBytes || options.ZeroBytes;
    if (options.GroupOrder)
        criteria.GroupOrder = *options.GroupOrder;
    if (options.CompareMode)
        criteria.CompareMode = *options.CompareMode;
    return criteria;
}

} // namespace

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& interrupted, bool progressOnTerminal) {
    TSettings settings;
    try {
        settings.Criteria = CriteriaFor(options);
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
    if (!options.Export.empty()) {
        const TResultGrid& results = controller.Results();
        try {
            ExportList({results.View(), results.Summary(), {}}, options.Export);
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
