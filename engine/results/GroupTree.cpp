#include "results/GroupTree.h"

#include <algorithm>

namespace quorvane {

void TGroupTree::Build(const TDisplayOrder& order, const std::vector<uint32_t>& passing,
                       const TPump& pump) {
    FColumns = order.Levels();
    const std::size_t levelCount = FColumns.size();
    FLevels.assign(levelCount, {});
    if (levelCount == 0)
        return;
    TPumpCounter counter(pump);
    for (std::size_t position = 0; position < passing.size(); ++position) {
        const uint32_t record = passing[position];
        const std::size_t firstNew =
            position == 0 ? 0 : order.FirstDifferingLevel(passing[position - 1], record);
        for (std::size_t level = firstNew; level < levelCount; ++level) {
            TGroupRow group;
            group.Record = record;
            group.FirstChild = static_cast<uint32_t>(
                level + 1 < levelCount ? FLevels[level + 1].size() : position);
            if (level > 0) {
                group.Parent = static_cast<uint32_t>(FLevels[level - 1].size() - 1);
                ++FLevels[level - 1].back().ChildCount;
            }
            FLevels[level].push_back(group);
        }
        ++FLevels.back().back().ChildCount;
        counter.Tick();
    }
}

uint32_t TGroupTree::GroupOfRow(std::size_t position) const {
    const std::vector<TGroupRow>& innermost = FLevels.back();
    const auto after = std::upper_bound(
        innermost.begin(), innermost.end(), position,
        [](std::size_t value, const TGroupRow& group) { return value < group.FirstChild; });
    return static_cast<uint32_t>(after - innermost.begin() - 1);
}

} // namespace quorvane
