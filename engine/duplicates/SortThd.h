#pragma once

#include <atomic>
#include <cstddef>
#include <exception>

#include "duplicates/CompareMode.h"
#include "duplicates/GroupOrder.h"
#include "platform/Thread.h"
#include "search/FilList.h"

namespace quorvane {

class TSortThread;

// A group order's comparator: negative when the first file goes before the second, 0 when they
// tie, positive when it goes after. It may give the files their checksums, so it takes them
// writable.
using TFileCompare = int (TSortThread::*)(TFile& first, TFile& second);

// Sorts the list in place so that every pair of neighbours is in the comparator's order (one of
// TSortThread's five), giving checksums, when the context's compare mode asks for them, to
// exactly the files whose keys tie with another file's. The context supplies the compare mode
// and the stop flag; once stopped, the list keeps every record in a partial order.
// Throws what fails (never a file that cannot be read: that one gets the unreadable checksum);
// the list then still holds every record.
void SortFiles(TFilesList& list, TFileCompare compare, TSortThread& context);

// Whether the files at positions i and j belong to one duplicate group under the order: they
// share the order's keys (names compare without case) and have identical checksums.
bool SameGroup(const TFilesList& list, std::size_t i, std::size_t j, TGroupOrder order);

// The sort stage: sorts the main file list under a group order on its own thread.
class TSortThread : public TThread {
public:
    // Created suspended; frees itself once its end handler has run.
    TSortThread(IMainThreadQueue& mainThread, TGroupOrder groupOrder);

    void SetFilesList(TFilesList* list) { FFilesList = list; }
    void SetCompareMode(TCompareMode mode) { FCompareMode = mode; }
    // From now on every comparison returns 0 and no further file is read; the sort ends soon.
    void Cancel();

    TGroupOrder GroupOrder() const { return FGroupOrder; }
    TCompareMode CompareMode() const { return FCompareMode; }
    const std::atomic<bool>& StopFlag() const { return FStop; }
    // What ended the sort early, for the end handler to report; null after a normal end or a
    // cancel. The list then holds every record, though not sorted.
    std::exception_ptr Error() const { return FError; }

    // The comparators of the five group orders.
    int CompareByNameSize(TFile& first, TFile& second);
    int CompareByName(TFile& first, TFile& second);
    int CompareBySize(TFile& first, TFile& second);
    int CompareBySizeName(TFile& first, TFile& second);
    int CompareByNameSizeDate(TFile& first, TFile& second);
    // The comparator of a group order; a value outside 0 .. 4 sorts like goNameSize.
    static TFileCompare ComparatorOf(TGroupOrder order);

    // Gives the first file and then the second its checksum under the compare mode, unless it
    // has one (whatever mode made it): CRC-32 under cmCrc, MD5 under cmMD5, else MD4.
    void EnsureCheckSums(TFile& first, TFile& second);
    // The mode checksums are computed under; cmNone when none are.
    TCompareMode ChecksumMode() const;

protected:
    void Execute() override;

private:
    bool Stopped() const { return FStop.load(std::memory_order_relaxed); }
    // The checksum key, last of every comparator.
    int CompareChecksums(TFile& first, TFile& second);

    const TGroupOrder FGroupOrder;
    TFilesList* FFilesList = nullptr;
    TCompareMode FCompareMode = cmNone;
    std::atomic<bool> FStop{false};
    std::exception_ptr FError;
};

} // namespace quorvane
