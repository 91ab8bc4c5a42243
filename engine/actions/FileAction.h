#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "results/BatchWork.h"

namespace quorvane {

class TResultGrid;

// The four file actions, numbered as their commands' tags.
enum class TFileOperation : int { Delete = 0, Recycle = 1, Move = 2, Compress = 3 };

// One file the action will touch, as the plan found it.
struct TActionStep {
    uint32_t Record = 0;       // the result row's record index
    uint32_t FilePosition = 0; // the file's index in the main file list
    std::string Source;        // full name (folder + name), raw bytes
    // Move: the full target name (destination + the file's folder without its leading "/" +
    // name). Compress: the archive entry name (the full name without its leading "/").
    // Delete and recycle: empty.
    std::string Target;
    // The record's size and date: the file is re-checked against them just before it is touched.
    int64_t Size = 0;
    TDateTime Date = 0;
    uint32_t Group = 0; // the row's group number
};

// What an action would do, built before anything is touched so that it can be shown, confirmed
// and tested.
struct TActionPlan {
    TFileOperation Operation = TFileOperation::Delete;
    // Move: the destination folder, ending with "/". Compress: the archive's file name.
    std::string Destination;
    // The checked rows that pass the filter, in descending record index: files leave the main
    // list from the back, so the positions of the rows still to come stay valid.
    std::vector<TActionStep> Steps;
    // Groups of which no copy would remain: every file of the group (every distinct file
    // identity, so that two names of one inode count once) is in the plan. Move loses no
    // content and always counts 0.
    std::size_t GroupsLosingLastCopy = 0;
};

// How a step ended.
enum class TStepOutcome {
    Done,    // the file was acted on and leaves the file list
    Skipped, // the user declined to overwrite the target: the file stays
    Changed, // size or date differ from the record, or the file vanished: not touched
    Failed,  // the operation failed; the file is where it was
};

struct TStepResult {
    uint32_t FilePosition = 0;
    std::string Source;
    TStepOutcome Outcome = TStepOutcome::Done;
    std::string Error; // why, for Changed and Failed
};

struct TActionOutcome {
    TFileOperation Operation = TFileOperation::Delete; // the plan's, for the report's wording
    std::vector<TStepResult> Results;                  // in the order of the plan's steps
    // Compress: why the archive could not be opened, written or read back. Every file then stays:
    // its step is Failed, or Changed when the re-check had already set it aside.
    std::string ArchiveError;

    bool AnyFailed() const; // a step Changed or Failed
    // Positions of the files acted on, descending: the ones to remove from the main file list.
    std::vector<uint32_t> DonePositions() const;
};

// The questions an action asks while it runs. Every call comes on the caller's thread.
class IActionPrompts {
public:
    virtual ~IActionPrompts() = default;
    // Move: `target` exists already; true replaces it.
    virtual bool ConfirmOverwrite(const std::string& target) = 0;
    // Asked before each file of a delete, trash or move: true stops the action there (a front
    // end's cancel). The files not reached are not touched and get no result, so the outcome
    // then holds fewer results than the plan has steps. Compress writes its archive in one
    // piece and is not stopped.
    virtual bool StopRequested() { return false; }
};

// The plan of an action on the checked list of `grid` (rows hidden by the filter are not in it).
// `destination` is the move's folder ("/" is appended when missing) or the archive's name;
// empty for delete and recycle.
TActionPlan PlanFileAction(const TResultGrid& grid, TFileOperation operation,
                           const std::string& destination);

// Carries out the plan, step by step in its order, re-checking each file's size and date just
// before touching it. Never throws for a file's failure: each step gets its result. `pump` is
// called between steps so that a front end stays responsive.
TActionOutcome ExecuteFileAction(const TActionPlan& plan, IActionPrompts& prompts,
                                 const TPump& pump = {});

// The message that lists what went wrong: one line per failed or changed file with the reason,
// the first 20, then "... and N more". Empty when nothing failed.
std::string FailureReport(const TActionOutcome& outcome);

} // namespace quorvane
