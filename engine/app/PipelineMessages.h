#pragma once

#include <string_view>

namespace quorvane {

// The texts the search pipeline shows.
inline constexpr std::string_view kNoFoldersText =
    "No folders to search.\r\nPlease, configure folders in the New Search option";
inline constexpr std::string_view kSearchWithoutComparingText =
    "You have chosen to search duplicate files without comparing them.\r\n"
    "All actions on them will be disabled until the files are compared,\r\n"
    "or by unchecking the \"Don't allow delete/move files without comparing\" box\r\n"
    "in the settings dialog.";
inline constexpr std::string_view kDontShowAgainText = "Don't show this message again";
inline constexpr std::string_view kProgramCaption = "Quorvane 2.0";
inline constexpr std::string_view kSortingText = "Sorting files";
inline constexpr std::string_view kClassifyingText = "Classifying files";
inline constexpr std::string_view kComparingText = "Comparing contents";
inline constexpr std::string_view kFinishingText = "Finishing...";
inline constexpr std::string_view kCompareCancelledText =
    "Compare was cancelled. Returning to previous results";

} // namespace quorvane
