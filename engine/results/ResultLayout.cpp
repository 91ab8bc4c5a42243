#include "results/ResultLayout.h"

#include <algorithm>

namespace quorvane {
namespace {

// Grouping levels of Name, Size, Date and CheckSum per group order; -1 does not group.
struct TOrderLevels {
    int Name, Size, Date, CheckSum;
};

TOrderLevels LevelsOf(TGroupOrder order) {
    switch (order) {
    case goName:
        return {0, -1, -1, 1};
    case goSize:
        return {-1, 0, -1, 1};
    case goSizeName:
        return {1, 0, -1, 2};
    case goNameSizeDate:
        return {0, 1, 2, 3};
    case goNameSize:
    default:
        return {0, 1, -1, 2};
    }
}

} // namespace

std::vector<TResultColumn> TResultLayout::GroupingColumns() const {
    std::vector<TResultColumn> grouping;
    for (int column = 0; column < kResultColumnCount; ++column)
        if (Columns[column].GroupLevel >= 0)
            grouping.push_back(static_cast<TResultColumn>(column));
    std::sort(grouping.begin(), grouping.end(), [this](TResultColumn a, TResultColumn b) {
        return Columns[a].GroupLevel < Columns[b].GroupLevel;
    });
    return grouping;
}

TResultLayout GroupOrderLayout(TGroupOrder order, bool separateGroups) {
    TResultLayout layout;
    layout.SeparateGroups = separateGroups;
    layout[rcChecked].Visible = true;
    layout[rcPath].Visible = true;
    layout[rcCheckSum].Visible = true;
    const auto place = [&](TResultColumn column, int level) {
        const bool groups = separateGroups && level >= 0;
        layout[column].GroupLevel = groups ? level : -1;
        // A grouping column shows in its group rows instead; CheckSum stays visible until the
        // rows are written.
        if (column != rcCheckSum)
            layout[column].Visible = !groups;
    };
    const TOrderLevels levels = LevelsOf(order);
    place(rcName, levels.Name);
    place(rcSize, levels.Size);
    place(rcDate, levels.Date);
    place(rcCheckSum, levels.CheckSum);
    return layout;
}

TResultLayout ClassifiedLayout(TGroupOrder order, bool separateGroups, bool fileListEmpty,
                               bool checksumSeen) {
    TResultLayout layout = GroupOrderLayout(order, separateGroups);
    if (fileListEmpty) {
        layout[rcCheckSum].Visible = false;
    } else if (!checksumSeen) {
        layout[rcCheckSum].Visible = false;
        layout[rcCheckSum].GroupLevel = -1;
    } else if (separateGroups) {
        layout[rcCheckSum].Visible = false;
    }
    return layout;
}

} // namespace quorvane
