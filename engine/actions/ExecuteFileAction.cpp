// Carrying out a planned file action, one file at a time, each re-checked against its record
// just before it is touched. A file that cannot be acted on keeps its place and its row; the
// outcome says why.

#include "actions/CompressFiles.h"
#include "actions/FileAction.h"
#include "platform/DateTime.h"
#include "platform/DirectoryListing.h"
#include "platform/FileRecheck.h"
#include "platform/MakeFolders.h"
#include "platform/MoveFile.h"
#include "platform/RemoveFile.h"
#include "platform/Trash.h"

namespace quorvane {
namespace {

class TStepRunner {
public:
    TStepRunner(const TActionPlan& plan, IActionPrompts& prompts, const TPump& pump)
        : FPlan(plan), FPrompts(prompts), FPump(pump), FUtcOffset(CurrentUtcOffsetSeconds()) {}

    TStepResult Run(const TActionStep& step) {
        TStepResult result;
        result.FilePosition = step.FilePosition;
        result.Source = step.Source;
        if (!Recheck(step, result))
            return result;
        if (FPlan.Operation == TFileOperation::Move)
            Move(step, result);
        else // delete or recycle; compress has a runner of its own
            Finish(result, FPlan.Operation == TFileOperation::Delete ? RemoveFile(step.Source)
                                                                     : MoveToTrash(step.Source));
        return result;
    }

private:
    // False (the result says why) when the file is no longer the one the search recorded.
    bool Recheck(const TActionStep& step, TStepResult& result) const {
        result.Error = RecheckFile(step.Source, step.Size, step.Date, FUtcOffset);
        if (result.Error.empty())
            return true;
        result.Outcome = TStepOutcome::Changed;
        return false;
    }

    static void Finish(TStepResult& result, std::string error) {
        result.Outcome = error.empty() ? TStepOutcome::Done : TStepOutcome::Failed;
        result.Error = std::move(error);
    }

    void Move(const TActionStep& step, TStepResult& result) {
        const std::string folder = step.Target.substr(0, step.Target.find_last_of('/') + 1);
        if (std::string error = MakeFolders(folder); !error.empty())
            return Finish(result, std::move(error));
        TMoveOptions options;
        options.Pump = FPump;
        if (const std::optional<TFileStatus> existing = LinkStatus(step.Target)) {
            const std::optional<TFileStatus> source = LinkStatus(step.Source);
            if (source && source->Id == existing->Id)
                return Finish(result, "the target " + step.Target + " is the file itself");
            if (existing->Kind == TEntryKind::Folder)
                return Finish(result, "the target " + step.Target + " is a folder");
            if (!FPrompts.ConfirmOverwrite(step.Target)) {
                result.Outcome = TStepOutcome::Skipped;
                return;
            }
            options.ReplaceTarget = true;
            // Again after the question, which may have waited for a long time.
            if (!Recheck(step, result))
                return;
        }
        Finish(result, MoveFileTo(step.Source, step.Target, options));
    }

    const TActionPlan& FPlan;
    IActionPrompts& FPrompts;
    const TPump& FPump;
    const int64_t FUtcOffset;
};

} // namespace

TActionOutcome ExecuteFileAction(const TActionPlan& plan, IActionPrompts& prompts,
                                 const TPump& pump) {
    TActionOutcome outcome;
    outcome.Operation = plan.Operation;
    outcome.Results.reserve(plan.Steps.size());
    if (plan.Operation == TFileOperation::Compress) {
        CompressFiles(plan, CurrentUtcOffsetSeconds(), outcome, pump);
        return outcome;
    }
    TStepRunner runner(plan, prompts, pump);
    for (const TActionStep& step : plan.Steps) {
        if (prompts.StopRequested())
            break;
        outcome.Results.push_back(runner.Run(step));
        if (pump)
            pump();
    }
    return outcome;
}

} // namespace quorvane
