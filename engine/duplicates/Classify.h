#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "duplicates/GroupOrder.h"
#include "duplicates/ProtectedFolders.h"
#include "search/FilList.h"

namespace quorvane {

// One row of the results: a file that has at least one partner. Its Name, Size, Date, Path and
// CheckSum values are those of the file at FilePosition in the main file list.
struct TResultRow {
    uint32_t FilePosition = 0; // index of the file in the main file list
    uint32_t Group = 0;        // group number: 1 for the first group met in list order
    bool Checkable = false;    // false: the row's Checked value is null (no box, clicks do nothing)
};

// The heading of the message that lists the grouped files whose contents could not be read.
inline constexpr std::string_view kUnreadableFilesText =
    "The following files could not be opened and weren't compared.\r"
    "They may be system files or open by other programs:";

// What classification found.
struct TClassification {
    std::vector<TResultRow> Rows;
    // Names (without folder) of grouped files whose contents could not be read.
    std::vector<std::string> UnreadableFiles;
    // Whether a grouped file carries a checksum text (the CheckSum column's visibility rule).
    bool ChecksumSeen = false;
    // The list held files, but no two formed a group.
    bool NoDuplicates = false;

    // The message to show after classifying, or empty: "No duplicate files found", or the list of
    // files that could not be opened.
    std::string Message() const;
};

// Cuts a list sorted under `order` into groups of neighbours that pass SameGroup, keeping only
// files with a partner. `pump` is called every 500 files so that a front end can stay responsive.
TClassification ClassifyFiles(const TFilesList& files, TGroupOrder order, bool blockDelete,
                              const TProtectedFolders& protectedFolders,
                              const std::function<void()>& pump = {});

} // namespace quorvane
