// What an action did, and the message that lists what it could not do.

#include <algorithm>

#include "actions/FileAction.h"

namespace quorvane {
namespace {

constexpr std::size_t kReportedFiles = 20;

bool WentWrong(const TStepResult& result) {
    return result.Outcome == TStepOutcome::Changed || result.Outcome == TStepOutcome::Failed;
}

const char* PastTense(TFileOperation operation) {
    switch (operation) {
    case TFileOperation::Delete:
        return "deleted";
    case TFileOperation::Recycle:
        return "moved to the trash";
    case TFileOperation::Move:
        return "moved";
    case TFileOperation::Compress:
        return "compressed";
    }
    return "acted on";
}

} // namespace

bool TActionOutcome::AnyFailed() const {
    return std::any_of(Results.begin(), Results.end(), WentWrong);
}

std::vector<uint32_t> TActionOutcome::DonePositions() const {
    std::vector<uint32_t> positions;
    for (const TStepResult& result : Results)
        if (result.Outcome == TStepOutcome::Done)
            positions.push_back(result.FilePosition);
    std::sort(positions.begin(), positions.end(), std::greater<>());
    return positions;
}

std::string FailureReport(const TActionOutcome& outcome) {
    if (!outcome.AnyFailed() && outcome.ArchiveError.empty())
        return {};
    std::string report;
    if (!outcome.ArchiveError.empty())
        report += outcome.ArchiveError + "\n";
    report += std::string("The following files were not ") + PastTense(outcome.Operation) + ":";
    std::size_t listed = 0, more = 0;
    for (const TStepResult& result : outcome.Results) {
        if (!WentWrong(result))
            continue;
        if (listed == kReportedFiles) {
            ++more;
            continue;
        }
        report += "\n" + result.Source + ": " + result.Error;
        ++listed;
    }
    if (more > 0)
        report += "\n... and " + std::to_string(more) + " more";
    return report;
}

} // namespace quorvane
