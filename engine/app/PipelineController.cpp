#include "app/PipelineController.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "app/PipelineMessages.h"
#include "duplicates/ChecksumThd.h"
#include "duplicates/Classify.h"
#include "duplicates/SortThd.h"
#include "results/ResultLayout.h"
#include "search/SearchThd.h"

namespace quorvane {
namespace {

std::string Text(std::string_view text) {
    return std::string(text);
}

std::string DescribeError(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

} // namespace

TPipelineController::TPipelineController(IMainThreadQueue& mainThread, IPipelineView& view,
                                         TSettings& settings)
    : FMainThread(mainThread), FView(view), FSettings(settings) {}

TPipelineController::~TPipelineController() {
    Shutdown();
}

bool TPipelineController::WorkerRunning() const {
    return FSearchWorker || FSortWorker || FChecksumWorker;
}

bool TPipelineController::Occupied() const {
    return WorkerRunning() || FResults.Checks().ActionRunning();
}

void TPipelineController::SetCommandsEnabled(bool idle) {
    FBusy = !idle;
    FView.SetCommandsEnabled(idle);
}

void TPipelineController::ClearPanels() {
    FView.SetStatusText(spFirst, "");
    FView.SetStatusText(spSecond, "");
}

void TPipelineController::ShowUnreadFolders() {
    FView.SetStatusText(spFirst, UnreadFoldersStatus(FUnreadFolders));
    FView.SetStatusHint(spFirst, UnreadFoldersHint(FUnreadFolders));
}

void TPipelineController::EmptyResults() {
    // The columns the group order shows once its rows are written, without CheckSum: an empty
    // grid has no checksum to show.
    FResults.Load(
        FFilesList, {},
        ClassifiedLayout(FSettings.Criteria.GroupOrder, FSettings.SeparateGroups, true, false));
    FView.ResultsChanged();
}

void TPipelineController::SearchExecute() {
    if (FCancelling)
        return;
    if (!FBusy) {
        StartSearch();
        return;
    }
    FCancelling = true;
    FCancelRequest = true;
    if (FSearchWorker)
        FSearchWorker->Terminate();
    if (FChecksumWorker)
        FChecksumWorker->Terminate();
    if (FSortWorker)
        FSortWorker->Cancel();
    ClearPanels();
    SetCommandsEnabled(true);
    FCancelling = false;
}

void TPipelineController::StartSearch() {
    if (Occupied())
        return;
    SearchCriteria& criteria = FSettings.Criteria;
    if (criteria.IncludeFolders.empty()) {
        FView.ShowMessage(TMessageKind::Error, Text(kNoFoldersText));
        return;
    }
    if (criteria.CompareMode == cmNone && !FSettings.DontShowCompareMessage)
        FView.MessageDlgCheck(Text(kSearchWithoutComparingText), TMessageKind::Warning,
                              Text(kDontShowAgainText), Text(kProgramCaption),
                              FSettings.DontShowCompareMessage);

    auto* worker = new TSearchThread(FMainThread, &FSearchProgress);
    try {
        worker->SetSearch(FFilesList, criteria);
    } catch (const std::exception& error) {
        // A mask the walk cannot take: nothing has changed yet.
        delete worker;
        FView.ShowMessage(TMessageKind::Error, error.what());
        return;
    }
    worker->SetOnTerminate([this](TThread&) { SearchDone(); });

    SetCommandsEnabled(false);
    FFilesList.Clear();
    FUnreadFolders.clear();
    worker->SetUnreadFolders(FUnreadFolders);
    EmptyResults();
    FCancelRequest = false;
    FSearchProgress.Status("");
    FSearchProgress.Count(0);
    FSearchWorker = worker;
    worker->Start();
}

void TPipelineController::SearchDone() {
    FView.SetStatusText(spFirst, "");
    if (FCancelRequest || FShuttingDown) {
        FSearchWorker = nullptr;
        FFilesList.Clear();
        EmptyResults();
        ClearPanels();
        SetCommandsEnabled(true);
        return;
    }
    // The sort starts before the search worker is forgotten, so that no command slips between.
    StartSort();
    FSearchWorker = nullptr;
}

void TPipelineController::StartSort() {
    if (FSortWorker)
        return;
    if (FFilesList.Empty()) {
        FRestorePoint.reset();
        SetCommandsEnabled(true);
        ClearPanels();
        ShowUnreadFolders();
        return;
    }
    // The rows point into the list the worker is about to reorder: the grid must not read them
    // meanwhile.
    EmptyResults();
    FView.ShowWaitForm();
    FView.SetWaitText(Text(kSortingText));
    ClearPanels();
    FView.ProcessMessages();
    FCancelRequest = false;
    auto* worker = new TSortThread(FMainThread, FSettings.Criteria.GroupOrder);
    worker->SetFilesList(&FFilesList);
    worker->SetCompareMode(FSettings.Criteria.CompareMode);
    worker->SetOnTerminate(
        [this](TThread& thread) { SortDone(static_cast<TSortThread&>(thread)); });
    FSortWorker = worker;
    worker->Start();
}

void TPipelineController::SortDone(TSortThread& worker) {
    FSortWorker = nullptr;
    std::optional<TSortRestorePoint> restorePoint = std::move(FRestorePoint);
    FRestorePoint.reset();
    if (FShuttingDown)
        return;
    if (FCancelRequest) {
        if (restorePoint)
            ReturnToPreviousResults(*restorePoint);
        return;
    }
    if (std::exception_ptr error = worker.Error()) {
        // A list the sort could not finish would give wrong groups: show none.
        EmptyResults();
        SetCommandsEnabled(true);
        FView.ShowMessage(TMessageKind::Error, "Sorting the files failed: " + DescribeError(error));
        return;
    }
    ClassifySorted();
}

void TPipelineController::ReturnToPreviousResults(const TSortRestorePoint& restorePoint) {
    restorePoint.Restore(FFilesList);
    FSettings.Criteria.GroupOrder = restorePoint.GroupOrder();
    // What a cancelled comparison gives up, as when the comparison itself is cancelled.
    if (restorePoint.AfterComparison())
        ClearChecksums(FComparisonList);
    FView.ShowMessage(TMessageKind::Warning, Text(kCompareCancelledText));
    ClassifySorted();
}

void TPipelineController::ClassifySorted() {
    FView.SetWaitText(Text(kClassifyingText));
    ClearPanels();
    SetCommandsEnabled(false);
    FView.ProcessMessages();
    try {
        ClassifyFiles();
    } catch (...) {
        SetCommandsEnabled(true);
        FView.SetStatusText(spFirst, "");
        throw;
    }
    SetCommandsEnabled(true);
    ShowUnreadFolders();
}

void TPipelineController::ClassifyFiles() {
    const TPump pump = [this] { FView.ProcessMessages(); };
    const TGroupOrder order = FSettings.Criteria.GroupOrder;
    TClassification outcome = quorvane::ClassifyFiles(FFilesList, order, FSettings.BlockDelete,
                                                      FSettings.ProtectedFolders, pump);
    const TResultLayout layout =
        ClassifiedLayout(order, FSettings.SeparateGroups, FFilesList.Empty(), outcome.ChecksumSeen);
    const std::string message = outcome.Message();
    const bool noDuplicates = outcome.NoDuplicates;
    FResults.Load(FFilesList, std::move(outcome.Rows), layout, pump);
    FView.ResultsChanged();
    FView.SetStatusText(spSecond, FResults.SummaryText());
    if (message.empty())
        return;
    if (noDuplicates) {
        FView.HideWaitForm();
        FView.ShowMessage(TMessageKind::Information, message);
    } else {
        FView.ShowMessage(TMessageKind::Error, message);
    }
}

bool TPipelineController::ChangeGroupOrder(TGroupOrder order) {
    if (Occupied())
        return false;
    // Busy while the list is re-sorted, so that the Search action can cancel the sort.
    if (!FFilesList.Empty()) {
        FRestorePoint.emplace(FFilesList, FSettings.Criteria.GroupOrder, false);
        SetCommandsEnabled(false);
    }
    FSettings.Criteria.GroupOrder = order;
    StartSort();
    return true;
}

bool TPipelineController::CompareContents(TCompareMode mode,
                                          const std::vector<uint32_t>& selectedRecords) {
    if (Occupied())
        return false;
    FComparisonList.Clear();
    std::vector<TResultRow> rows;
    rows.reserve(FResults.View().RowCount());
    for (uint32_t record = 0; record < FResults.View().RowCount(); ++record)
        rows.push_back(FResults.View().Row(record));
    const std::vector<std::size_t> selected(selectedRecords.begin(), selectedRecords.end());
    CollectComparisonList(FFilesList, rows, selected, FComparisonList);

    FView.SetWaitText(Text(kComparingText));
    FView.SetStatusText(spFirst, "");
    FCancelRequest = false;
    auto* worker = new TChecksumThread(FMainThread, mode);
    worker->SetFilesList(&FComparisonList);
    worker->SetOnTerminate([this](TThread&) { ComparisonDone(); });
    FChecksumWorker = worker;
    FView.ShowWaitForm();
    SetCommandsEnabled(false);
    worker->Start();
    return true;
}

void TPipelineController::ComparisonDone() {
    FChecksumWorker = nullptr;
    if (FShuttingDown)
        return;
    if (FCancelRequest) {
        FView.ShowMessage(TMessageKind::Warning, Text(kCompareCancelledText));
        ClearChecksums(FComparisonList);
    } else if (!FFilesList.Empty()) {
        // The list is still in the order its results were classified in.
        FRestorePoint.emplace(FFilesList, FSettings.Criteria.GroupOrder, true);
    }
    StartSort();
}

bool TPipelineController::SaveFilesList(const std::string& fileName) const {
    if (WorkerRunning())
        return false;
    FFilesList.SaveToFile(fileName);
    return true;
}

bool TPipelineController::LoadFilesList(const std::string& fileName) {
    if (Occupied())
        return false;
    // Read into a list of its own first: a damaged file must not leave the results pointing
    // into a half-loaded list.
    auto loaded = std::make_unique<TFilesList>();
    std::string warning;
    try {
        warning = loaded->LoadFromFile(fileName);
    } catch (const std::exception& error) {
        FView.ShowMessage(TMessageKind::Error, error.what());
        return true;
    }
    if (!warning.empty())
        FView.ShowMessage(TMessageKind::Warning, warning);
    SetCommandsEnabled(false);
    FCancelRequest = false;
    EmptyResults();
    FFilesList.Clear();
    FUnreadFolders.clear();
    FFilesList.Reserve(loaded->Count());
    for (TFile* file : loaded->Items())
        FFilesList.Add(file);
    loaded->Items().clear(); // the records now belong to the main list
    StartSort();
    return true;
}

bool TPipelineController::RunFileAction(const TActionPlan& plan, IActionPrompts& prompts,
                                        TActionOutcome& outcome) {
    TCheckMarks& checks = FResults.Checks();
    if (Occupied())
        return false;
    // Clicks change no mark from here to the rebuilt rows, also when an error escapes.
    checks.SetActionRunning(true);
    struct TActionRunningReset {
        TCheckMarks& Checks;
        ~TActionRunningReset() { Checks.SetActionRunning(false); }
    } reset{checks};

    outcome = ExecuteFileAction(plan, prompts, [this] { FView.ProcessMessages(); });

    FView.ShowWaitForm();
    SetCommandsEnabled(false);
    // The rows point into the list: the grid must not read them while files leave it.
    EmptyResults();
    std::vector<const TStepResult*> done;
    for (const TStepResult& result : outcome.Results)
        if (result.Outcome == TStepOutcome::Done)
            done.push_back(&result);
    // From the back, so that each removal leaves the positions still to come valid. A position
    // that no longer names the file (a list replaced since the plan) is left alone.
    std::sort(done.begin(), done.end(), [](const TStepResult* a, const TStepResult* b) {
        return a->FilePosition > b->FilePosition;
    });
    for (const TStepResult* result : done)
        if (result->FilePosition < FFilesList.Count() &&
            FFilesList[result->FilePosition]->FullName() == result->Source)
            FFilesList.Delete(result->FilePosition);
    ClassifySorted();
    return true;
}

template <class TWorker, class TStop>
void TPipelineController::AwaitWorker(TWorker*& worker, TStop stop) {
    if (!worker)
        return;
    FView.SetStatusText(spFirst, Text(kFinishingText));
    stop(*worker);
    while (worker)
        FView.WaitForMessages();
}

void TPipelineController::Shutdown() {
    FShuttingDown = true;
    if (!WorkerRunning())
        return;
    ClearPanels();
    AwaitWorker(FSearchWorker, [](TSearchThread& w) { w.Terminate(); });
    AwaitWorker(FSortWorker, [](TSortThread& w) { w.Cancel(); });
    AwaitWorker(FChecksumWorker, [](TChecksumThread& w) { w.Terminate(); });
}

} // namespace quorvane
