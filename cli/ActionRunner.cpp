#include "ActionRunner.h"

#include <filesystem>

#include "CliRunner.h"
#include "app/ConfigFile.h"
#include "platform/NumberFormat.h"

namespace quorvane::cli {
namespace {

struct TOperationWords {
    const char* Option;   // as typed on the command line
    const char* StepWord; // first field of a step line
    const char* Done;     // "Deleted" 3 files
    const char* Planned;  // "Would delete" 3 files
    const char* NotDone;  // "not deleted": a file, why
    const char* Running;  // "Deleting" file 3 of 10
};

const TOperationWords& WordsFor(TFileOperation operation) {
    static const TOperationWords words[] = {
        {"--delete", "delete", "Deleted", "Would delete", "not deleted", "Deleting"},
        {"--trash", "trash", "Moved to the trash", "Would move to the trash",
         "not moved to the trash", "Moving to the trash"},
        {"--move-to", "move", "Moved", "Would move", "not moved", "Moving"},
        {"--zip", "zip", "Compressed", "Would compress", "not compressed", "Compressing"},
    };
    return words[static_cast<int>(operation)];
}

// One step as a line of stdout: names are the file system's bytes, fields split by a tab. With
// -0 (for names that hold tabs or line breaks) every field ends with a zero byte and the step
// with one more.
void PrintStep(std::ostream& out, TFileOperation operation, const TActionStep& step,
               bool nullSeparated) {
    const char separator = nullSeparated ? '\0' : '\t';
    out << WordsFor(operation).StepWord << separator << step.Source;
    if (!step.Target.empty())
        out << separator << step.Target;
    if (nullSeparated)
        out << '\0' << '\0';
    else
        out << '\n';
}

std::string FilesText(std::size_t count, int64_t bytes) {
    return std::to_string(count) + (count == 1 ? " file (" : " files (") +
           FormatGroupedInteger(bytes) + " bytes)";
}

// Rows past the first of their group that may not be checked: files the action leaves alone.
std::size_t ProtectedDuplicates(const TResultView& view) {
    std::size_t count = 0;
    int64_t currentGroup = -1;
    for (uint32_t record : view.PassingRecords()) {
        const TResultRow& row = view.Row(record);
        if (row.Group != currentGroup)
            currentGroup = row.Group;
        else if (!row.Checkable)
            ++count;
    }
    return count;
}

// Checks every file of each group but the first. A group of files that could not be read is
// no group of copies (their contents were never compared): with BlockDelete off the window lets
// the user check them after naming them, but a rule that picks files by itself leaves them alone.
void CheckAllButTheKeptFiles(TResultGrid& results) {
    TCheckMarks& checks = results.Checks();
    checks.CheckAllButFirst();
    std::vector<uint32_t> unreadable;
    for (uint32_t record : checks.CheckedList())
        if (results.View().File(record).Checksum.IsUnreadable())
            unreadable.push_back(record);
    checks.UncheckSelected(unreadable);
}

// Nobody answers questions on a command line.
class TTerminalPrompts final : public IActionPrompts {
public:
    TTerminalPrompts(const std::atomic<bool>& interrupted, TTerminalView& view)
        : FInterrupted(interrupted), FView(view) {}
    // An existing file is never replaced: the move is skipped and reported.
    bool ConfirmOverwrite(const std::string&) override { return false; }
    // Ctrl-C stops the action before the next file; otherwise that file begins.
    bool StopRequested() override {
        if (FInterrupted.load())
            return true;
        FView.ActionFileBegun();
        return false;
    }

private:
    const std::atomic<bool>& FInterrupted;
    TTerminalView& FView;
};

} // namespace

std::string PrepareAction(const TActionRequest& action, TSettings& settings) {
    TSettings user;
    try {
        const TSettingsEnvironment environment{std::nullopt, SystemFolders(), {}};
        ReadSettings(ConfigFileLocation(), user, environment);
    } catch (const std::exception& error) {
        return std::string("the protected folders cannot be read: ") + error.what();
    }
    settings.ProtectedFolders = std::move(user.ProtectedFolders);
    settings.BlockDelete = user.BlockDelete;
    if (settings.BlockDelete && settings.Criteria.CompareMode == cmNone)
        return std::string(WordsFor(action.Operation).Option) +
               " can act on no file: the setting \"Don't allow delete/move files without "
               "comparing\" is on and the contents are not compared; give -c crc, md4 or md5";
    return {};
}

int RunAction(TPipelineController& controller, TTerminalView& view, const TCliOptions& options,
              std::ostream& out, std::ostream& err, const std::atomic<bool>& interrupted) {
    const TActionRequest& action = *options.Action;
    const TOperationWords& words = WordsFor(action.Operation);
    TResultGrid& results = controller.Results();
    CheckAllButTheKeptFiles(results);
    const std::string destination =
        action.Target.empty()
            ? std::string()
            : std::filesystem::absolute(action.Target).lexically_normal().string();
    const TActionPlan plan = PlanFileAction(results, action.Operation, destination);

    if (const std::size_t groups = plan.GroupsLosingLastCopy) {
        // The first file of each group is kept, so this means that file is gone since the search
        // or is another name of a file to act on.
        err << "error: " << words.Option << " refused, nothing was touched: " << groups
            << (groups == 1 ? " group" : " groups")
            << " would be left without a copy (the kept file is gone or is a hard link of a file "
               "to act on)\n";
        return esFailure;
    }
    if (!options.Quiet)
        if (const std::size_t protectedCount = ProtectedDuplicates(results.View()))
            err << protectedCount << " duplicates in protected folders are left alone\n";

    int64_t plannedBytes = 0;
    for (const TActionStep& step : plan.Steps)
        plannedBytes += step.Size;
    if (options.DryRun) {
        for (const TActionStep& step : plan.Steps)
            PrintStep(out, action.Operation, step, options.NullSeparated);
        out.flush();
        if (!options.Quiet)
            err << words.Planned << ' ' << FilesText(plan.Steps.size(), plannedBytes) << '\n';
        return esRan;
    }
    if (interrupted.load()) {
        if (!options.Quiet)
            err << "Cancelled.\n";
        return esInterrupted;
    }

    TTerminalPrompts prompts(interrupted, view);
    TActionOutcome outcome;
    view.StartActionProgress(words.Running, plan.Steps.size());
    view.SetMessagesMuted(true);
    const bool ran = controller.RunFileAction(plan, prompts, outcome);
    view.SetMessagesMuted(false);
    if (!ran) {
        err << "error: the action could not start while a search runs\n";
        return esFailure;
    }

    // Every file not acted on is named, not only the first ones a message box would show, so
    // that a log of the run holds them all.
    if (!outcome.ArchiveError.empty())
        err << "error: " << outcome.ArchiveError << '\n';
    std::size_t done = 0;
    int64_t doneBytes = 0;
    for (std::size_t i = 0; i < outcome.Results.size(); ++i) {
        const TActionStep& step = plan.Steps[i];
        const TStepResult& result = outcome.Results[i];
        if (result.Outcome == TStepOutcome::Done) {
            PrintStep(out, action.Operation, step, options.NullSeparated);
            ++done;
            doneBytes += step.Size;
            continue;
        }
        err << words.NotDone << ": " << step.Source << ": "
            << (result.Outcome == TStepOutcome::Skipped
                    ? step.Target + " exists already and is not replaced"
                    : result.Error)
            << '\n';
    }
    out.flush();
    const std::size_t untouched = plan.Steps.size() - outcome.Results.size();
    if (!options.Quiet) {
        err << words.Done << ' ' << FilesText(done, doneBytes);
        if (done < plan.Steps.size())
            err << "; " << plan.Steps.size() - done << " of " << plan.Steps.size()
                << " not acted on";
        err << '\n';
    }
    if (untouched > 0) {
        if (!options.Quiet)
            err << "Cancelled.\n";
        return esInterrupted;
    }
    return done < plan.Steps.size() ? esFailure : esRan;
}

} // namespace quorvane::cli
