#pragma once

namespace quorvane {

// The eight values of a result row, by position. The positions are also the column identifiers
// that stored result filters use, so they never change.
enum TResultColumn : int {
    rcChecked = 0,      // false, or null when the row may not be checked
    rcName = 1,         // file name without folder
    rcSize = 2,         // size in bytes
    rcDate = 3,         // last-write date and time
    rcPath = 4,         // folder, ending with "/"
    rcCheckSum = 5,     // checksum text, empty until compared
    rcFilePosition = 6, // hidden: index of the file in the main file list
    rcGroupNumber = 7,  // hidden: duplicate group number, from 1
};

inline constexpr int kResultColumnCount = 8;

} // namespace quorvane
