#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "search/FilList.h"

namespace quorvane {

// A key a group order sorts by, before the checksum.
enum class TSortKey : uint8_t { Name, SizeDescending, SizeAscending, Date };

// The keys of a sort, most significant first. The first GroupKeyCount of them are the keys two
// files must share to be compared by content; the rest only order files further.
struct TSortKeys {
    std::span<const TSortKey> Keys;
    std::size_t GroupKeyCount = 0;
};

// TieMarks[i]: the record at position i ties with the one at i + 1 on every group key.
using TTieMarks = std::vector<bool>;

// Sorts the records in place by the keys and marks the runs of neighbours that tie on the group
// keys. Names order as CompareTextNoCaseForSort does, sizes and dates as numbers.
//
// Input: the records, in any order. Output: the records reordered, and the tie marks.
// Errors: a failure (out of memory, the collator) propagates with every record still in the
// list, in a partial order. Threading: runs on the caller's thread; `stop` is read between runs
// and every few thousand entries within a large one and, once set, ends the sort within
// milliseconds, with the records in a partial order and the marks incomplete.
// Algorithm: every record gets a 12-byte entry holding its position and an 8-byte "digit" of
// its current key (a size, a date, or 8 bytes of the name's collation key). Entries sort by
// digit; each run of equal digits is refined with its next digit (the next 8 bytes of the
// collation key, or the next key) until the keys are exhausted, and short runs are finished
// with comparisons. Names are thus compared as integers instead of by the collator, and a
// record is not looked at again once its keys are unique. Large sorted ranges move their
// records into place at once, so that the runs refined next find their records side by side.
TTieMarks SortByKeys(std::vector<TFile*>& records, const TSortKeys& keys,
                     const std::atomic<bool>& stop);

} // namespace quorvane
