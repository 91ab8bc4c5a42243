#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "actions/FileAction.h"
#include "app/PipelineView.h"
#include "app/Settings.h"
#include "app/SortRestorePoint.h"
#include "platform/MainThreadQueue.h"
#include "platform/StatusMailbox.h"
#include "results/ResultGrid.h"
#include "search/FilList.h"
#include "search/UnreadFolders.h"

namespace quorvane {

class TSearchThread;
class TSortThread;
class TChecksumThread;

// The search pipeline: search, sort and content comparison on worker threads, classification on
// the main thread, each stage started from the end of the one before.
//
// Owns the main file list, the comparison list and the results; reads the criteria and settings
// the front end holds. One worker runs at a time and has the file list to itself: every command
// that would start a second one while one runs is refused without effect. Cancelling raises the
// cancel request and asks the worker to stop, without waiting; the worker's end handler, run on
// the main thread through the queue, finds the request and skips the next stage. A cancelled
// sort of results already shown (after a regrouping or a comparison) gives those results back.
// Shutdown stops every worker and waits, letting events through, until each has ended.
//
// Every call comes on the main thread.
class TPipelineController {
public:
    TPipelineController(IMainThreadQueue& mainThread, IPipelineView& view, TSettings& settings);
    TPipelineController(const TPipelineController&) = delete;
    TPipelineController& operator=(const TPipelineController&) = delete;
    // Stops and awaits any worker first (Shutdown).
    ~TPipelineController();

    const TFilesList& Files() const { return FFilesList; }
    TResultGrid& Results() { return FResults; }
    const TResultGrid& Results() const { return FResults; }
    // The folders the last search could not read (empty after loading a files list). Read it
    // while no search runs.
    const TUnreadFolders& UnreadFolders() const { return FUnreadFolders; }
    // The running search's newest folder and count of files found, for the front end to poll.
    TStatusMailbox& SearchProgress() { return FSearchProgress; }

    // The busy state: a run is under way and the Search action serves as its cancel command.
    bool Busy() const { return FBusy; }
    bool WorkerRunning() const;

    // The Search action: starts a search when idle, cancels the run when busy.
    void SearchExecute();
    void StartSearch();
    // Sorts the main file list under the current group order, then classifies it.
    void StartSort();
    // A new group order: the list is sorted and classified again, without a new walk, the
    // commands busy meanwhile. Refused (returns false) while a worker or a file action runs.
    bool ChangeGroupOrder(TGroupOrder order);
    // Compares the contents of every group that holds one of the selected rows (record indexes),
    // then sorts and classifies again. Refused (returns false) while a worker or a file action
    // runs.
    bool CompareContents(TCompareMode mode, const std::vector<uint32_t>& selectedRecords);
    // Writes the main file list; throws std::runtime_error naming the file on failure. Refused
    // (returns false) while a worker runs.
    bool SaveFilesList(const std::string& fileName) const;
    // Replaces the main file list with a files list and sorts it. A list that cannot be read is
    // reported and changes nothing: the previous list and results stay; a list that names a file
    // twice is read with a warning. Refused (returns false) while a worker or a file action runs.
    bool LoadFilesList(const std::string& fileName);
    // Cuts the sorted list into groups and shows them (after every sort, and after file actions).
    void ClassifyFiles();
    // Carries out a file action planned on the current results (PlanFileAction), then removes
    // the files acted on from the main file list and classifies again without sorting, with
    // "Classifying files" on the wait form. The check marks' action-running flag is set
    // meanwhile. Refused (returns false, nothing touched) while a worker or another file action
    // runs. Files that failed, changed or were skipped keep their rows; the caller shows
    // FailureReport(outcome).
    bool RunFileAction(const TActionPlan& plan, IActionPrompts& prompts, TActionOutcome& outcome);
    // Stops every worker and waits for each to end. Called once, when the program closes.
    void Shutdown();

private:
    // A worker or a file action has the file list: commands that would change it are refused.
    bool Occupied() const;
    void SetCommandsEnabled(bool idle);
    void ClearPanels();
    // At the end of a run: the first panel says how many folders the search could not read,
    // its hint which ones.
    void ShowUnreadFolders();
    void EmptyResults();
    void SearchDone();
    void SortDone(TSortThread& worker);
    void ClassifySorted();
    void ReturnToPreviousResults(const TSortRestorePoint& restorePoint);
    void ComparisonDone();
    template <class TWorker, class TStop> void AwaitWorker(TWorker*& worker, TStop stop);

    IMainThreadQueue& FMainThread;
    IPipelineView& FView;
    TSettings& FSettings;

    TFilesList FFilesList;
    TFilesList FComparisonList{false};
    TUnreadFolders FUnreadFolders;
    TResultGrid FResults;
    TStatusMailbox FSearchProgress;

    TSearchThread* FSearchWorker = nullptr;
    TSortThread* FSortWorker = nullptr;
    TChecksumThread* FChecksumWorker = nullptr;
    // Set for the sort of results already shown, from its start to its end handler.
    std::optional<TSortRestorePoint> FRestorePoint;
    bool FBusy = false;
    bool FCancelRequest = false;
    bool FCancelling = false;
    bool FShuttingDown = false;
};

} // namespace quorvane
