#include "results/DisplayOrder.h"

#include <numeric>
#include <stdexcept>
#include <string>

#include "platform/TextCompare.h"

namespace quorvane {
namespace {

template <class T> int Sign(T a, T b) {
    return (a > b) - (a < b);
}

} // namespace

int TDisplayOrder::CompareAtLevel(const TRowKey& a, const TRowKey& b, TResultColumn column) {
    switch (column) {
    case rcName:
        return Sign(a.NameRank, b.NameRank);
    case rcSize:
        return Sign(b.Size, a.Size); // largest first
    case rcDate:
        return Sign(a.Date, b.Date);
    case rcCheckSum:
        return Sign(a.ChecksumRank, b.ChecksumRank);
    default:
        return 0;
    }
}

int TDisplayOrder::ComparePrefix(uint32_t a, uint32_t b, std::size_t levelCount) const {
    for (std::size_t level = 0; level < levelCount; ++level)
        if (int c = CompareAtLevel(FKeys[a], FKeys[b], FLevels[level]))
            return c;
    return 0;
}

// Gives every row a rank in the text column at `level` such that, among rows that tie on every
// level before it, a lower rank means the text sorts first and equal ranks mean equal texts.
template <class TextCompare>
void TDisplayOrder::RankTextLevel(std::size_t level, uint32_t TRowKey::*rank,
                                  TextCompare compareText, const TPump& pump) {
    const std::size_t count = FKeys.size();
    if (count == 0)
        return;
    // Walks rows in the given sequence, raising the rank wherever the prefix or the text changes.
    // With `requireSorted`, stops with false at the first pair that is out of order.
    const auto rankAlong = [&](auto recordAt, bool requireSorted) {
        TPumpCounter counter(pump);
        uint32_t current = 0;
        FKeys[recordAt(0)].*rank = 0;
        for (std::size_t i = 1; i < count; ++i) {
            const uint32_t previous = recordAt(i - 1), record = recordAt(i);
            int c = ComparePrefix(previous, record, level);
            if (c == 0)
                c = compareText(previous, record);
            if (c > 0 && requireSorted)
                return false;
            if (c != 0)
                ++current;
            FKeys[record].*rank = current;
            counter.Tick();
        }
        return true;
    };
    if (rankAlong([](std::size_t i) { return static_cast<uint32_t>(i); }, true))
        return;
    std::vector<uint32_t> sorted(count);
    std::iota(sorted.begin(), sorted.end(), 0u);
    SortInBatches(
        sorted,
        [&](uint32_t a, uint32_t b) {
            const int c = ComparePrefix(a, b, level);
            return c != 0 ? c < 0 : compareText(a, b) < 0;
        },
        pump);
    rankAlong([&sorted](std::size_t i) { return sorted[i]; }, false);
}

void TDisplayOrder::Build(const TFilesList& files, const std::vector<TResultRow>& rows,
                          std::vector<TResultColumn> levels, const TPump& pump) {
    for (TResultColumn column : levels)
        if (column != rcName && column != rcSize && column != rcDate && column != rcCheckSum)
            throw std::invalid_argument("Results cannot be grouped by column " +
                                        std::to_string(static_cast<int>(column)));
    FLevels = std::move(levels);
    FRecords.clear();
    FKeys.assign(rows.size(), TRowKey{});
    const auto fileOf = [&](uint32_t record) -> const TFile& {
        return *files[rows[record].FilePosition];
    };
    TPumpCounter counter(pump);
    for (uint32_t record = 0; record < rows.size(); ++record) {
        FKeys[record].Size = fileOf(record).Size;
        FKeys[record].Date = fileOf(record).Date;
        counter.Tick();
    }

    for (std::size_t level = 0; level < FLevels.size(); ++level) {
        if (FLevels[level] == rcName) {
            RankTextLevel(
                level, &TRowKey::NameRank,
                [&](uint32_t a, uint32_t b) {
                    const std::string& nameA = fileOf(a).Name;
                    const std::string& nameB = fileOf(b).Name;
                    return nameA == nameB ? 0 : CompareTextNoCaseForSort(nameA, nameB);
                },
                pump);
        } else if (FLevels[level] == rcCheckSum) {
            RankTextLevel(
                level, &TRowKey::ChecksumRank,
                [&](uint32_t a, uint32_t b) {
                    return fileOf(a).Checksum.CompareNoCase(fileOf(b).Checksum);
                },
                pump);
        }
    }

    struct TSortItem {
        TRowKey Key;
        uint32_t Record;
    };
    std::vector<TSortItem> items(rows.size());
    for (uint32_t record = 0; record < rows.size(); ++record)
        items[record] = {FKeys[record], record};
    SortInBatches(
        items,
        [this](const TSortItem& a, const TSortItem& b) {
            for (TResultColumn column : FLevels)
                if (int c = CompareAtLevel(a.Key, b.Key, column))
                    return c < 0;
            if (a.Key.Size != b.Key.Size)
                return a.Key.Size > b.Key.Size;
            return a.Record < b.Record;
        },
        pump);
    FRecords.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        FRecords[i] = items[i].Record;
}

std::size_t TDisplayOrder::FirstDifferingLevel(uint32_t a, uint32_t b) const {
    for (std::size_t level = 0; level < FLevels.size(); ++level)
        if (CompareAtLevel(FKeys[a], FKeys[b], FLevels[level]) != 0)
            return level;
    return FLevels.size();
}

} // namespace quorvane
