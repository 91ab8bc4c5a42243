#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duplicates/Classify.h"
#include "duplicates/ProtectedFolders.h"
#include "platform/TextCompare.h"

namespace quorvane {
namespace {

class Classify : public ::testing::Test {
protected:
    void SetUp() override { SetCollationLocale("en"); }
    void TearDown() override { SetCollationLocale(""); }

    TFile& Add(const std::string& folder, const std::string& name, int64_t size,
               TChecksum checksum = {}) {
        auto* file = new TFile(folder, name, size, 44000.5);
        file->Checksum = checksum;
        Files.Add(file);
        return *file;
    }

    TClassification Run(TGroupOrder order = goNameSize, bool blockDelete = false,
                        const TProtectedFolders& protectedFolders = {}) {
        return ClassifyFiles(Files, order, blockDelete, protectedFolders);
    }

    TFilesList Files;
};

std::vector<std::pair<uint32_t, uint32_t>> PositionsAndGroups(const TClassification& result) {
    std::vector<std::pair<uint32_t, uint32_t>> rows;
    for (const TResultRow& row : result.Rows)
        rows.emplace_back(row.FilePosition, row.Group);
    return rows;
}

TEST_F(Classify, NeighboursThatMatchFormNumberedGroups) {
    using TRows = std::vector<std::pair<uint32_t, uint32_t>>;
    // A~B and C~D but not B~C: two groups of two.
    Add("/1/", "a.txt", 10);
    Add("/2/", "A.TXT", 10);
    Add("/1/", "c.txt", 10);
    Add("/2/", "c.txt", 10);
    EXPECT_EQ(PositionsAndGroups(Run()), (TRows{{0, 1}, {1, 1}, {2, 2}, {3, 2}}));

    // Three in a row make one group of three; a file without a partner makes no row.
    Files.Clear();
    Add("/1/", "alone.txt", 5);
    Add("/1/", "three.txt", 7);
    Add("/2/", "three.txt", 7);
    Add("/3/", "three.txt", 7);
    Add("/1/", "zed.txt", 9);
    EXPECT_EQ(PositionsAndGroups(Run()), (TRows{{1, 1}, {2, 1}, {3, 1}}));
}

TEST_F(Classify, TheOutcomeWithoutGroups) {
    TClassification empty = Run();
    EXPECT_TRUE(empty.Rows.empty());
    EXPECT_FALSE(empty.NoDuplicates) << "an empty list shows no message";
    EXPECT_EQ(empty.Message(), "");

    Add("/1/", "single.txt", 1, TChecksum::Unreadable());
    TClassification single = Run();
    EXPECT_TRUE(single.Rows.empty());
    EXPECT_TRUE(single.NoDuplicates);
    EXPECT_TRUE(single.UnreadableFiles.empty()) << "a file without a partner is not reported";
    EXPECT_EQ(single.Message(), "No duplicate files found");

    Add("/2/", "single.txt", 1, TChecksum::Unreadable());
    EXPECT_TRUE(Run(static_cast<TGroupOrder>(5)).NoDuplicates) << "an unknown order groups nothing";
}

TEST_F(Classify, GroupedFilesThatCouldNotBeReadAreNamed) {
    Add("/1/", "locked.db", 4, TChecksum::Unreadable());
    Add("/2/", "locked.db", 4, TChecksum::Unreadable());
    Add("/1/", "pagefile.sys", 8, TChecksum::Unreadable());
    Add("/2/", "PAGEFILE.SYS", 8, TChecksum::Unreadable());
    // A readable file whose CRC-32 happens to be FFFFFFFF is no such file.
    Add("/1/", "unlucky.bin", 9, TChecksum::FromCrc32(0xFFFFFFFF));
    Add("/2/", "unlucky.bin", 9, TChecksum::FromCrc32(0xFFFFFFFF));

    const TClassification result = Run();
    EXPECT_EQ(result.Rows.size(), 6u);
    EXPECT_TRUE(result.ChecksumSeen);
    EXPECT_EQ(result.Message(), "The following files could not be opened and weren't compared.\r"
                                "They may be system files or open by other programs:\r"
                                "locked.db\rlocked.db\rpagefile.sys\rPAGEFILE.SYS");
}

TEST_F(Classify, BlockDeleteLeavesOnlyComparedFilesCheckable) {
    Add("/1/", "plain.txt", 3);
    Add("/2/", "plain.txt", 3);
    Add("/1/", "same.txt", 3, TChecksum::FromCrc32(7));
    Add("/2/", "same.txt", 3, TChecksum::FromCrc32(7));
    Add("/1/", "stuck.txt", 3, TChecksum::Unreadable());
    Add("/2/", "stuck.txt", 3, TChecksum::Unreadable());
    const struct {
        bool BlockDelete;
        std::vector<bool> Checkable;
    } cases[] = {
        // An unreadable file counts as not compared: never checkable under BlockDelete.
        {true, {false, false, true, true, false, false}},
        {false, {true, true, true, true, true, true}},
    };
    for (const auto& c : cases) {
        const TClassification result = Run(goNameSize, c.BlockDelete);
        std::vector<bool> checkable;
        for (const TResultRow& row : result.Rows)
            checkable.push_back(row.Checkable);
        EXPECT_EQ(checkable, c.Checkable) << "BlockDelete " << c.BlockDelete;
        EXPECT_TRUE(result.ChecksumSeen);
    }
    Files.Delete(5);
    Files.Delete(4);
    Files.Delete(3);
    Files.Delete(2);
    EXPECT_FALSE(Run().ChecksumSeen);
}

TEST_F(Classify, ProtectedFoldersRemoveTheCheckBoxes) {
    const TProtectedFolders protectedFolders = {{"/data/old/", true}, {"/srv/Keep/", false}};
    const struct {
        const char* Folder;
        bool Checkable;
    } cases[] = {
        {"/data/old/", false},  {"/DATA/Old/deeper/", false}, {"/data/old2/", true},
        {"/data/", true},       {"/srv/keep/", false},        {"/srv/keep/sub/", true},
        {"/srv/keeper/", true},
    };
    for (const auto& c : cases) {
        Files.Clear();
        Add(c.Folder, "photo.jpg", 100);
        Add("/elsewhere/", "photo.jpg", 100);
        const TClassification result = Run(goNameSize, false, protectedFolders);
        ASSERT_EQ(result.Rows.size(), 2u);
        const TResultRow& row = result.Rows[0].FilePosition == 0 ? result.Rows[0] : result.Rows[1];
        EXPECT_EQ(row.Checkable, c.Checkable) << c.Folder;
        EXPECT_EQ(IsProtectedFolder(protectedFolders, c.Folder), !c.Checkable) << c.Folder;
    }
    EXPECT_FALSE(IsProtectedFolder({}, "/data/old/"));
}

TEST_F(Classify, ThePumpRunsEveryFiveHundredFiles) {
    for (int i = 0; i < 1501; ++i)
        Add("/f/", "file" + std::to_string(i), 1);
    int pumps = 0;
    ClassifyFiles(Files, goNameSize, false, {}, [&] { ++pumps; });
    EXPECT_EQ(pumps, 3); // at files 500, 1000 and 1500
}

} // namespace
} // namespace quorvane
