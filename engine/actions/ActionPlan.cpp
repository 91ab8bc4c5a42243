// Planning a file action: which files, in which order, to which targets, and whether a group
// would lose its last copy. Nothing is touched here except a look at each file's identity.

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "actions/FileAction.h"
#include "platform/DirectoryListing.h"
#include "results/ResultGrid.h"

namespace quorvane {
namespace {

std::string TargetOf(const TFile& file, TFileOperation operation, const std::string& destination) {
    // The target keeps the file's folders below the destination; the archive entry is the
    // folder path without its leading "/" (zip names are relative).
    std::string relative = file.FullName();
    if (relative.starts_with('/'))
        relative.erase(0, 1);
    switch (operation) {
    case TFileOperation::Move:
        return destination + relative;
    case TFileOperation::Compress:
        return relative;
    case TFileOperation::Delete:
    case TFileOperation::Recycle:
        break;
    }
    return {};
}

// A group loses its last copy when none of its remaining rows (the filter's hidden rows
// included) leaves its contents on disk. A remaining file keeps them when it is not one of the
// planned files, or when it is one reached by another name and more names lead to it than the
// plan removes: a hard link survives the removal of its twin, while the same name seen twice
// (through a bind mount) does not.
std::size_t CountGroupsLosingLastCopy(const TResultView& view,
                                      const std::vector<TActionStep>& steps) {
    std::unordered_map<TFileId, uint64_t, TFileIdHash> plannedNames;
    std::unordered_set<uint32_t> plannedGroups, plannedRecords;
    for (const TActionStep& step : steps) {
        if (const std::optional<TFileStatus> status = LinkStatus(step.Source))
            ++plannedNames[status->Id];
        plannedGroups.insert(step.Group);
        plannedRecords.insert(step.Record);
    }
    std::unordered_set<uint32_t> keepingACopy;
    for (uint32_t record = 0; record < view.RowCount(); ++record) {
        const uint32_t group = view.Row(record).Group;
        if (!plannedGroups.contains(group) || plannedRecords.contains(record) ||
            keepingACopy.contains(group))
            continue;
        const std::optional<TFileStatus> status = LinkStatus(view.File(record).FullName());
        if (!status)
            continue;
        const auto planned = plannedNames.find(status->Id);
        if (planned == plannedNames.end() || status->Links > planned->second)
            keepingACopy.insert(group);
    }
    return plannedGroups.size() - keepingACopy.size();
}

} // namespace

TActionPlan PlanFileAction(const TResultGrid& grid, TFileOperation operation,
                           const std::string& destination) {
    TActionPlan plan;
    plan.Operation = operation;
    plan.Destination = destination;
    if (operation == TFileOperation::Move && !plan.Destination.empty() &&
        plan.Destination.back() != '/')
        plan.Destination += '/';

    std::vector<uint32_t> records = grid.Checks().CheckedList();
    std::sort(records.begin(), records.end(), std::greater<>());
    const TResultView& view = grid.View();
    plan.Steps.reserve(records.size());
    for (uint32_t record : records) {
        const TResultRow& row = view.Row(record);
        const TFile& file = view.File(record);
        TActionStep step;
        step.Record = record;
        step.FilePosition = row.FilePosition;
        step.Source = file.FullName();
        step.Target = TargetOf(file, operation, plan.Destination);
        step.Size = file.Size;
        step.Date = file.Date;
        step.Group = row.Group;
        plan.Steps.push_back(std::move(step));
    }
    if (operation != TFileOperation::Move)
        plan.GroupsLosingLastCopy = CountGroupsLosingLastCopy(view, plan.Steps);
    return plan;
}

} // namespace quorvane
