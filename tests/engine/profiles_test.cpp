#include "reports/Profile.h"
#include "reports/ProfileList.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;
using TList = std::vector<std::string>;

const TList kRoots = {"/", "/mnt/data/"};

SearchCriteria SampleCriteria() {
    SearchCriteria c;
    c.IncludeFolders = {"/home/u/Photos/", "/mnt/data/"};
    c.ExcludeFolders = {"/home/u/Photos/tmp/"};
    c.IncludeFiles = {"*.jpg", "*.png"};
    c.ExcludeFiles = {"~*"};
    c.IncludeSysFolders = true;
    c.IncludeSysFiles = false;
    c.ShowZeroBytes = true;
    c.CompareMode = cmMD5;
    c.GroupOrder = goNameSizeDate;
    return c;
}

void ExpectSameCriteria(const SearchCriteria& a, const SearchCriteria& b) {
    EXPECT_EQ(a.IncludeFolders, b.IncludeFolders);
    EXPECT_EQ(a.ExcludeFolders, b.ExcludeFolders);
    EXPECT_EQ(a.IncludeFiles, b.IncludeFiles);
    EXPECT_EQ(a.ExcludeFiles, b.ExcludeFiles);
    EXPECT_EQ(a.IncludeSysFolders, b.IncludeSysFolders);
    EXPECT_EQ(a.IncludeSysFiles, b.IncludeSysFiles);
    EXPECT_EQ(a.ShowZeroBytes, b.ShowZeroBytes);
    EXPECT_EQ(a.CompareMode, b.CompareMode);
    EXPECT_EQ(a.GroupOrder, b.GroupOrder);
}

TEST(ProfileTest, WriterLaysOutTheFiveSectionsInOrderAndTheReaderTakesThemBack) {
    TTempDir dir;
    const std::string file = dir / "photos.qvp";
    ASSERT_TRUE(SaveProfile(file, SampleCriteria(), dir / "quorvane.ini").Saved);
    EXPECT_EQ(ReadWholeFile(file), "[IncludeFolders]\n/home/u/Photos/=\n/mnt/data/=\n\n"
                                   "[ExcludeFolders]\n/home/u/Photos/tmp/=\n\n"
                                   "[IncludeFiles]\n*.jpg=\n*.png=\n\n"
                                   "[ExcludeFiles]\n~*=\n\n"
                                   "[SearchOpts]\nIncludeSysFolders=1\nIncludeSysFiles=0\n"
                                   "ShowZeroBytes=1\nCompareMode=3\nGroupOrder=4\n");
    ExpectSameCriteria(LoadProfile(file, SearchCriteria{}, dir / "quorvane.ini", kRoots).Criteria,
                       SampleCriteria());

    // A file in the classic layout (CR LF, names in other letter case, blanks, hex) reads the same.
    const std::string classic = dir.WriteFile(
        "classic.qvp",
        "[includefolders]\r\n/home/u/Photos/=\r\n/mnt/data/=\r\n"
        "[EXCLUDEFOLDERS]\r\n/home/u/Photos/tmp/=\r\n[IncludeFiles]\r\n*.jpg=\r\n"
        "*.png=\r\n[ExcludeFiles]\r\n~*=\r\n[searchopts]\r\nincludesysfolders = 1\r\n"
        "IncludeSysFiles=0\r\nShowZeroBytes=0x1\r\nCompareMode=3\r\nGroupOrder=4\r\n");
    ExpectSameCriteria(
        LoadProfile(classic, SearchCriteria{}, dir / "quorvane.ini", kRoots).Criteria,
        SampleCriteria());
}

TEST(ProfileTest, OverwritingKeepsOtherSectionsAndOtherSearchOptsKeys) {
    TTempDir dir;
    const std::string file =
        dir.WriteFile("old.qvp", "[Custom]\nkeep=me\n[SearchOpts]\nExtra=5\nCompareMode=2\n"
                                 "[IncludeFolders]\n/old/=\n[ExcludeFiles]\n*.bak=\n");
    SearchCriteria c;
    c.IncludeFolders = {"/new/", "/new/"}; // stored once
    c.IncludeFiles = {"*.txt"};
    ASSERT_TRUE(SaveProfile(file, c, dir / "quorvane.ini").Saved);

    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Custom", "keep", ""), "me");
    EXPECT_EQ(ini.ReadInteger("SearchOpts", "Extra", 0), 5);
    EXPECT_EQ(ini.ReadInteger("SearchOpts", "CompareMode", -1), 0);
    EXPECT_EQ(ini.ReadSection("IncludeFolders"), TList{"/new/"});
    EXPECT_EQ(ini.ReadSection("IncludeFiles"), TList{"*.txt"});
    EXPECT_FALSE(ini.SectionExists("ExcludeFiles"));
    EXPECT_FALSE(ini.SectionExists("ExcludeFolders"));
}

TEST(ProfileTest, FoldersThatDifferOnlyInLetterCaseAreBothKept) {
    TTempDir dir;
    const std::string file = dir / "case.qvp";
    SearchCriteria c = SampleCriteria();
    c.IncludeFolders = {"/data/Photos/", "/data/photos/", "/data/Photos/"};
    c.ExcludeFolders = {"/data/photos/Tmp/", "/data/photos/tmp/"};
    c.IncludeFiles = {"*.jpg", "*.JPG"}; // masks match without case: one is enough
    ASSERT_TRUE(SaveProfile(file, c, dir / "quorvane.ini").Saved);

    const SearchCriteria back =
        LoadProfile(file, SearchCriteria{}, dir / "quorvane.ini", kRoots).Criteria;
    EXPECT_EQ(back.IncludeFolders, (TList{"/data/Photos/", "/data/photos/"}));
    EXPECT_EQ(back.ExcludeFolders, c.ExcludeFolders);
    EXPECT_EQ(back.IncludeFiles, TList{"*.jpg"});
    // The other sections keep their case-blind keys: a hand-edited option in another case
    // replaces the old one rather than standing beside it.
    TIniFile ini(file);
    ini.WriteInteger("searchopts", "COMPAREMODE", 1);
    ini.UpdateFile();
    EXPECT_EQ(TIniFile(file).ReadSection("SearchOpts").size(), 5u);
    EXPECT_EQ(
        LoadProfile(file, SearchCriteria{}, dir / "quorvane.ini", kRoots).Criteria.CompareMode,
        cmCrc);
}

TEST(ProfileTest, EntriesPastTheKeyNameBufferAreReported) {
    TTempDir dir;
    const std::string tooLong = "/" + std::string(TIniFile::kKeyNamesBufferBytes, 'x') + "/";
    const std::string file =
        dir.WriteFile("long.qvp", "[IncludeFolders]\n/a/=\n" + tooLong +
                                      "=\n/b/=\n"
                                      "[ExcludeFolders]\n/c/=\n[IncludeFiles]\n*.txt=\n");
    const TProfileLoadResult loaded =
        LoadProfile(file, SearchCriteria{}, dir / "quorvane.ini", kRoots);
    EXPECT_EQ(loaded.Criteria.IncludeFolders, TList{"/a/"});
    EXPECT_EQ(loaded.Criteria.ExcludeFolders, TList{"/c/"});
    ASSERT_EQ(loaded.UnreadEntries.size(), 2u);
    EXPECT_EQ(loaded.UnreadEntries[0].Section, "IncludeFolders");
    EXPECT_EQ(loaded.UnreadEntries[0].Entry, tooLong);
    EXPECT_EQ(loaded.UnreadEntries[1].Section, "IncludeFolders");
    EXPECT_EQ(loaded.UnreadEntries[1].Entry, "/b/");
    // The command line's reader gives the same.
    std::vector<TUnreadProfileEntry> unread;
    EXPECT_EQ(ReadProfileFile(file, SearchCriteria{}, &unread).IncludeFolders, TList{"/a/"});
    ASSERT_EQ(unread.size(), 2u);
    EXPECT_EQ(unread[0].Entry, tooLong);

    // A profile that fits reports nothing.
    EXPECT_TRUE(LoadProfile(dir / "missing.qvp", SearchCriteria{}, dir / "quorvane.ini", kRoots)
                    .UnreadEntries.empty());
    WriteProfileFile(dir / "p.qvp", SampleCriteria());
    EXPECT_TRUE(UnreadProfileEntries(TIniFile(dir / "p.qvp")).empty());
}

TEST(ProfileTest, EntriesOfAnyFormAreSavedAsTheyAre) {
    TTempDir dir;
    SearchCriteria c;
    c.IncludeFolders = {"/a/", "/odd\nname/", "/b/"};
    c.IncludeFiles = {"[draft]*.doc", "*.doc"};
    WriteProfileFile(dir / "p.qvp", c);
    const TIniFile ini(dir / "p.qvp");
    EXPECT_EQ(ini.ReadSection("IncludeFolders"), c.IncludeFolders);
    EXPECT_EQ(ini.ReadSection("IncludeFiles"), c.IncludeFiles);
    EXPECT_EQ(ini.ReadInteger("SearchOpts", "GroupOrder", -1), 0);
}

TEST(ProfileTest, EmptyListsAndMissingOptionsTakeTheirDefaults) {
    TTempDir dir;
    SearchCriteria current;
    current.IncludeSysFolders = true;
    current.IncludeSysFiles = true;
    current.ShowZeroBytes = true;
    current.CompareMode = cmCrc;
    current.GroupOrder = goSize;
    current.ExcludeFolders = {"/was/here/"};

    for (const std::string& file :
         {dir.WriteFile("empty.qvp", "[IncludeFolders]\n[IncludeFiles]\n[SearchOpts]\n"),
          dir / "missing.qvp"}) {
        const SearchCriteria c = LoadProfile(file, current, dir / "quorvane.ini", kRoots).Criteria;
        EXPECT_EQ(c.IncludeFolders, kRoots) << file;
        EXPECT_EQ(c.IncludeFiles, TList{"*.*"}) << file;
        EXPECT_TRUE(c.ExcludeFolders.empty()) << file;
        EXPECT_TRUE(c.ExcludeFiles.empty()) << file;
        EXPECT_TRUE(c.IncludeSysFolders && c.IncludeSysFiles && c.ShowZeroBytes) << file;
        // The main window's reader does not keep the compare mode: no key means no comparison.
        EXPECT_EQ(c.CompareMode, cmNone) << file;
        EXPECT_EQ(c.GroupOrder, goSize) << file;
    }
}

TEST(ProfileTest, OptionValuesOutOfRangeOrUnreadableGiveTheDefault) {
    struct TCase {
        const char* Options;
        TCompareMode CompareMode;
        TGroupOrder GroupOrder;
        bool ShowZeroBytes;
    };
    const TCase cases[] = {
        {"CompareMode=2\nGroupOrder=0x3\nShowZeroBytes=7\n", cmMD4, goSizeName, true},
        {"CompareMode=4\nGroupOrder=5\nShowZeroBytes=x\n", cmNone, goName, false},
        {"CompareMode=-1\nGroupOrder=-1\nShowZeroBytes=0\n", cmNone, goName, false},
        {"CompareMode=three\nGroupOrder=\n", cmNone, goName, false},
    };
    TTempDir dir;
    SearchCriteria current;
    current.GroupOrder = goName;
    for (const TCase& c : cases) {
        const std::string file = dir.WriteFile("o.qvp", std::string("[SearchOpts]\n") + c.Options);
        const SearchCriteria read =
            LoadProfile(file, current, dir / "quorvane.ini", kRoots).Criteria;
        EXPECT_EQ(read.CompareMode, c.CompareMode) << c.Options;
        EXPECT_EQ(read.GroupOrder, c.GroupOrder) << c.Options;
        EXPECT_EQ(read.ShowZeroBytes, c.ShowZeroBytes) << c.Options;
    }
}

TEST(ProfileTest, CaptionNamesTheProfileUnlessItIsTheConfigurationFile) {
    const std::pair<const char*, const char*> captions[] = {
        {"/p/My search.qvp", "Quorvane 2.0 - My search"},
        {"/p/a.b.QVP", "Quorvane 2.0 - a.b"},
        {"/p/no-extension", "Quorvane 2.0 - no-extension"},
        {"/p/.hidden", "Quorvane 2.0 - .hidden"},
        {"relative.qvp", "Quorvane 2.0 - relative"},
    };
    for (const auto& [file, caption] : captions)
        EXPECT_EQ(ProfileCaption(file), caption);

    TTempDir dir;
    const std::string config = dir / "quorvane.ini";
    const std::string profile = dir / "Night run.qvp";
    EXPECT_EQ(SaveProfile(profile, SearchCriteria{}, config).Caption, "Quorvane 2.0 - Night run");
    EXPECT_EQ(LoadProfile(profile, SearchCriteria{}, config, kRoots).Caption,
              "Quorvane 2.0 - Night run");
    EXPECT_EQ(SaveProfile(config, SearchCriteria{}, config).Caption, std::nullopt);
    EXPECT_EQ(LoadProfile(config, SearchCriteria{}, config, kRoots).Caption, std::nullopt);
    // The names are compared character for character.
    const std::string otherCase = dir / "QUORVANE.ini";
    EXPECT_EQ(LoadProfile(otherCase, SearchCriteria{}, config, kRoots).Caption,
              "Quorvane 2.0 - QUORVANE");
}

TEST(ProfileTest, FailedSaveIsReportedAndLeavesTheOldFileWhole) {
    TTempDir dir;
    const std::string config = dir / "quorvane.ini";
    const TProfileSaveResult blocked =
        SaveProfile(dir.WriteFile("file") + "/p.qvp", SampleCriteria(), config);
    EXPECT_FALSE(blocked.Saved);
    EXPECT_EQ(blocked.Caption, std::nullopt);

    const std::string old = "[IncludeFolders]\n/old/=\n";
    const std::string readOnly = dir.WriteFile("ro/p.qvp", old);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((dir / "ro").c_str(), 0777), 0);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0644), 0);
    EXPECT_EQ(test::RunAsUnprivileged([&] {
                  const TProfileSaveResult r = SaveProfile(readOnly, SampleCriteria(), config);
                  return !r.Saved && !r.Caption;
              }),
              0);
    EXPECT_EQ(ReadWholeFile(readOnly), old);
    EXPECT_THROW(WriteProfileFile(readOnly + "/below", SampleCriteria()), TIniWriteError);
    EXPECT_EQ(ProfileNoLongerExistsText("/p/x.qvp"), "Profile /p/x.qvp no longer exists");
}

TEST(SavedProfilesTest, MovesANameToTheTopWithoutRegardToLetterCase) {
    TSavedProfiles list({"/p/a.qvp", "/p/b.qvp", "/p/c.qvp"});
    list.MoveToTop("/p/c.qvp");
    EXPECT_EQ(list.Names(), (TList{"/p/c.qvp", "/p/a.qvp", "/p/b.qvp"}));
    list.MoveToTop("/p/c.qvp");
    EXPECT_EQ(list.Names(), (TList{"/p/c.qvp", "/p/a.qvp", "/p/b.qvp"}));
    // Saved again under another letter case: one entry, on top, naming the file just saved.
    list.MoveToTop("/P/B.qvp");
    EXPECT_EQ(list.Names(), (TList{"/P/B.qvp", "/p/c.qvp", "/p/a.qvp"}));
    list.MoveToTop("/p/new.qvp");
    EXPECT_EQ(list.Names().front(), "/p/new.qvp");
    list.Delete(1);
    list.Delete(10);
    EXPECT_EQ(list.Names(), (TList{"/p/new.qvp", "/p/c.qvp", "/p/a.qvp"}));
}

TEST(SavedProfilesTest, ShowsAndStoresTheFirstFiveOnly) {
    TTempDir dir;
    TSavedProfiles list;
    for (int i = 1; i <= 7; ++i)
        list.MoveToTop("/p/" + std::to_string(i) + ".qvp");
    const TList newestFive = {"/p/7.qvp", "/p/6.qvp", "/p/5.qvp", "/p/4.qvp", "/p/3.qvp"};
    EXPECT_EQ(list.Names().size(), 7u);
    EXPECT_EQ(list.Shown(), newestFive);

    TIniFile ini(dir.WriteFile("c.ini", "[SavedProfiles]\n/p/old.qvp=\n"));
    list.WriteTo(ini);
    EXPECT_EQ(TSavedProfiles::ReadFrom(ini).Names(), newestFive);
    EXPECT_EQ(TSavedProfiles().Shown(), TList{});
}

} // namespace
} // namespace quorvane
