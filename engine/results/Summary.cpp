#include "results/Summary.h"

#include <algorithm>

#include "platform/NumberFormat.h"

namespace quorvane {

TSummary SummarizePassingRows(const TResultView& view, std::vector<bool>& stripeFlags,
                              const TPump& pump) {
    TSummary summary;
    stripeFlags.resize(view.RowCount(), false);
    TPumpCounter counter(pump);
    uint32_t currentGroup = 0;
    bool stripe = false;
    for (uint32_t record : view.PassingRecords()) {
        const uint32_t group = view.Row(record).Group;
        if (summary.Files == 0) {
            summary.Groups = 1;
        } else if (group != currentGroup) {
            ++summary.Groups;
            stripe = !stripe;
        }
        currentGroup = group;
        stripeFlags[record] = stripe;
        ++summary.Files;
        summary.Bytes += view.Size(record);
        counter.Tick();
    }
    return summary;
}

int64_t LargestSize(const TResultView& view) {
    int64_t largest = 0;
    for (uint32_t record = 0; record < view.RowCount(); ++record)
        largest = std::max(largest, view.Size(record));
    return largest;
}

std::string SummaryText(const TSummary& summary) {
    return std::to_string(summary.Files) + " files (" + FormatGroupedInteger(summary.Bytes) +
           " bytes) in " + std::to_string(summary.Groups) + " groups";
}

} // namespace quorvane
