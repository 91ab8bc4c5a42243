#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include "duplicates/SortThd.h"
#include "duplicates/TiedContents.h"
#include "platform/MainThreadQueue.h"
#include "platform/TextCompare.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using test::TTempDir;
using TGroups = std::set<std::set<std::string>>;

constexpr int64_t GiB = int64_t{1} << 30;
const TDateTime Noon = EncodeDateTime({2021, 3, 14, 12, 0, 0});
const TDateTime TwoSecondsLater = EncodeDateTime({2021, 3, 14, 12, 0, 2});

class Sort : public ::testing::Test {
protected:
    void SetUp() override { SetCollationLocale("en"); }
    void TearDown() override { SetCollationLocale(""); }

    // Adds a record whose folder is named after `id`, so that tests can tell records apart.
    TFile& Add(const std::string& id, const std::string& name, int64_t size,
               TDateTime date = Noon) {
        Files.Add(new TFile("/t/" + id + "/", name, size, date));
        return *Files[Files.Count() - 1];
    }
    // Adds a record for a real file, with its size.
    TFile& AddFile(const std::string& path, TDateTime date = Noon) {
        const auto slash = path.rfind('/');
        Files.Add(new TFile(path.substr(0, slash + 1), path.substr(slash + 1),
                            static_cast<int64_t>(std::filesystem::file_size(path)), date));
        return *Files[Files.Count() - 1];
    }

    void SortList(TGroupOrder order, TCompareMode mode = cmNone) {
        TSortThread context(Queue, order);
        context.SetCompareMode(mode);
        SortFiles(Files, TSortThread::ComparatorOf(order), context);
    }

    // The groups the same-group test finds between neighbours, each as the ids of its files.
    TGroups Groups(TGroupOrder order) const {
        TGroups groups;
        std::set<std::string> group;
        for (std::size_t i = 0; i < Files.Count(); ++i) {
            if (i > 0 && SameGroup(Files, i - 1, i, order)) {
                group.insert(Id(i - 1));
                group.insert(Id(i));
            } else if (!group.empty()) {
                groups.insert(std::exchange(group, {}));
            }
        }
        if (!group.empty())
            groups.insert(group);
        return groups;
    }

    // The name of the file's folder.
    std::string Id(std::size_t i) const {
        const std::string& path = Files[i]->Path();
        const auto start = path.rfind('/', path.size() - 2) + 1;
        return path.substr(start, path.size() - 1 - start);
    }
    std::size_t PositionOf(const std::string& id) const {
        for (std::size_t i = 0; i < Files.Count(); ++i)
            if (Id(i) == id)
                return i;
        return Files.Count();
    }

    // Every neighbour pair in the order of the comparator (compare mode 0: nothing is read).
    void ExpectInComparatorOrder(TGroupOrder order) {
        TSortThread context(Queue, order);
        const TFileCompare compare = TSortThread::ComparatorOf(order);
        for (std::size_t i = 1; i < Files.Count(); ++i)
            ASSERT_LE((context.*compare)(*Files[i - 1], *Files[i]), 0)
                << "positions " << i - 1 << " and " << i << ": " << Files[i - 1]->FullName()
                << " | " << Files[i]->FullName();
    }

    TSimpleQueue Queue;
    TFilesList Files;
};

TEST_F(Sort, EveryGroupOrderGroupsAndOrdersTheTable) {
    TTempDir dir;
    // Sparse files above 4 GiB: a size cut to 32 bits would make "h" as large as "g".
    for (auto [name, size] : {std::pair{"e/big.iso", 5 * GiB}, std::pair{"f/BIG.iso", 5 * GiB},
                              std::pair{"h/other.bin", 4 * GiB + 1000}}) {
        const std::string path = dir.WriteFile(name, "");
        ASSERT_EQ(::truncate(path.c_str(), size), 0);
    }
    const struct {
        const char* Id;
        const char* Name;
        int64_t Size;
        TDateTime Date;
    } table[] = {
        {"a", "report.txt", 2000, Noon},
        {"b", "REPORT.TXT", 2000, Noon},
        {"c", "report.txt", 1000, Noon},
        {"d", "Report.txt", 2000, TwoSecondsLater},
        {"e", "big.iso", static_cast<int64_t>(std::filesystem::file_size(dir / "e/big.iso")), Noon},
        {"f", "BIG.iso", static_cast<int64_t>(std::filesystem::file_size(dir / "f/BIG.iso")), Noon},
        {"g", "other.bin", 1000, Noon},
        {"h", "other.bin", static_cast<int64_t>(std::filesystem::file_size(dir / "h/other.bin")),
         Noon},
        {"i", "unique.dat", 77, Noon},
    };
    const std::map<int, TGroups> expected = {
        {goNameSize, {{"a", "b", "d"}, {"e", "f"}}},
        {goName, {{"a", "b", "c", "d"}, {"e", "f"}, {"g", "h"}}},
        {goSize, {{"a", "b", "d"}, {"c", "g"}, {"e", "f"}}},
        {goSizeName, {{"a", "b", "d"}, {"e", "f"}}},
        {goNameSizeDate, {{"a", "b"}, {"e", "f"}}},
        {7, {}}, // an unknown order sorts like Name/Size and groups nothing
    };
    for (const auto& [orderValue, groups] : expected) {
        const auto order = static_cast<TGroupOrder>(orderValue);
        SCOPED_TRACE("group order " + std::to_string(orderValue));
        Files.Clear();
        for (const auto& row : table)
            Add(row.Id, row.Name, row.Size, row.Date);
        std::reverse(Files.Items().begin(), Files.Items().end());

        SortList(order);

        EXPECT_EQ(Groups(order), groups);
        ExpectInComparatorOrder(order == 7 ? goNameSize : order);
        for (std::size_t i = 0; i < Files.Count(); ++i)
            EXPECT_TRUE(Files[i]->Checksum.Empty()) << "compare mode 0 reads nothing";
    }
    // Sizes run largest first under Name/Size, smallest first under Name/Size/Date.
    Files.Clear();
    for (const auto& row : table)
        Add(row.Id, row.Name, row.Size, row.Date);
    SortList(goNameSize);
    EXPECT_LT(PositionOf("a"), PositionOf("c"));
    SortList(goNameSizeDate);
    EXPECT_GT(PositionOf("a"), PositionOf("c"));
    SortList(goSize);
    EXPECT_EQ((std::set{Id(0), Id(1)}), (std::set<std::string>{"e", "f"}));
    EXPECT_EQ(Id(2), "h");
    EXPECT_EQ(Id(8), "i");
}

// Names of the shapes that stress the sort: shared prefixes longer than a collation key chunk,
// case and accent variants, invalid UTF-8, U+FFFD written out, punctuation and digits.
std::string RandomName(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "a",      "A",       "b", "é", "É", "e", "ß",   "ss",   "\xff", "\xfe",   "\xef\xbf\xbd",
        "0",      "9",       " ", "-", "_", ".", "(1)", "IMG_", "img_", "Résumé", "resume",
        "straße", "STRASSE", "ä", "z"};
    static const std::string longPrefix(70, 'x');
    std::string name = random() % 4 == 0 ? longPrefix : "";
    for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n)
        name += pieces[random() % pieces.size()];
    return name;
}

TEST_F(Sort, FinalOrderAndGroupsMatchAPlainSortWithTheComparator) {
    std::mt19937 random(7);
    const std::vector<TChecksum> checksums = {TChecksum(), TChecksum::FromCrc32(1),
                                              TChecksum::FromCrc32(2), TChecksum::Unreadable()};
    // Common names make long runs of equal names (refined by their keys), rare ones short runs
    // (finished by comparisons).
    std::vector<std::string> common, rare;
    for (int i = 0; i < 40; ++i)
        common.push_back(RandomName(random));
    for (int i = 0; i < 600; ++i)
        rare.push_back(RandomName(random));
    for (int i = 0; i < 3000; ++i) {
        const auto& names = random() % 2 ? common : rare;
        TFile& file = Add(std::to_string(i), names[random() % names.size()],
                          static_cast<int64_t>(random() % 3) * 4 * GiB + 10,
                          random() % 2 ? Noon : TwoSecondsLater);
        file.Checksum = checksums[random() % checksums.size()]; // left by earlier comparisons
    }
    for (int orderValue : {0, 1, 2, 3, 4, 9}) {
        const auto order = static_cast<TGroupOrder>(orderValue);
        SCOPED_TRACE("group order " + std::to_string(orderValue));
        // The reference: std::sort with the comparator itself.
        std::vector<TFile*> reference = Files.Items();
        TSortThread context(Queue, order);
        const TFileCompare compare = TSortThread::ComparatorOf(order);
        std::sort(reference.begin(), reference.end(),
                  [&](TFile* a, TFile* b) { return (context.*compare)(*a, *b) < 0; });
        std::shuffle(Files.Items().begin(), Files.Items().end(), random);

        SortList(order);

        ExpectInComparatorOrder(order == 9 ? goNameSize : order);
        const TGroups groups = Groups(order);
        Files.Items().swap(reference);
        const TGroups referenceGroups = Groups(order);
        EXPECT_EQ(groups, referenceGroups);
        EXPECT_EQ(orderValue == 9, referenceGroups.empty());
    }
}

TEST_F(Sort, GroupsAreThoseOfHashingEveryTiedFile) {
    // Few sizes, names and starts: runs mix copies, files that share their start but differ
    // later, files whose start no other file has, and small files.
    TTempDir dir;
    std::mt19937 random(11);
    const auto bytes = [&](std::size_t size) {
        std::string text(size, '\0');
        for (char& c : text)
            c = static_cast<char>(random());
        return text;
    };
    const std::vector<std::string> starts = {bytes(HeadSize), bytes(HeadSize)};
    const std::vector<std::string> rests = {bytes(2 * HeadSize), bytes(2 * HeadSize)};
    const std::vector<std::string> smalls = {bytes(HeadSize), bytes(HeadSize)};
    const std::vector<std::size_t> sizes = {100, HeadSize, HeadSize + 10, 3 * HeadSize};
    const std::vector<std::string> names = {"a.bin", "A.BIN", "b.bin"};
    for (int i = 0; i < 120; ++i) {
        const std::size_t size = sizes[random() % sizes.size()];
        const std::string contents = size <= HeadSize
                                         ? smalls[random() % 2].substr(0, size)
                                         : (random() % 4 ? starts[random() % 2] : bytes(HeadSize)) +
                                               rests[random() % 2].substr(0, size - HeadSize);
        AddFile(dir.WriteFile(std::to_string(i) + "/" + names[random() % names.size()], contents),
                random() % 2 ? Noon : TwoSecondsLater);
    }
    for (const TCompareMode mode : {cmCrc, cmMD5}) {
        for (int orderValue = goNameSize; orderValue <= goNameSizeDate; ++orderValue) {
            const auto order = static_cast<TGroupOrder>(orderValue);
            SCOPED_TRACE("group order " + std::to_string(orderValue) + ", mode " +
                         std::to_string(mode));
            // The reference: the comparator itself, which hashes every file it compares.
            TFilesList reference;
            for (TFile* file : Files.Items()) {
                reference.Add(new TFile(file->SharedPath(), file->Name, file->Size, file->Date));
                file->Checksum = TChecksum(); // what the previous round found
            }
            TSortThread context(Queue, order);
            context.SetCompareMode(mode);
            const TFileCompare compare = TSortThread::ComparatorOf(order);
            std::sort(reference.Items().begin(), reference.Items().end(),
                      [&](TFile* a, TFile* b) { return (context.*compare)(*a, *b) < 0; });
            std::shuffle(Files.Items().begin(), Files.Items().end(), random);

            SortList(order, mode);

            const TGroups groups = Groups(order);
            Files.Items().swap(reference.Items());
            const TGroups referenceGroups = Groups(order);
            Files.Items().swap(reference.Items());
            EXPECT_EQ(groups, referenceGroups);
            EXPECT_FALSE(groups.empty());
        }
    }
}

TEST_F(Sort, OnlyFilesWhoseKeysTieAreRead) {
    TTempDir dir;
    const TFile& first = AddFile(dir.WriteFile("1/same.txt", "abc"));
    const TFile& second = AddFile(dir.WriteFile("2/SAME.TXT", "abc"));
    const TFile& other = AddFile(dir.WriteFile("3/other.txt", "abc"));
    // Opening this one would fail and mark it unreadable.
    TFile& vanished = AddFile(dir.WriteFile("4/lonely.txt", "abc"));
    std::filesystem::remove(vanished.FullName());

    SortList(goNameSize, cmCrc);
    EXPECT_EQ(first.Checksum.Text(), "352441C2");
    EXPECT_EQ(second.Checksum.Text(), "352441C2");
    EXPECT_TRUE(other.Checksum.Empty());
    EXPECT_TRUE(vanished.Checksum.Empty());
    EXPECT_EQ(Groups(goNameSize).size(), 1u);

    // By size alone all four tie, so the vanished one is opened now.
    SortList(goSize, cmCrc);
    EXPECT_EQ(other.Checksum.Text(), "352441C2");
    EXPECT_TRUE(vanished.Checksum.IsUnreadable());
    EXPECT_EQ(Groups(goSize).size(), 1u) << "three readable files of equal content";
}

TEST_F(Sort, APresentChecksumIsNeverComputedAgain) {
    TTempDir dir;
    TFile& stale = AddFile(dir.WriteFile("1/same.txt", "abc"));
    stale.Checksum = TChecksum::FromCrc32(0x12345678); // whatever an earlier comparison left
    TFile& fresh = AddFile(dir.WriteFile("2/same.txt", "abc"));

    SortList(goNameSize, cmMD5);
    EXPECT_EQ(stale.Checksum.Text(), "12345678");
    EXPECT_EQ(fresh.Checksum.Text(), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_TRUE(Groups(goNameSize).empty());

    dir.WriteFile("2/same.txt", "xyz"); // a second read would see other contents
    SortList(goNameSize, cmMD5);
    EXPECT_EQ(fresh.Checksum.Text(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST_F(Sort, LeftoverChecksumsTakePartWithoutComparison) {
    Add("a", "photo.jpg", 100).Checksum = TChecksum::FromCrc32(1);
    Add("b", "photo.jpg", 100).Checksum = TChecksum::FromCrc32(2);
    Add("c", "photo.jpg", 100).Checksum = TChecksum::FromCrc32(2);
    Add("d", "photo.jpg", 100);
    SortList(goNameSize);
    EXPECT_EQ(Groups(goNameSize), (TGroups{{"b", "c"}}));
    EXPECT_TRUE(Files[0]->Checksum.Empty()) << "an empty checksum sorts first";
}

TEST_F(Sort, ContentDecidesUnderEachCompareMode) {
    TTempDir dir;
    const struct {
        TCompareMode Mode;
        const char* Text;
    } modes[] = {
        {cmCrc, "352441C2"},
        {cmMD4, "a448017aaf21d8525fc10ae87aa6729d"},
        {cmMD5, "900150983cd24fb0d6963f7d28e17f72"},
        {static_cast<TCompareMode>(5), "a448017aaf21d8525fc10ae87aa6729d"}, // other modes: MD4
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.Text);
        Files.Clear();
        AddFile(dir.WriteFile("1/x.dat", "abc"));
        AddFile(dir.WriteFile("2/x.dat", "abd"));
        AddFile(dir.WriteFile("3/x.dat", "abc"));
        SortList(goSizeName, mode.Mode);
        EXPECT_EQ(Groups(goSizeName), (TGroups{{"1", "3"}}));
        for (std::size_t i = 0; i < Files.Count(); ++i) {
            if (Id(i) != "2") {
                EXPECT_EQ(Files[i]->Checksum.Text(), mode.Text);
            }
        }
    }
}

TEST_F(Sort, TiedFilesThatCannotBeOpenedStayTogetherAsUnreadable) {
    TTempDir dir;
    for (const char* path : {"1/locked.db", "2/locked.db"}) {
        TFile& file = AddFile(dir.WriteFile(path, "data"));
        std::filesystem::remove(file.FullName());
    }
    SortList(goNameSize, cmCrc);
    EXPECT_TRUE(SameGroup(Files, 0, 1, goNameSize));
    EXPECT_TRUE(Files[0]->Checksum.IsUnreadable());
    EXPECT_EQ(Files[1]->Checksum.Text(), "FFFFFFFF");
}

TEST_F(Sort, ACancelledSortReadsNothingMoreAndKeepsEveryRecord) {
    TTempDir dir;
    for (int i = 0; i < 6; ++i)
        AddFile(dir.WriteFile(std::to_string(i) + "/same.txt", "abc"));
    const std::set<TFile*> before(Files.Items().begin(), Files.Items().end());
    TSortThread context(Queue, goNameSize);
    context.SetCompareMode(cmCrc);
    context.Cancel();
    EXPECT_EQ(context.CompareByNameSize(*Files[0], *Files[1]), 0);

    SortFiles(Files, &TSortThread::CompareByNameSize, context);

    EXPECT_EQ(std::set<TFile*>(Files.Items().begin(), Files.Items().end()), before);
    for (std::size_t i = 0; i < Files.Count(); ++i)
        EXPECT_TRUE(Files[i]->Checksum.Empty());
}

TEST_F(Sort, CancelStopsTheSortThreadWhileItReads) {
    TTempDir dir;
    constexpr int Count = 24;
    for (int i = 0; i < Count; ++i) {
        const std::string path = dir.WriteFile(std::to_string(i) + "/disk.img", "");
        ASSERT_EQ(::truncate(path.c_str(), 256 << 20), 0);
        AddFile(path);
    }
    auto* thread = new TSortThread(Queue, goNameSize);
    thread->SetFilesList(&Files);
    thread->SetCompareMode(cmCrc);
    bool ended = false;
    bool failed = true;
    thread->SetOnTerminate([&](TThread& t) {
        ended = true;
        failed = static_cast<bool>(static_cast<TSortThread&>(t).Error());
    });
    thread->Start();
    std::this_thread::sleep_for(50ms);
    thread->Cancel();
    const auto start = std::chrono::steady_clock::now();
    Queue.RunUntil([&] { return ended; });

    EXPECT_FALSE(failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    int read = 0;
    for (std::size_t i = 0; i < Files.Count(); ++i)
        read += Files[i]->Checksum.Empty() ? 0 : 1;
    EXPECT_LT(read, Count) << "files were still read after the cancel";
    EXPECT_EQ(Files.Count(), static_cast<std::size_t>(Count));
}

TEST_F(Sort, TheSortThreadSortsTheListAndEndsOnTheMainThread) {
    TTempDir dir;
    AddFile(dir.WriteFile("1/b.txt", "same"));
    AddFile(dir.WriteFile("2/a.txt", "solo"));
    AddFile(dir.WriteFile("3/B.TXT", "same"));
    auto* thread = new TSortThread(Queue, goName);
    thread->SetFilesList(&Files);
    thread->SetCompareMode(cmCrc);
    std::thread::id endedOn;
    thread->SetOnTerminate([&](TThread&) { endedOn = std::this_thread::get_id(); });
    thread->Start();
    Queue.RunUntil([&] { return endedOn != std::thread::id(); });

    EXPECT_EQ(endedOn, std::this_thread::get_id());
    EXPECT_EQ(Files[0]->Name, "a.txt");
    EXPECT_TRUE(Files[0]->Checksum.Empty());
    EXPECT_TRUE(SameGroup(Files, 1, 2, goName));
    EXPECT_EQ(Files[1]->Checksum.Text(), Files[2]->Checksum.Text());
}

TEST_F(Sort, EmptyAndSingleFileListsEndAtOnceWithoutReading) {
    TTempDir dir;
    for (int count : {0, 1}) {
        Files.Clear();
        if (count == 1) {
            TFile& file = AddFile(dir.WriteFile("gone.txt", "x"));
            std::filesystem::remove(file.FullName());
        }
        auto* thread = new TSortThread(Queue, goNameSize);
        thread->SetFilesList(&Files);
        thread->SetCompareMode(cmCrc);
        bool ended = false;
        thread->SetOnTerminate([&](TThread&) { ended = true; });
        thread->Start();
        Queue.RunUntil([&] { return ended; });
        if (count == 1) {
            EXPECT_TRUE(Files[0]->Checksum.Empty());
        }
    }
}

// Caps the address space a little above what the process uses now.
void CapAddressSpace() {
    ::malloc_trim(0); // free memory at the heap's top would otherwise serve what follows
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (512 << 10);
    const rlimit capped{limit, limit};
    ::setrlimit(RLIMIT_AS, &capped);
}

TEST_F(Sort, AFailedSortIsReportedAndLeavesTheListAsItWas) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under an address-space cap";
#endif
    // A fresh process: memory that other tests' threads left to the allocator would serve the
    // sort despite the cap.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int i = 0; i < 400'000; ++i)
        Add("f", "name" + std::to_string(i % 5000), i % 7);
    const std::vector<TFile*> before = Files.Items();
    // The sort's working memory (4.8 MB here) cannot be had.
    EXPECT_EXIT(
        {
            CapAddressSpace();
            TSortThread context(Queue, goNameSize);
            try {
                SortFiles(Files, &TSortThread::CompareByNameSize, context);
            } catch (const std::bad_alloc&) {
                std::_Exit(Files.Items() == before ? 0 : 1);
            }
            std::_Exit(2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Sort, SortFilesTakesOnlyTheGroupOrdersComparators) {
    Add("a", "b.txt", 1);
    Add("b", "a.txt", 1);
    TSortThread context(Queue, goNameSize);
    EXPECT_THROW(SortFiles(Files, nullptr, context), std::invalid_argument);
    EXPECT_EQ(Files[0]->Name, "b.txt") << "the list is left as it was";
}

} // namespace
} // namespace quorvane
