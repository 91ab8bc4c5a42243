#include <gtest/gtest.h>

#include "app/SortRestorePoint.h"
#include "duplicates/SortThd.h"
#include "platform/MainThreadQueue.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

// A full sort under another order, with checksums computed on the way, is undone: the records
// come back in their order, computed checksums stay, the ones the sort gave go again and the
// unmatched mark comes back.
TEST(SortRestorePoint, UndoesTheOrderAndTheChecksumsOfASort) {
    test::TTempDir dir;
    TFilesList files;
    const auto add = [&](const std::string& relative, const std::string& contents) -> TFile& {
        dir.WriteFile(relative, contents);
        const std::string folder = relative.substr(0, relative.rfind('/') + 1);
        files.Add(new TFile(dir / folder, relative.substr(folder.size()),
                            static_cast<int64_t>(contents.size()), 0));
        return *files[files.Count() - 1];
    };
    TFile& computed = add("a/b.txt", "bbbb");
    computed.Checksum = TChecksum::FromCrc32(0x1234);
    TFile& unmatched = add("b/a.txt", "aaaa");
    unmatched.Checksum = TChecksum::Unmatched();
    TFile& none = add("c/c.txt", "cccc");
    add("d/d.txt", "dddd");
    const std::vector<TFile*> before = files.Items();

    const TSortRestorePoint point(files, goNameSize, true);
    EXPECT_EQ(point.GroupOrder(), goNameSize);
    EXPECT_TRUE(point.AfterComparison());
    TSimpleQueue queue;
    TSortThread context(queue, goSize);
    context.SetCompareMode(cmCrc);
    SortFiles(files, TSortThread::ComparatorOf(goSize), context);
    ASSERT_NE(files.Items(), before);
    ASSERT_TRUE(none.Checksum.Known()) << "four files of one size: the sort reads them all";
    ASSERT_TRUE(unmatched.Checksum.Known());

    point.Restore(files);
    EXPECT_EQ(files.Items(), before);
    EXPECT_EQ(computed.Checksum, TChecksum::FromCrc32(0x1234));
    EXPECT_TRUE(unmatched.Checksum.IsUnmatched());
    EXPECT_TRUE(none.Checksum.Empty());
    EXPECT_TRUE(files[3]->Checksum.Empty());
}

TEST(SortRestorePoint, RefusesAListThatLostRecords) {
    TFilesList files;
    files.Add(new TFile("/t/", "a", 1, 0));
    files.Add(new TFile("/t/", "b", 1, 0));
    const TSortRestorePoint point(files, goName, false);
    files.Delete(1);
    EXPECT_THROW(point.Restore(files), std::logic_error);
}

} // namespace
} // namespace quorvane
