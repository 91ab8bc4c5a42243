#pragma once

#include <cstddef>
#include <cstdint>

#include <QtGlobal>

#include "results/ResultView.h"

namespace quorvane {

// One row of the results grid: a group row or a file row.
struct TResultItem {
    enum TKind : uint8_t { ikGroup, ikFile };
    TKind Kind = ikFile;
    uint8_t Level = 0;  // group rows: grouping level, 0 the outermost
    uint32_t Index = 0; // group rows: index within the level; file rows: position among the
                        // rows that pass the filter, in display order

    static TResultItem Group(std::size_t level, uint32_t index) {
        return {ikGroup, static_cast<uint8_t>(level), index};
    }
    static TResultItem File(uint32_t position) { return {ikFile, 0, position}; }

    friend bool operator==(const TResultItem&, const TResultItem&) = default;
};

// An item packed into a model index's internal id and back.
quintptr EncodeItem(const TResultItem& item);
TResultItem DecodeItem(quintptr id);

// The results as one run of lines, each group row followed by what it holds, all group rows
// expanded: the shape the grid shows. Works on the result view's group tree without copying it,
// so every question costs a few binary searches whatever the number of rows.
class TResultLines {
public:
    explicit TResultLines(const TResultView& view) : FView(view) {}

    std::size_t Count() const;
    TResultItem At(std::size_t line) const;
    std::size_t LineOf(const TResultItem& item) const;
    // The positions of the file rows from this line on: the first is the first file row at or
    // after the line (PassingCount() when there is none).
    uint32_t FirstFileFrom(std::size_t line) const;

    // The position of the first file row under a group row.
    uint32_t FirstPosition(std::size_t level, uint32_t index) const;
    // The group row of a level that holds the file row at this position (there must be levels).
    uint32_t GroupAt(uint32_t position, std::size_t level) const;

private:
    std::size_t LineOfFile(uint32_t position) const;

    const TResultView& FView;
};

} // namespace quorvane
