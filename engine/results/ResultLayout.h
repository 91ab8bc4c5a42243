#pragma once

#include <array>
#include <vector>

#include "duplicates/GroupOrder.h"
#include "results/ResultColumns.h"

namespace quorvane {

// How one column of the results shows: whether it is a visible column, and whether (and at which
// nesting level, 0 the outermost) it forms group rows.
struct TColumnLayout {
    bool Visible = false;
    int GroupLevel = -1; // -1: the column does not group
};

// The columns of the results for a group order and the "Separate groups" setting.
class TResultLayout {
public:
    bool SeparateGroups = true;
    std::array<TColumnLayout, kResultColumnCount> Columns{};

    const TColumnLayout& operator[](TResultColumn column) const { return Columns[column]; }
    TColumnLayout& operator[](TResultColumn column) { return Columns[column]; }

    // The grouping columns from the outermost level in.
    std::vector<TResultColumn> GroupingColumns() const;
};

// The layout set before the rows are written: grouping levels and visible columns of the group
// order, CheckSum visible; with groups not separated, a flat list showing Name, Size, Date and
// CheckSum. A group order outside 0..4 lays out like Name/Size.
TResultLayout GroupOrderLayout(TGroupOrder order, bool separateGroups);

// The layout once classification has run. CheckSum is hidden when the file list was empty; when
// no grouped file has a checksum text it is also ungrouped; with groups separated it is hidden
// but keeps grouping, so checksums show in the group rows; otherwise it stays visible.
TResultLayout ClassifiedLayout(TGroupOrder order, bool separateGroups, bool fileListEmpty,
                               bool checksumSeen);

} // namespace quorvane
