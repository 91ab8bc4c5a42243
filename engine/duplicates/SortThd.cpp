// The sort stage.
//
// Input: the main file list in any order, a group order and a compare mode. Output: the list in
// the order of the group order's comparator, and checksums for the files whose keys tie with
// another file's (only those: a file that is unique by its keys is never read), except that a
// tied file whose start differs from every other tied file's gets the unmatched mark instead.
// Errors: a file that cannot be read gets the unreadable checksum and sorts like any other; any
// other failure ends the sort and is kept for the end handler, with every record still in the
// list. Threading: the whole stage runs on the sort thread, which alone touches the list and
// its records meanwhile; checksums are read on a few helper threads. Cancel stops the reading
// before the next file and makes every further comparison return 0.
// Algorithm: instead of comparing with the collator at every step, the list is first sorted by
// its keys (KeySort: integer digits of collation keys, sizes and dates), which also marks the
// runs of files tied on the keys; the tied files that lack a checksum get one, or the unmatched
// mark (TiedContents); each tied run whose checksums differ is then sorted with the comparator,
// which now only looks at checksums (and, under goSize, names).

#include "duplicates/SortThd.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "duplicates/Checksums.h"
#include "duplicates/KeySort.h"
#include "duplicates/TiedContents.h"
#include "platform/TextCompare.h"

namespace quorvane {
namespace {

// How the sort orders files for a comparator: its keys before the checksum, of which the first
// GroupKeyCount are those that must tie for the checksums to be compared.
struct TOrderPlan {
    TFileCompare Compare;
    std::array<TSortKey, 3> Keys;
    std::size_t KeyCount;
    std::size_t GroupKeyCount;
};

// Under goSize, names order files of equal size and checksum; ordering them by name before the
// checksums are compared gives the same final order, so the name is a trailing key there.
const std::array<TOrderPlan, 5> OrderPlans = {{
    {&TSortThread::CompareByNameSize, {TSortKey::Name, TSortKey::SizeDescending}, 2, 2},
    {&TSortThread::CompareByName, {TSortKey::Name}, 1, 1},
    {&TSortThread::CompareBySize, {TSortKey::SizeDescending, TSortKey::Name}, 2, 1},
    {&TSortThread::CompareBySizeName, {TSortKey::SizeDescending, TSortKey::Name}, 2, 2},
    {&TSortThread::CompareByNameSizeDate,
     {TSortKey::Name, TSortKey::SizeAscending, TSortKey::Date},
     3,
     3},
}};

const TOrderPlan& PlanOf(TFileCompare compare) {
    for (const TOrderPlan& plan : OrderPlans)
        if (plan.Compare == compare)
            return plan;
    throw std::invalid_argument("SortFiles needs one of the group orders' comparators");
}

int CompareNames(const TFile& first, const TFile& second) {
    if (first.Name == second.Name)
        return 0;
    return CompareTextNoCaseForSort(first.Name, second.Name);
}

int CompareSizesAscending(const TFile& first, const TFile& second) {
    return (first.Size > second.Size) - (first.Size < second.Size);
}

int CompareSizesDescending(const TFile& first, const TFile& second) {
    return -CompareSizesAscending(first, second);
}

int CompareDates(const TFile& first, const TFile& second) {
    return (first.Date > second.Date) - (first.Date < second.Date);
}

bool SameName(const TFile& first, const TFile& second) {
    return first.Name == second.Name || SameTextNoCase(first.Name, second.Name);
}

// A run of records tied on the group keys: [Begin, End).
struct TRun {
    std::size_t Begin, End;
};

// Calls `visit` with every run of records marked as tied.
template <typename TVisit> void ForEachTiedRun(const TTieMarks& ties, TVisit visit) {
    for (std::size_t begin = 0; begin < ties.size();) {
        std::size_t end = begin;
        while (end < ties.size() && ties[end])
            ++end;
        if (end > begin)
            visit(TRun{begin, end + 1});
        begin = end + 1;
    }
}

void GiveTiedRunsContents(std::vector<TFile*>& records, const TTieMarks& ties,
                          TSortThread& context) {
    std::vector<TTiedRun> runs;
    ForEachTiedRun(ties, [&](TRun run) {
        runs.push_back(std::span(records).subspan(run.Begin, run.End - run.Begin));
    });
    const std::atomic<bool>& stop = context.StopFlag();
    GiveTiedFilesChecksums(runs, context.ChecksumMode(),
                           [&stop] { return stop.load(std::memory_order_relaxed); });
}

void OrderTiedRunsByChecksum(std::vector<TFile*>& records, const TTieMarks& ties,
                             TFileCompare compare, TSortThread& context) {
    ForEachTiedRun(ties, [&](TRun run) {
        const auto first = records.begin() + static_cast<std::ptrdiff_t>(run.Begin);
        const auto last = records.begin() + static_cast<std::ptrdiff_t>(run.End);
        const TChecksum& checksum = (*first)->Checksum;
        if (context.StopFlag().load(std::memory_order_relaxed) ||
            std::all_of(first, last, [&](const TFile* file) { return file->Checksum == checksum; }))
            return; // already in the comparator's order
        std::sort(first, last, [&](TFile* a, TFile* b) { return (context.*compare)(*a, *b) < 0; });
    });
}

} // namespace

void SortFiles(TFilesList& list, TFileCompare compare, TSortThread& context) {
    const TOrderPlan& plan = PlanOf(compare);
    std::vector<TFile*>& records = list.Items();
    if (records.size() < 2)
        return;
    const TSortKeys keys{std::span(plan.Keys.data(), plan.KeyCount), plan.GroupKeyCount};
    const TTieMarks ties = SortByKeys(records, keys, context.StopFlag());
    if (context.ChecksumMode() != cmNone)
        GiveTiedRunsContents(records, ties, context);
    OrderTiedRunsByChecksum(records, ties, compare, context);
}

bool SameGroup(const TFilesList& list, std::size_t i, std::size_t j, TGroupOrder order) {
    const TFile& first = *list[i];
    const TFile& second = *list[j];
    if (first.Checksum.IsUnmatched() || !(first.Checksum == second.Checksum))
        return false;
    switch (order) {
    case goNameSize:
    case goSizeName:
        return first.Size == second.Size && SameName(first, second);
    case goName:
        return SameName(first, second);
    case goSize:
        return first.Size == second.Size;
    case goNameSizeDate:
        return first.Size == second.Size && first.Date == second.Date && SameName(first, second);
    }
    return false;
}

TSortThread::TSortThread(IMainThreadQueue& mainThread, TGroupOrder groupOrder)
    : TThread(mainThread), FGroupOrder(groupOrder) {
    SetFreeOnTerminate(true);
}

void TSortThread::Cancel() {
    FStop.store(true, std::memory_order_relaxed);
    Terminate();
}

TFileCompare TSortThread::ComparatorOf(TGroupOrder order) {
    switch (order) {
    case goName:
        return &TSortThread::CompareByName;
    case goSize:
        return &TSortThread::CompareBySize;
    case goSizeName:
        return &TSortThread::CompareBySizeName;
    case goNameSizeDate:
        return &TSortThread::CompareByNameSizeDate;
    default:
        return &TSortThread::CompareByNameSize;
    }
}

void TSortThread::Execute() {
    if (!FFilesList)
        return;
    try {
        SortFiles(*FFilesList, ComparatorOf(FGroupOrder), *this);
    } catch (...) {
        FError = std::current_exception();
    }
}

TCompareMode TSortThread::ChecksumMode() const {
    switch (FCompareMode) {
    case cmNone:
        return cmNone;
    case cmCrc:
        return cmCrc;
    case cmMD5:
        return cmMD5;
    default:
        return cmMD4;
    }
}

void TSortThread::EnsureCheckSums(TFile& first, TFile& second) {
    const TCompareMode mode = ChecksumMode();
    if (mode == cmNone)
        return;
    for (TFile* file : {&first, &second})
        if (file->Checksum.Empty())
            file->Checksum = FileCheckSum(file->FullName(), mode, [this] { return Stopped(); });
}

int TSortThread::CompareChecksums(TFile& first, TFile& second) {
    if (FCompareMode != cmNone)
        EnsureCheckSums(first, second);
    return first.Checksum.CompareNoCase(second.Checksum);
}

int TSortThread::CompareByNameSize(TFile& first, TFile& second) {
    if (&first == &second || Stopped())
        return 0;
    if (int result = CompareNames(first, second))
        return result;
    if (int result = CompareSizesDescending(first, second))
        return result;
    return CompareChecksums(first, second);
}

int TSortThread::CompareByName(TFile& first, TFile& second) {
    if (&first == &second || Stopped())
        return 0;
    if (int result = CompareNames(first, second))
        return result;
    return CompareChecksums(first, second);
}

int TSortThread::CompareBySize(TFile& first, TFile& second) {
    if (&first == &second || Stopped())
        return 0;
    if (int result = CompareSizesDescending(first, second))
        return result;
    if (int result = CompareChecksums(first, second))
        return result;
    return CompareNames(first, second);
}

int TSortThread::CompareBySizeName(TFile& first, TFile& second) {
    if (&first == &second || Stopped())
        return 0;
    if (int result = CompareSizesDescending(first, second))
        return result;
    if (int result = CompareNames(first, second))
        return result;
    return CompareChecksums(first, second);
}

int TSortThread::CompareByNameSizeDate(TFile& first, TFile& second) {
    if (&first == &second || Stopped())
        return 0;
    if (int result = CompareNames(first, second))
        return result;
    if (int result = CompareSizesAscending(first, second))
        return result;
    if (int result = CompareDates(first, second))
        return result;
    return CompareChecksums(first, second);
}

} // namespace quorvane
