#pragma once

#include <Qt>

namespace quorvane {

// What the results model tells its views beyond Qt's own roles.
enum TResultRole : int {
    RecordRole = Qt::UserRole + 1, // file rows: the record index
    CheckRole,                     // file rows: -1 no box (cannot be checked), 0 empty, 1 ticked
    StripeRole,                    // file rows: the group stripe flag
    GroupColumnRole,               // group rows: the column (TResultColumn) it stands for
    GroupLevelRole,                // group rows: its grouping level, 0 the outermost
};

// The columns the grid has: Checked to CheckSum. The file position and the group number are
// values of a row that never show.
inline constexpr int kGridColumnCount = 6;

} // namespace quorvane
