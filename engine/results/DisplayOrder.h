#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "duplicates/Classify.h"
#include "results/BatchWork.h"
#include "results/ResultColumns.h"
#include "search/FilList.h"

namespace quorvane {

// The order in which the results show their rows.
//
// Input: the rows of a classification (record index = position in the row vector), the file list
// they point into, and the grouping columns from the outermost level in (empty for a flat list).
// Output: every record index in display order, and which grouping level two rows first differ at
// (where a new group row begins).
//
// Ordering: rows sort by each grouping column in turn, ascending, except Size, which sorts largest
// first; then by Size, largest first; rows that tie on all of these keep their record order, so
// the rows of one duplicate group stay together. Names and checksum texts compare without regard
// to case (CompareTextNoCaseForSort, a total order even over names that are not valid UTF-8;
// TChecksum::CompareNoCase); dates compare exactly.
//
// Algorithm: each text column is first turned into an integer rank, so that the sort compares
// integers only. Rows come from a list that the sort stage already put in (nearly) this order, so
// a rank is found with one text comparison per neighbouring pair; only when the record order is
// not sorted by the column (rows built some other way) are the texts sorted with the collator.
// The final sort runs in batches and calls the pump between them.
//
// Errors: throws std::invalid_argument for a grouping column other than Name, Size, Date and
// CheckSum. Threading: main thread (or any single thread); reads the records, changes nothing.
class TDisplayOrder {
public:
    void Build(const TFilesList& files, const std::vector<TResultRow>& rows,
               std::vector<TResultColumn> levels, const TPump& pump = {});

    // Record indexes in display order.
    const std::vector<uint32_t>& Records() const { return FRecords; }
    // The grouping columns, outermost first.
    const std::vector<TResultColumn>& Levels() const { return FLevels; }
    // The outermost grouping level at which the two rows differ, or Levels().size() when they
    // belong to the same innermost group row.
    std::size_t FirstDifferingLevel(uint32_t a, uint32_t b) const;
    // The row's file size, kept beside the other keys: a pass over many rows reads it from here
    // instead of from each file record.
    int64_t Size(uint32_t record) const { return FKeys[record].Size; }

private:
    // The sort keys of one row; text columns as ranks.
    struct TRowKey {
        int64_t Size = 0;
        double Date = 0;
        uint32_t NameRank = 0;
        uint32_t ChecksumRank = 0;
    };
    static int CompareAtLevel(const TRowKey& a, const TRowKey& b, TResultColumn column);
    int ComparePrefix(uint32_t a, uint32_t b, std::size_t levelCount) const;
    template <class TextCompare>
    void RankTextLevel(std::size_t level, uint32_t TRowKey::*rank, TextCompare compareText,
                       const TPump& pump);

    std::vector<TResultColumn> FLevels;
    std::vector<TRowKey> FKeys; // by record index
    std::vector<uint32_t> FRecords;
};

} // namespace quorvane
