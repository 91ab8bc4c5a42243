// Carrying out a planned file action, one file at a time, each re-checked against its record
// just before it is touched. A file that cannot be acted on keeps its place and its row; the
// outcome says why.

#include "actions/FileAction.h"
#include "platform/DateTime.h"
#include "platform/FileRecheck.h"
#include "platform/RemoveFile.h"
#include "platform/Trash.h"

namespace quorvane {
namespace {

// Acts on one re-checked file; fills the result's outcome and error.
void ActOnFile(const TActionPlan& plan, const TActionStep& step, IActionPrompts& prompts,
               TStepResult& result) {
    (void)prompts;
    std::string error;
    switch (plan.Operation) {
    case TFileOperation::Delete:
        error = RemoveFile(step.Source);
        break;
    case TFileOperation::Recycle:
        error = MoveToTrash(step.Source);
        break;
    case TFileOperation::Move:
    case TFileOperation::Compress:
        error = "not available yet";
        break;
    }
    result.Outcome = error.empty() ? TStepOutcome::Done : TStepOutcome::Failed;
    result.Error = std::move(error);
}

} // namespace

TActionOutcome ExecuteFileAction(const TActionPlan& plan, IActionPrompts& prompts,
                                 const TPump& pump) {
    TActionOutcome outcome;
    outcome.Operation = plan.Operation;
    const int64_t utcOffset = CurrentUtcOffsetSeconds();
    outcome.Results.reserve(plan.Steps.size());
    for (const TActionStep& step : plan.Steps) {
        TStepResult result;
        result.FilePosition = step.FilePosition;
        result.Source = step.Source;
        result.Error = RecheckFile(step.Source, step.Size, step.Date, utcOffset);
        if (!result.Error.empty())
            result.Outcome = TStepOutcome::Changed;
        else
            ActOnFile(plan, step, prompts, result);
        outcome.Results.push_back(std::move(result));
        if (pump)
            pump();
    }
    return outcome;
}

} // namespace quorvane
