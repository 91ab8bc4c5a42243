#pragma once

#include <cstdint>
#include <vector>

#include "duplicates/GroupOrder.h"
#include "search/FilList.h"

namespace quorvane {

// What a sort of classified results needs to give them back when it is cancelled: the order of
// the list and the group order it was classified under, and the checksum state of every record
// a sort may write to (one without a computed checksum: a sort gives only those one).
//
// Costs a pointer and a byte per record; taking and restoring are straight copies.
class TSortRestorePoint {
public:
    // The list as classified now under `order`. `afterComparison`: the sort follows a content
    // comparison of the comparison list.
    TSortRestorePoint(const TFilesList& list, TGroupOrder order, bool afterComparison);

    // Puts the records back in the order they had and takes back the checksums the sort gave.
    // The list must hold the same records (a sort only reorders them).
    void Restore(TFilesList& list) const;

    TGroupOrder GroupOrder() const { return FGroupOrder; }
    bool AfterComparison() const { return FAfterComparison; }

private:
    enum class TChecksumState : uint8_t { Computed, None, Unmatched };

    std::vector<TFile*> FOrder;
    std::vector<TChecksumState> FChecksums; // by position in FOrder
    TGroupOrder FGroupOrder;
    bool FAfterComparison;
};

} // namespace quorvane
