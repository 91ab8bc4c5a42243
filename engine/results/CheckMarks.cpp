#include "results/CheckMarks.h"

#include <algorithm>
#include <stdexcept>

#include "platform/TextCompare.h"

namespace quorvane {

void TCheckMarks::Reset() {
    FFlags.assign(FView.RowCount(), false);
    FChecked.clear();
}

void TCheckMarks::RebuildCheckedList() {
    FChecked.clear();
    for (uint32_t record = 0; record < FFlags.size(); ++record)
        if (FFlags[record] && FView.Passes(record))
            FChecked.push_back(record);
}

void TCheckMarks::RequireValid(uint32_t record) const {
    if (record >= FFlags.size())
        throw std::out_of_range("No result row " + std::to_string(record) + " among " +
                                std::to_string(FFlags.size()));
}

bool TCheckMarks::Markable(uint32_t record) const {
    return FView.Row(record).Checkable && FView.Passes(record);
}

void TCheckMarks::Check(uint32_t record) {
    // By the invariant, a passing row is in the list exactly when its flag is set.
    if (!FFlags[record])
        FChecked.push_back(record);
    FFlags[record] = true;
}

bool TCheckMarks::CellClick(TResultColumn column, int64_t focusedRecord) {
    if (FActionRunning || column != rcChecked || focusedRecord < 0)
        return false;
    const auto record = static_cast<uint32_t>(focusedRecord);
    RequireValid(record);
    if (!Markable(record))
        return false;
    if (FFlags[record]) {
        FFlags[record] = false;
        std::erase(FChecked, record);
    } else {
        Check(record);
    }
    return true;
}

void TCheckMarks::CheckAll() {
    FChecked.clear();
    for (uint32_t record : FView.PassingRecords())
        if (FView.Row(record).Checkable) {
            FFlags[record] = true;
            FChecked.push_back(record);
        }
}

void TCheckMarks::UncheckAll() {
    FChecked.clear();
    for (uint32_t record : FView.PassingRecords())
        if (FView.Row(record).Checkable)
            FFlags[record] = false;
}

void TCheckMarks::ToggleChecks() {
    FChecked.clear();
    for (uint32_t record : FView.PassingRecords())
        if (FView.Row(record).Checkable) {
            FFlags[record] = !FFlags[record];
            if (FFlags[record])
                FChecked.push_back(record);
        }
}

void TCheckMarks::CheckFirst() {
    int64_t remembered = -1;
    for (uint32_t record : FView.PassingRecords()) {
        const TResultRow& row = FView.Row(record);
        if (row.Group == remembered || !row.Checkable)
            continue;
        remembered = row.Group;
        Check(record);
    }
}

void TCheckMarks::CheckAllButFirst() {
    int64_t currentGroup = -1;
    for (uint32_t record : FView.PassingRecords()) {
        const TResultRow& row = FView.Row(record);
        if (row.Group != currentGroup) {
            currentGroup = row.Group;
            continue;
        }
        if (row.Checkable)
            Check(record);
    }
}

std::string TCheckMarks::ProposedFolder(int64_t focusedRecord) const {
    if (focusedRecord < 0)
        return {};
    RequireValid(static_cast<uint32_t>(focusedRecord));
    return FView.File(static_cast<uint32_t>(focusedRecord)).Path();
}

void TCheckMarks::CheckInDir(std::string_view folder) {
    std::string wanted(folder);
    if (wanted.empty() || wanted.back() != '/')
        wanted += '/';
    // Records of one folder share one path text: compare each distinct text once in a row.
    const std::string* lastPath = nullptr;
    bool lastMatches = false;
    for (uint32_t record : FView.PassingRecords()) {
        if (!FView.Row(record).Checkable)
            continue;
        const std::string& path = FView.File(record).Path();
        if (&path != lastPath) {
            lastPath = &path;
            lastMatches = path == wanted || SameTextNoCase(path, wanted);
        }
        if (lastMatches)
            Check(record);
    }
}

void TCheckMarks::ApplyToSelection(const std::vector<uint32_t>& selected, TSelectionMode mode) {
    for (uint32_t record : selected)
        RequireValid(record);
    // Unchecked rows leave the list in one pass at the end instead of one search each; a row
    // listed twice in the selection is visited once.
    std::vector<bool> visited(FFlags.size(), false);
    bool removed = false;
    for (uint32_t record : selected) {
        if (visited[record] || !Markable(record))
            continue;
        visited[record] = true;
        const bool check =
            mode == TSelectionMode::Check || (mode == TSelectionMode::Toggle && !FFlags[record]);
        if (check) {
            Check(record);
        } else if (FFlags[record]) {
            FFlags[record] = false;
            removed = true;
        }
    }
    if (removed)
        std::erase_if(FChecked, [this](uint32_t record) { return !FFlags[record]; });
}

void TCheckMarks::CheckSelected(const std::vector<uint32_t>& selected) {
    ApplyToSelection(selected, TSelectionMode::Check);
}

void TCheckMarks::UncheckSelected(const std::vector<uint32_t>& selected) {
    ApplyToSelection(selected, TSelectionMode::Uncheck);
}

void TCheckMarks::ToggleSelectionChecks(const std::vector<uint32_t>& selected) {
    ApplyToSelection(selected, TSelectionMode::Toggle);
}

} // namespace quorvane
