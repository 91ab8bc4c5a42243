#include "duplicates/KeySort.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <stdexcept>

#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

// A record's position and the digit it sorts by at its current level: 12 bytes, the sort's
// working memory per record besides three bits.
struct TEntry {
    uint32_t DigitHigh = 0;
    uint32_t DigitLow = 0;
    uint32_t Position = 0;

    uint64_t Digit() const { return (uint64_t{DigitHigh} << 32) | DigitLow; }
    void SetDigit(uint64_t digit) {
        DigitHigh = static_cast<uint32_t>(digit >> 32);
        DigitLow = static_cast<uint32_t>(digit);
    }
};
static_assert(sizeof(TEntry) == 12);

bool DigitLess(const TEntry& a, const TEntry& b) {
    return a.Digit() < b.Digit();
}

// Signed sizes as unsigned values in the same order.
uint64_t OrderedSize(int64_t size) {
    return static_cast<uint64_t>(size) ^ (uint64_t{1} << 63);
}

// Dates as unsigned values in the order of the numbers they hold.
uint64_t OrderedDate(TDateTime date) {
    if (date == 0)
        date = 0; // -0 is the same date as +0
    const auto bits = std::bit_cast<uint64_t>(date);
    return (bits >> 63) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

// Runs of up to this many entries are finished with the collator's comparisons: cheaper than
// computing further key parts for every entry, level after level.
constexpr std::size_t SmallRun = 16;
// From this many entries on, a sorted range moves its records into its order at once, so that
// the runs refined next find their records side by side instead of all over the list.
constexpr std::size_t LargeRun = 1024;
// How many entries ahead of its use a record and its name are fetched into the cache.
constexpr std::size_t PrefetchDistance = 4;
// A stop must end the sort within a few milliseconds: large ranges get their digits and their
// order in pieces of this many entries, with a look at the stop flag between them (a million
// collation keys, or one std::sort of a million entries, take the better part of a second).
constexpr std::size_t StoppablePiece = std::size_t{1} << 15;

class TKeySorter {
public:
    TKeySorter(std::vector<TFile*>& records, const TSortKeys& keys, const std::atomic<bool>& stop)
        : FRecords(records), FKeys(keys), FStop(stop) {}

    TTieMarks Run() {
        const std::size_t count = FRecords.size();
        if (count > std::numeric_limits<uint32_t>::max())
            throw std::length_error("Too many files to sort");
        FMarks.assign(count, false);
        FSameAsNext.assign(count, false);
        FNameGoesOn.assign(count, false);
        FEntries.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            FEntries[i].Position = static_cast<uint32_t>(i);
        if (!FKeys.Keys.empty())
            Refine(0, count, 0, 0);
        // A stopped sort's order is thrown away: the records stay as the last range left them.
        if (!Stopped())
            ApplyOrder(0, count);
        return std::move(FMarks);
    }

private:
    // Invariant: the positions held by the entries of a range being refined are those of a
    // range of at most LargeRun records around it, or exactly its own.

    const TFile& RecordOf(const TEntry& entry) const { return *FRecords[entry.Position]; }
    auto EntryAt(std::size_t index) {
        return FEntries.begin() + static_cast<std::ptrdiff_t>(index);
    }

    uint64_t DigitOf(const TFile& file, TSortKey key, std::size_t nameOffset) const {
        switch (key) {
        case TSortKey::Name:
            return CollationKeyPart(file.Name, nameOffset);
        case TSortKey::SizeDescending:
            return ~OrderedSize(file.Size);
        case TSortKey::SizeAscending:
            return OrderedSize(file.Size);
        case TSortKey::Date:
            return OrderedDate(file.Date);
        }
        return 0;
    }

    // The records lie scattered over the heap, and so do the longer names: the record and the
    // name of an entry a few steps ahead are fetched into the cache meanwhile, so that their
    // loads overlap instead of queuing. These helpers change no state, so GCC takes them for
    // pure functions and drops their calls unless they are inlined first.
    [[gnu::always_inline]] void PrefetchRecord(std::size_t i) const {
        __builtin_prefetch(FRecords[FEntries[i].Position]);
    }
    [[gnu::always_inline]] void PrefetchName(std::size_t i) const {
        __builtin_prefetch(RecordOf(FEntries[i]).Name.data());
    }
    [[gnu::always_inline]] void PrefetchAhead(std::size_t i, std::size_t end, bool name) const {
        if (i + 2 * PrefetchDistance < end)
            PrefetchRecord(i + 2 * PrefetchDistance);
        if (name && i + PrefetchDistance < end)
            PrefetchName(i + PrefetchDistance);
    }

    bool Stopped() const { return FStop.load(std::memory_order_relaxed); }

    // Returns false when stopped first, with some digits not computed.
    bool ComputeDigits(std::size_t begin, std::size_t end, TSortKey key, std::size_t nameOffset) {
        const bool name = key == TSortKey::Name;
        for (std::size_t i = begin; i < std::min(end, begin + 2 * PrefetchDistance); ++i)
            PrefetchRecord(i);
        for (std::size_t i = begin; i < end; ++i) {
            if ((i - begin) % StoppablePiece == StoppablePiece - 1 && Stopped())
                return false;
            PrefetchAhead(i, end, name);
            FEntries[i].SetDigit(DigitOf(RecordOf(FEntries[i]), key, nameOffset));
        }
        return true;
    }

    // Sorts [begin, end) by digit: pieces one by one, then merged pairwise. Returns false when
    // stopped first; the range then holds the same entries in a partial order.
    bool SortByDigit(std::size_t begin, std::size_t end) {
        for (std::size_t piece = begin; piece < end; piece += StoppablePiece) {
            if (Stopped())
                return false;
            std::sort(EntryAt(piece), EntryAt(std::min(piece + StoppablePiece, end)), DigitLess);
        }
        for (std::size_t width = StoppablePiece; width < end - begin; width *= 2)
            for (std::size_t left = begin; left + width < end; left += 2 * width) {
                if (Stopped())
                    return false;
                std::inplace_merge(EntryAt(left), EntryAt(left + width),
                                   EntryAt(std::min(left + 2 * width, end)), DigitLess);
            }
        return true;
    }

    // Orders [begin, end), whose entries tie on the keys before keyIndex (and on the first
    // nameOffset bytes of the name's collation key), by the next digit, and refines each run of
    // equal digits in turn.
    void Refine(std::size_t begin, std::size_t end, std::size_t keyIndex, std::size_t nameOffset) {
        if (Stopped())
            return;
        if (end - begin <= SmallRun) {
            FinishByComparison(begin, end, keyIndex);
            return;
        }
        const TSortKey key = FKeys.Keys[keyIndex];
        if (key == TSortKey::Name && nameOffset > 0 && NamesIdentical(begin, end)) {
            // Thousands of "index.html" need no key parts to tell that they collate equal.
            NamesCollateEqual(begin, end, keyIndex);
            return;
        }
        if (!ComputeDigits(begin, end, key, nameOffset) || !SortByDigit(begin, end))
            return;
        // What the runs need of the digits is kept aside: moving the records spends them.
        for (std::size_t i = begin; i < end; ++i) {
            const uint64_t digit = FEntries[i].Digit();
            FSameAsNext[i] = i + 1 < end && FEntries[i + 1].Digit() == digit;
            FNameGoesOn[i] = (digit & 0xFF) != 0; // the collation key does not end here
        }
        if (end - begin >= LargeRun)
            ApplyOrder(begin, end);
        for (std::size_t runBegin = begin; runBegin < end;) {
            std::size_t runEnd = runBegin + 1;
            while (FSameAsNext[runEnd - 1])
                ++runEnd;
            if (runEnd - runBegin >= 2) {
                if (key != TSortKey::Name)
                    KeyTied(runBegin, runEnd, keyIndex);
                else if (FNameGoesOn[runBegin])
                    Refine(runBegin, runEnd, keyIndex, nameOffset + 8);
                else
                    NamesCollateEqual(runBegin, runEnd, keyIndex);
            }
            runBegin = runEnd;
        }
    }

    bool NamesIdentical(std::size_t begin, std::size_t end) const {
        const std::string& first = RecordOf(FEntries[begin]).Name;
        for (std::size_t i = begin + 1; i < end; ++i)
            if (RecordOf(FEntries[i]).Name != first)
                return false;
        return true;
    }

    // The keys from `from` up to (not including) `to`, compared the slow way.
    int CompareKeys(const TEntry& a, const TEntry& b, std::size_t from, std::size_t to) const {
        const TFile& first = RecordOf(a);
        const TFile& second = RecordOf(b);
        for (std::size_t k = from; k < to; ++k) {
            const TSortKey key = FKeys.Keys[k];
            int result;
            if (key == TSortKey::Name) {
                result = first.Name == second.Name
                             ? 0
                             : CompareTextNoCaseForSort(first.Name, second.Name);
            } else {
                const uint64_t x = DigitOf(first, key, 0), y = DigitOf(second, key, 0);
                result = (x > y) - (x < y);
            }
            if (result != 0)
                return result;
        }
        return 0;
    }

    // Sorts [begin, end), whose entries tie on the keys before keyIndex, by all further keys
    // at once, and marks its runs that tie on the group keys.
    void FinishByComparison(std::size_t begin, std::size_t end, std::size_t keyIndex) {
        const std::size_t keyCount = FKeys.Keys.size();
        std::sort(EntryAt(begin), EntryAt(end), [&](const TEntry& a, const TEntry& b) {
            return CompareKeys(a, b, keyIndex, keyCount) < 0;
        });
        if (keyIndex >= FKeys.GroupKeyCount)
            return; // marked before
        for (std::size_t i = begin; i + 1 < end; ++i)
            if (CompareKeys(FEntries[i], FEntries[i + 1], keyIndex, FKeys.GroupKeyCount) == 0)
                FMarks[i] = true;
    }

    // The names of [begin, end) collate equal. Names that are not valid UTF-8 are told apart by
    // their bytes, after the valid ones.
    void NamesCollateEqual(std::size_t begin, std::size_t end, std::size_t keyIndex) {
        if (std::all_of(EntryAt(begin), EntryAt(end),
                        [&](const TEntry& e) { return IsValidUtf8(RecordOf(e).Name); })) {
            KeyTied(begin, end, keyIndex);
            return;
        }
        const auto compare = [&](const TEntry& a, const TEntry& b) {
            return CompareTextNoCaseForSort(RecordOf(a).Name, RecordOf(b).Name);
        };
        std::sort(EntryAt(begin), EntryAt(end),
                  [&](const TEntry& a, const TEntry& b) { return compare(a, b) < 0; });
        for (std::size_t runBegin = begin; runBegin < end;) {
            std::size_t runEnd = runBegin + 1;
            while (runEnd < end && compare(FEntries[runBegin], FEntries[runEnd]) == 0)
                ++runEnd;
            if (runEnd - runBegin >= 2)
                KeyTied(runBegin, runEnd, keyIndex);
            runBegin = runEnd;
        }
    }

    // [begin, end) ties on every key up to keyIndex.
    void KeyTied(std::size_t begin, std::size_t end, std::size_t keyIndex) {
        const std::size_t next = keyIndex + 1;
        if (next == FKeys.GroupKeyCount)
            for (std::size_t i = begin; i + 1 < end; ++i)
                FMarks[i] = true;
        if (next < FKeys.Keys.size())
            Refine(begin, end, next, 0);
    }

    // Moves the records of [begin, end), whose entries hold exactly those positions, into the
    // entries' order. Each entry's digit field holds its record for a moment: two passes, no
    // further memory. Afterwards every entry holds its own position.
    void ApplyOrder(std::size_t begin, std::size_t end) noexcept {
        for (std::size_t i = begin; i < end; ++i)
            FEntries[i].SetDigit(reinterpret_cast<uintptr_t>(FRecords[FEntries[i].Position]));
        for (std::size_t i = begin; i < end; ++i) {
            FRecords[i] = reinterpret_cast<TFile*>(static_cast<uintptr_t>(FEntries[i].Digit()));
            FEntries[i].Position = static_cast<uint32_t>(i);
        }
    }

    std::vector<TFile*>& FRecords;
    const TSortKeys& FKeys;
    const std::atomic<bool>& FStop;
    std::vector<TEntry> FEntries;
    TTieMarks FMarks;
    // Per entry of a range just sorted: its digit equals the next entry's; its digit does not
    // hold the end of the name's collation key.
    std::vector<bool> FSameAsNext;
    std::vector<bool> FNameGoesOn;
};

} // namespace

TTieMarks SortByKeys(std::vector<TFile*>& records, const TSortKeys& keys,
                     const std::atomic<bool>& stop) {
    return TKeySorter(records, keys, stop).Run();
}

} // namespace quorvane
