#include "results/ResultItems.h"

namespace quorvane {
namespace {

// File rows carry 0 in the upper half; group rows their level plus one.
constexpr int kLevelShift = 32;

} // namespace

quintptr EncodeItem(const TResultItem& item) {
    const quint64 levelTag = item.Kind == TResultItem::ikGroup ? item.Level + 1u : 0u;
    return static_cast<quintptr>((levelTag << kLevelShift) | item.Index);
}

TResultItem DecodeItem(quintptr id) {
    const auto value = static_cast<quint64>(id);
    const auto levelTag = static_cast<uint32_t>(value >> kLevelShift);
    const auto index = static_cast<uint32_t>(value & 0xFFFFFFFFu);
    return levelTag == 0 ? TResultItem::File(index) : TResultItem::Group(levelTag - 1, index);
}

std::size_t TResultLines::Count() const {
    const TGroupTree& groups = FView.Groups();
    std::size_t count = FView.PassingCount();
    for (std::size_t level = 0; level < groups.LevelCount(); ++level)
        count += groups.Level(level).size();
    return count;
}

uint32_t TResultLines::FirstPosition(std::size_t level, uint32_t index) const {
    const TGroupTree& groups = FView.Groups();
    for (; level + 1 < groups.LevelCount(); ++level)
        index = groups.Level(level)[index].FirstChild;
    return groups.Level(level)[index].FirstChild;
}

uint32_t TResultLines::GroupAt(uint32_t position, std::size_t level) const {
    const TGroupTree& groups = FView.Groups();
    uint32_t index = groups.GroupOfRow(position);
    for (std::size_t inner = groups.LevelCount() - 1; inner > level; --inner)
        index = groups.Level(inner)[index].Parent;
    return index;
}

// Before a file row come the file rows before it and every group row that starts at or before
// it: at each level, the group holding it and the ones before that.
std::size_t TResultLines::LineOfFile(uint32_t position) const {
    const TGroupTree& groups = FView.Groups();
    std::size_t line = position;
    if (groups.LevelCount() == 0)
        return line;
    uint32_t index = groups.GroupOfRow(position);
    for (std::size_t level = groups.LevelCount(); level-- > 0;) {
        line += index + 1;
        if (level > 0)
            index = groups.Level(level)[index].Parent;
    }
    return line;
}

std::size_t TResultLines::LineOf(const TResultItem& item) const {
    if (item.Kind == TResultItem::ikFile)
        return LineOfFile(item.Index);
    // A group row's line comes just before its first file row's, after the group rows of the
    // deeper levels that start there as well.
    const std::size_t deeper = FView.Groups().LevelCount() - item.Level;
    return LineOfFile(FirstPosition(item.Level, item.Index)) - deeper;
}

uint32_t TResultLines::FirstFileFrom(std::size_t line) const {
    uint32_t low = 0;
    auto high = static_cast<uint32_t>(FView.PassingCount());
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        if (LineOfFile(middle) < line)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

TResultItem TResultLines::At(std::size_t line) const {
    // Every line has a file row at or after it: a group row is never last.
    const uint32_t low = FirstFileFrom(line);
    const std::size_t fileLine = LineOfFile(low);
    if (fileLine == line)
        return TResultItem::File(low);
    // One of the group rows that open just above that file row.
    const std::size_t level = FView.Groups().LevelCount() - (fileLine - line);
    return TResultItem::Group(level, GroupAt(low, level));
}

} // namespace quorvane
