#include "app/SortRestorePoint.h"

#include <stdexcept>

namespace quorvane {

TSortRestorePoint::TSortRestorePoint(const TFilesList& list, TGroupOrder order,
                                     bool afterComparison)
    : FOrder(list.Items()), FGroupOrder(order), FAfterComparison(afterComparison) {
    FChecksums.reserve(FOrder.size());
    for (const TFile* file : FOrder) {
        const TChecksum& checksum = file->Checksum;
        FChecksums.push_back(checksum.Known()         ? TChecksumState::Computed
                             : checksum.IsUnmatched() ? TChecksumState::Unmatched
                                                      : TChecksumState::None);
    }
}

void TSortRestorePoint::Restore(TFilesList& list) const {
    if (list.Count() != FOrder.size())
        throw std::logic_error("The file list changed under a sort");
    list.Items() = FOrder;
    for (std::size_t i = 0; i < FOrder.size(); ++i) {
        switch (FChecksums[i]) {
        case TChecksumState::Computed:
            break;
        case TChecksumState::None:
            FOrder[i]->Checksum = TChecksum();
            break;
        case TChecksumState::Unmatched:
            FOrder[i]->Checksum = TChecksum::Unmatched();
            break;
        }
    }
}

} // namespace quorvane
