#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "duplicates/ChecksumThd.h"
#include "duplicates/Classify.h"
#include "duplicates/SortThd.h"
#include "platform/MainThreadQueue.h"
#include "platform/TextCompare.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;

// A main file list of three groups as a search left them (no checksums), sorted and classified
// as the pipeline does, from which a content comparison picks its groups.
class ContentComparison : public ::testing::Test {
protected:
    void SetUp() override {
        SetCollationLocale("en");
        for (auto [path, contents] : {std::pair{"1/pair.bin", "AAAA"},
                                      {"2/pair.bin", "BBBB"},
                                      {"1/trio.bin", "CCCC"},
                                      {"2/trio.bin", "CCCC"},
                                      {"3/trio.bin", "DDDD"},
                                      {"1/other.bin", "EEEE"},
                                      {"2/other.bin", "EEEE"}}) {
            const std::string full = Dir.WriteFile(path, contents);
            const auto slash = full.rfind('/');
            Files.Add(new TFile(full.substr(0, slash + 1), full.substr(slash + 1), 4, 44000.5));
        }
        SortAndClassify();
    }
    void TearDown() override { SetCollationLocale(""); }

    // What follows a comparison: a sort under compare mode 0 and a classification.
    void SortAndClassify() {
        TSortThread context(Queue, goNameSize);
        SortFiles(Files, &TSortThread::CompareByNameSize, context);
        Result = ClassifyFiles(Files, goNameSize, true, {});
    }

    // The index of the first row of the file with that name.
    std::size_t RowOf(const std::string& name) const {
        for (std::size_t i = 0; i < Result.Rows.size(); ++i)
            if (Files[Result.Rows[i].FilePosition]->Name == name)
                return i;
        return Result.Rows.size();
    }

    void Compare(const std::vector<std::size_t>& selectedRows, TCompareMode mode,
                 bool terminateFirst = false) {
        CollectComparisonList(Files, Result.Rows, selectedRows, Comparison);
        auto* thread = new TChecksumThread(Queue, mode);
        thread->SetFilesList(&Comparison);
        bool ended = false;
        thread->SetOnTerminate([&](TThread&) { ended = true; });
        if (terminateFirst)
            thread->Terminate();
        thread->Start();
        Queue.RunUntil([&] { return ended; });
    }

    // Each group as "name:checksum text" of its rows, with whether its rows may be checked.
    std::multiset<std::string> Groups() const {
        std::multiset<std::string> groups;
        for (const TResultRow& row : Result.Rows) {
            const TFile& file = *Files[row.FilePosition];
            groups.insert(file.Name + ":" + file.Checksum.Text() + (row.Checkable ? "" : " x"));
        }
        return groups;
    }

    TTempDir Dir;
    TSimpleQueue Queue;
    TFilesList Files;
    TFilesList Comparison{false};
    TClassification Result;
};

TEST_F(ContentComparison, SelectedGroupsSplitAndShrinkOthersStayUncompared) {
    ASSERT_EQ(Result.Rows.size(), 7u);
    Compare({RowOf("trio.bin"), RowOf("pair.bin")}, cmCrc);
    EXPECT_EQ(Comparison.Count(), 5u) << "a selected row stands for its whole group";

    SortAndClassify();
    // The pair differs in content and drops out; two of the three match.
    const std::string crcOfC4 = "EEB817BA"; // "CCCC"
    EXPECT_EQ(Groups(), (std::multiset<std::string>{"other.bin: x", "other.bin: x",
                                                    "trio.bin:" + crcOfC4, "trio.bin:" + crcOfC4}));
}

TEST_F(ContentComparison, AnotherModeReplacesTheTexts) {
    Compare({RowOf("other.bin")}, cmCrc);
    EXPECT_EQ(Comparison[0]->Checksum.Text().size(), 8u);
    Compare({RowOf("other.bin")}, cmMD5);
    for (TFile* file : Comparison.Items())
        EXPECT_EQ(file->Checksum.Text(), "6f96ba8525cc2f838c7d8b6888a1481b"); // MD5("EEEE")
}

TEST_F(ContentComparison, ACancelledComparisonLeavesItsFilesWithoutTexts) {
    for (std::size_t i = 0; i < Files.Count(); ++i)
        if (Files[i]->Name == "pair.bin")
            Files[i]->Checksum = TChecksum::FromCrc32(1); // from an earlier comparison
    SortAndClassify();
    Compare({RowOf("pair.bin")}, cmMD5, /*terminateFirst=*/true);
    ASSERT_EQ(Comparison.Count(), 2u);
    for (TFile* file : Comparison.Items())
        EXPECT_EQ(file->Checksum, TChecksum::FromCrc32(1)) << "a terminated thread starts no file";

    ClearChecksums(Comparison);
    for (std::size_t i = 0; i < Files.Count(); ++i)
        EXPECT_TRUE(Files[i]->Checksum.Empty());
}

TEST_F(ContentComparison, NothingSelectedOrNoModeComparesNothing) {
    Compare({}, cmCrc);
    EXPECT_TRUE(Comparison.Empty());
    Compare({RowOf("pair.bin")}, cmNone);
    Compare({RowOf("pair.bin")}, static_cast<TCompareMode>(9));
    for (TFile* file : Comparison.Items())
        EXPECT_TRUE(file->Checksum.Empty());
    SortAndClassify();
    EXPECT_EQ(Result.Rows.size(), 7u);
}

TEST_F(ContentComparison, CollectingRejectsStaleRowsAndAnOwningList) {
    EXPECT_THROW(CollectComparisonList(Files, Result.Rows, {{99}}, Comparison), std::out_of_range);
    std::vector<TResultRow> stale = Result.Rows;
    stale[0].FilePosition = 99;
    EXPECT_THROW(CollectComparisonList(Files, stale, {{0}}, Comparison), std::out_of_range);
    TFilesList owning;
    EXPECT_THROW(CollectComparisonList(Files, Result.Rows, {{0}}, owning), std::invalid_argument);
}

} // namespace
} // namespace quorvane
