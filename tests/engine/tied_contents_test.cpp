#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "duplicates/Checksums.h"
#include "duplicates/FileBlockReader.h"
#include "duplicates/TiedContents.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;

// Random bytes, the same for the same seed.
std::string Bytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// `bytes` with one byte changed at `position`.
std::string ChangedAt(std::string bytes, std::size_t position) {
    bytes[position] = static_cast<char>(~bytes[position]);
    return bytes;
}

const std::string Big = Bytes(3 * HeadSize + 5, 1);

class TiedContents : public ::testing::Test {
protected:
    TFile& Add(const std::string& name, const std::string& contents) {
        const std::string path = Dir.WriteFile(name, contents);
        Files.Add(new TFile(Dir.Path(), name, static_cast<int64_t>(contents.size()), 0));
        return *Files[Files.Count() - 1];
    }
    // Every file as one run.
    void Run(TCompareMode mode) {
        const TTiedRun run(Files.Items());
        GiveTiedFilesChecksums(std::span(&run, 1), mode, [] { return false; });
    }
    std::set<std::string> Unmatched() const {
        std::set<std::string> names;
        for (const TFile* file : Files.Items())
            if (file->Checksum.IsUnmatched())
                names.insert(file->Name);
        return names;
    }

    TTempDir Dir;
    TFilesList Files;
};

TEST_F(TiedContents, FilesThatMayMatchGetTheirOwnChecksumTheOthersAreSetApart) {
    const struct {
        const char* Label;
        std::map<std::string, std::string> Contents;
        std::set<std::string> Unmatched;
    } cases[] = {
        {"starts differ", {{"a", Big}, {"b", ChangedAt(Big, 10)}}, {"a", "b"}},
        {"copies", {{"a", Big}, {"b", Big}, {"c", Big}}, {}},
        {"same start, last byte differs",
         {{"a", Big}, {"b", ChangedAt(Big, Big.size() - 1)}, {"c", ChangedAt(Big, HeadSize)}},
         {}},
        {"copies beside a late difference and a stranger",
         {{"a", Big}, {"b", Big}, {"c", ChangedAt(Big, 2 * HeadSize)}, {"d", Bytes(Big.size(), 2)}},
         {"d"}},
        {"another size with the same start", {{"a", Big}, {"b", Big + "x"}}, {"a", "b"}},
        {"small files are hashed whole",
         {{"a", "abc"},
          {"b", "abd"},
          {"c", Big.substr(0, HeadSize)},
          {"d", Big.substr(1, HeadSize)}},
         {}},
    };
    for (const TCompareMode mode : {cmCrc, cmMD4, cmMD5}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.Label) + ", mode " + std::to_string(mode));
            Files.Clear();
            for (const auto& [name, contents] : c.Contents)
                Add(name, contents);

            Run(mode);

            EXPECT_EQ(Unmatched(), c.Unmatched);
            for (const TFile* file : Files.Items()) {
                if (!file->Checksum.IsUnmatched()) {
                    EXPECT_EQ(file->Checksum, FileCheckSum(file->FullName(), mode)) << file->Name;
                }
            }
        }
    }
}

TEST_F(TiedContents, SetApartFilesAreReadOnlyAtTheirStart) {
    for (unsigned seed = 10; seed < 14; ++seed)
        Add("file" + std::to_string(seed), Bytes(1 << 20, seed));
    const uint64_t before = FileBytesReadSoFar();
    Run(cmMD5);
    EXPECT_EQ(Unmatched().size(), 4u);
    EXPECT_EQ(FileBytesReadSoFar() - before, 4 * HeadSize);
}

TEST_F(TiedContents, AKnownChecksumStandsForItsFileAndPassesToItsCopies) {
    TFile& known = Add("known", Big);
    known.Checksum = TChecksum::FromCrc32(0x12345678); // what an earlier comparison found
    TFile& copy = Add("copy", Big);
    TFile& other = Add("other", ChangedAt(Big, Big.size() - 1));
    Run(cmCrc);
    EXPECT_EQ(known.Checksum.Text(), "12345678");
    EXPECT_EQ(copy.Checksum.Text(), "12345678") << "compared with the known file, not hashed";
    EXPECT_EQ(other.Checksum, FileCheckSum(other.FullName(), cmCrc));

    // Once every file has its checksum, nothing is read again.
    const uint64_t before = FileBytesReadSoFar();
    Run(cmCrc);
    EXPECT_EQ(FileBytesReadSoFar(), before);
}

TEST_F(TiedContents, FilesThatCannotBeReadOrChangedAreReadAlone) {
    TFile& gone = Add("gone", Big);
    TFile& goneToo = Add("gone too", Big);
    TFile& cut = Add("cut", Big); // shorter now than it was found to be
    TFile& uncut = Add("uncut", Big);
    std::filesystem::remove(gone.FullName());
    std::filesystem::remove(goneToo.FullName());
    std::filesystem::resize_file(cut.FullName(), HeadSize + 1);

    Run(cmMD5);
    EXPECT_TRUE(gone.Checksum.IsUnreadable());
    EXPECT_TRUE(goneToo.Checksum.IsUnreadable());
    // The same start, but no longer the same bytes: each is hashed as it is now.
    EXPECT_EQ(cut.Checksum, FileCheckSum(cut.FullName(), cmMD5));
    EXPECT_EQ(uncut.Checksum, FileCheckSum(uncut.FullName(), cmMD5));
    EXPECT_FALSE(cut.Checksum == uncut.Checksum);
}

TEST_F(TiedContents, ACancelReadsNothingMore) {
    Add("a", Big);
    Add("b", Big);
    const uint64_t before = FileBytesReadSoFar();
    const TTiedRun run(Files.Items());
    GiveTiedFilesChecksums(std::span(&run, 1), cmMD5, [] { return true; });
    EXPECT_EQ(FileBytesReadSoFar(), before);
    EXPECT_TRUE(Files[0]->Checksum.Empty());
    EXPECT_TRUE(Files[1]->Checksum.Empty());
}

} // namespace
} // namespace quorvane
