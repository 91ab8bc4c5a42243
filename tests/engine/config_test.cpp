#include "app/ConfigFile.h"
#include "app/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "results/DefaultFilters.h"
#include "testsupport/ScopedEnv.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TScopedEnv;
using test::TTempDir;
namespace fs = std::filesystem;

// Protected folders as (path, with subfolders) pairs, which the test macros can compare and print.
using TFolderPairs = std::vector<std::pair<std::string, bool>>;
TFolderPairs Pairs(const TProtectedFolders& folders) {
    TFolderPairs pairs;
    for (const TProtectedFolder& folder : folders)
        pairs.emplace_back(folder.Path, folder.Subfolders);
    return pairs;
}

// A temporary XDG_CONFIG_HOME whose configuration file does not exist yet.
class ConfigTest : public ::testing::Test {
protected:
    TTempDir Dir;
    TScopedEnv ConfigHome{"XDG_CONFIG_HOME", Dir / "xdg/config"};
    const std::string File = ConfigFilePath();

    TSettingsEnvironment Environment() const {
        return {TScreenSize{1920, 1080}, {"/usr/", "/etc/", "/boot/"}, {"/", "/srv/"}};
    }
    TSettings Load(const TSettingsEnvironment& environment) const {
        TSettings settings;
        LoadSettings(File, settings, environment);
        return settings;
    }
    TSettings Load() const { return Load(Environment()); }
    TIniFile Ini() const { return TIniFile(File); }
};

TEST(ConfigFilePathTest, FollowsXdgConfigHomeAndCreatesTheFolder) {
    TTempDir dir;
    TScopedEnv home("HOME", dir / "home");
    struct TCase {
        std::optional<std::string> ConfigHome;
        std::string Expected;
    };
    const TCase cases[] = {
        {dir / "a/b/c", dir / "a/b/c/Brindlecot/quorvane.ini"},
        {dir / "slash/", dir / "slash/Brindlecot/quorvane.ini"},
        {std::nullopt, dir / "home/.config/Brindlecot/quorvane.ini"},
        {"", dir / "home/.config/Brindlecot/quorvane.ini"},
        {"relative/dir", dir / "home/.config/Brindlecot/quorvane.ini"},
    };
    for (const TCase& c : cases) {
        TScopedEnv configHome("XDG_CONFIG_HOME", c.ConfigHome);
        const bool existed = fs::exists(fs::path(c.Expected).parent_path());
        EXPECT_EQ(ConfigFileLocation(), c.Expected) << c.ConfigHome.value_or("(unset)");
        EXPECT_EQ(fs::exists(fs::path(c.Expected).parent_path()), existed);
        EXPECT_EQ(ConfigFilePath(), c.Expected) << c.ConfigHome.value_or("(unset)");
        EXPECT_TRUE(fs::is_directory(fs::path(c.Expected).parent_path()));
    }
}

TEST_F(ConfigTest, FirstStartGivesEveryDefault) {
    ASSERT_FALSE(fs::exists(File));
    const TSettings s = Load();
    EXPECT_TRUE(s.UseSkin);
    EXPECT_EQ(s.MoveDir, "");
    EXPECT_EQ(s.ZipFile, "");
    EXPECT_TRUE(s.BlockDelete);
    EXPECT_TRUE(s.SeparateGroups);
    EXPECT_FALSE(s.CopyOnDblClick);
    EXPECT_FALSE(s.DontShowCompareMessage);
    ASSERT_TRUE(s.Window);
    EXPECT_EQ(s.Window->Width, 750);
    EXPECT_EQ(s.Window->Height, 560);
    EXPECT_EQ(s.Window->Left, (1920 - 750) / 2);
    EXPECT_EQ(s.Window->Top, (1080 - 560) / 2);
    EXPECT_EQ(Pairs(s.ProtectedFolders),
              (TFolderPairs{{"/usr/", true}, {"/etc/", true}, {"/boot/", true}}));
    EXPECT_TRUE(s.SavedProfiles.Names().empty());
    EXPECT_EQ(s.Criteria.IncludeFolders, (std::vector<std::string>{"/", "/srv/"}));
    EXPECT_TRUE(s.Criteria.ExcludeFolders.empty());
    EXPECT_EQ(s.Criteria.IncludeFiles, std::vector<std::string>{"*.*"});
    EXPECT_TRUE(s.Criteria.ExcludeFiles.empty());
    EXPECT_FALSE(s.Criteria.IncludeSysFolders || s.Criteria.IncludeSysFiles ||
                 s.Criteria.ShowZeroBytes);
    EXPECT_EQ(s.Criteria.CompareMode, cmNone);
    EXPECT_EQ(s.Criteria.GroupOrder, goNameSize);

    // The five default filters are in the file, in order, with their exact texts.
    const TIniFile ini = Ini();
    std::vector<std::string> names;
    for (const TNamedFilterText& filter : DefaultFilters()) {
        names.push_back(filter.Name);
        EXPECT_EQ(ini.ReadString(kFiltersSection, filter.Name, ""), filter.CriteriaHex);
    }
    EXPECT_EQ(ini.ReadSection(kFiltersSection), names);
    EXPECT_EQ(names.front(), "Documents");

    // The first showing happens once.
    EXPECT_TRUE(IsFirstShow(File));
    MarkFirstShown(File);
    EXPECT_FALSE(IsFirstShow(File));
    EXPECT_EQ(Ini().ReadSection(kFiltersSection), names);
}

TEST_F(ConfigTest, WindowIsCentredWhenItHasNoStoredPlace) {
    struct TCase {
        const char* Stored;
        TScreenSize Screen;
        int Left, Top, Width, Height;
    };
    const TCase cases[] = {
        {"", {1920, 1080}, 585, 260, 750, 560},
        {"", {1367, 769}, 308, 104, 750, 560},
        // Larger than the screen: truncated toward zero, not rounded down.
        {"", {701, 501}, -24, -29, 750, 560},
        {"Width=800\nHeight=600\n", {1024, 768}, 112, 84, 800, 600},
        {"Width=0x320\nHeight=bad\nTop=7\nLeft=-3\n", {1024, 768}, -3, 7, 800, 560},
    };
    for (const TCase& c : cases) {
        WriteFileAtomically(File, std::string("[Settings]\n") + c.Stored);
        TSettingsEnvironment environment = Environment();
        environment.Screen = c.Screen;
        const TSettings s = Load(environment);
        ASSERT_TRUE(s.Window);
        EXPECT_EQ(s.Window->Left, c.Left) << c.Stored;
        EXPECT_EQ(s.Window->Top, c.Top) << c.Stored;
        EXPECT_EQ(s.Window->Width, c.Width) << c.Stored;
        EXPECT_EQ(s.Window->Height, c.Height) << c.Stored;
    }
}

TEST_F(ConfigTest, MaximizedIsWrittenButNotReadAndNoWindowLeavesThePlacementAlone) {
    TSettings s = Load();
    s.Window = TWindowPlacement{10, 20, 900, 700, true};
    SaveSettings(File, s);
    EXPECT_TRUE(Ini().ReadBool("Settings", "Maximized", false));
    const TSettings back = Load();
    ASSERT_TRUE(back.Window);
    EXPECT_EQ(back.Window->Left, 10);
    EXPECT_EQ(back.Window->Top, 20);
    EXPECT_EQ(back.Window->Width, 900);
    EXPECT_EQ(back.Window->Height, 700);
    EXPECT_FALSE(back.Window->Maximized);

    // The command line has no window: it neither reads nor overwrites the placement.
    TSettingsEnvironment headless = Environment();
    headless.Screen.reset();
    TSettings cli = Load(headless);
    EXPECT_FALSE(cli.Window);
    cli.MoveDir = "/from/the/cli/";
    SaveSettings(File, cli);
    EXPECT_EQ(Ini().ReadInteger("Settings", "Width", 0), 900);
    EXPECT_EQ(Ini().ReadInteger("Settings", "Left", 0), 10);
    EXPECT_EQ(Ini().ReadString("Settings", "MoveDir", ""), "/from/the/cli/");
}

TEST_F(ConfigTest, DeletedDefaultFiltersComeBackAndOthersStay) {
    Load();
    TIniFile ini = Ini();
    ini.DeleteKey(kFiltersSection, "Documents");
    ini.WriteString(kFiltersSection, "Executables", "");
    ini.WriteString(kFiltersSection, "Support files", "ABCD");
    ini.WriteString(kFiltersSection, "Mine", "0123");
    ini.UpdateFile();

    TSettings s = Load();
    const TIniFile back = Ini();
    EXPECT_EQ(back.ReadString(kFiltersSection, "Documents", ""), DefaultFilters()[0].CriteriaHex);
    EXPECT_EQ(back.ReadString(kFiltersSection, "Executables", ""), DefaultFilters()[1].CriteriaHex);
    EXPECT_EQ(back.ReadString(kFiltersSection, "Support files", ""), "ABCD");
    EXPECT_EQ(back.ReadString(kFiltersSection, "Mine", ""), "0123");

    // A filter stored while the program runs survives the save at exit.
    TIniFile during = Ini();
    during.WriteString(kFiltersSection, "Stored during the run", "4567");
    during.UpdateFile();
    SaveSettings(File, s);
    EXPECT_EQ(Ini().ReadString(kFiltersSection, "Stored during the run", ""), "4567");
}

TEST_F(ConfigTest, SavedSettingsReadBackAndTheFirstStartEnds) {
    TSettings s = Load();
    s.UseSkin = false;
    s.MoveDir = "/home/u/moved/";
    s.ZipFile = " /home/u/archive.zip"; // blanks at the ends survive
    s.BlockDelete = false;
    s.SeparateGroups = false;
    s.CopyOnDblClick = true;
    s.DontShowCompareMessage = true;
    s.ProtectedFolders = {{"/home/u/keep/", true}, {"/home/u/only/", false}};
    s.SavedProfiles = TSavedProfiles({"/p/one.qvp", "/p/two.qvp"});
    s.Criteria.IncludeFolders = {"/home/u/"};
    s.Criteria.ExcludeFolders = {"/home/u/.cache/"};
    s.Criteria.IncludeFiles = {"*.jpg", "*.png"};
    s.Criteria.ExcludeFiles = {"~*"};
    s.Criteria.IncludeSysFolders = true;
    s.Criteria.ShowZeroBytes = true;
    s.Criteria.CompareMode = cmMD5;
    s.Criteria.GroupOrder = goSizeName;
    SaveSettings(File, s);

    const TSettings back = Load();
    EXPECT_FALSE(back.UseSkin);
    EXPECT_EQ(back.MoveDir, s.MoveDir);
    EXPECT_EQ(back.ZipFile, s.ZipFile);
    EXPECT_FALSE(back.BlockDelete);
    EXPECT_FALSE(back.SeparateGroups);
    EXPECT_TRUE(back.CopyOnDblClick);
    EXPECT_TRUE(back.DontShowCompareMessage);
    // The user took the system folders off: a later start does not put them back.
    EXPECT_EQ(Pairs(back.ProtectedFolders), Pairs(s.ProtectedFolders));
    EXPECT_EQ(back.SavedProfiles.Names(), s.SavedProfiles.Names());
    EXPECT_EQ(back.Criteria.IncludeFolders, s.Criteria.IncludeFolders);
    EXPECT_EQ(back.Criteria.ExcludeFolders, s.Criteria.ExcludeFolders);
    EXPECT_EQ(back.Criteria.IncludeFiles, s.Criteria.IncludeFiles);
    EXPECT_EQ(back.Criteria.ExcludeFiles, s.Criteria.ExcludeFiles);
    EXPECT_TRUE(back.Criteria.IncludeSysFolders);
    EXPECT_FALSE(back.Criteria.IncludeSysFiles);
    EXPECT_TRUE(back.Criteria.ShowZeroBytes);
    EXPECT_EQ(back.Criteria.CompareMode, cmMD5);
    EXPECT_EQ(back.Criteria.GroupOrder, goSizeName);
    EXPECT_FALSE(Ini().ReadBool("Config", "FirstTime", true));
}

TEST_F(ConfigTest, OnlyTheFirstFiveSavedProfilesAreWritten) {
    TSettings s = Load();
    const std::vector<std::string> seven = {"/p/1.qvp", "/p/2.qvp", "/p/3.qvp", "/p/4.qvp",
                                            "/p/5.qvp", "/p/6.qvp", "/p/7.qvp"};
    s.SavedProfiles = TSavedProfiles(seven);
    SaveSettings(File, s);
    EXPECT_EQ(s.SavedProfiles.Names().size(), 7u);
    EXPECT_EQ(Ini().ReadSection("SavedProfiles"),
              std::vector<std::string>(seven.begin(), seven.begin() + 5));
    EXPECT_EQ(Load().SavedProfiles.Names(),
              std::vector<std::string>(seven.begin(), seven.begin() + 5));
}

TEST_F(ConfigTest, ProtectedFolderValueNProtectsTheFolderAlone) {
    WriteFileAtomically(File, "[Config]\nFirstTime=0\n[ProtectedFolders]\n/a/=N\n/b/=\n"
                              "/c/=anything\n/d\n");
    TSettings s = Load();
    EXPECT_EQ(Pairs(s.ProtectedFolders),
              (TFolderPairs{{"/a/", false}, {"/b/", true}, {"/c/", false}, {"/d/", true}}));
    SaveSettings(File, s);
    const std::string text = ReadWholeFile(File);
    EXPECT_NE(text.find("[ProtectedFolders]\n/a/=N\n/b/=\n/c/=N\n/d/=\n"), std::string::npos)
        << text;
}

TEST_F(ConfigTest, FoldersThatDifferOnlyInLetterCaseAreBothKept) {
    TSettings s = Load();
    s.ProtectedFolders = {{"/data/Photos/", false}, {"/data/photos/", true}};
    s.Criteria.IncludeFolders = {"/data/Photos/", "/data/photos/"};
    s.Criteria.ExcludeFolders = {"/data/Photos/Old/", "/data/Photos/old/"};
    s.SavedProfiles = TSavedProfiles({"/p/a.qvp", "/p/A.qvp"});
    SaveSettings(File, s);

    const TSettings back = Load();
    EXPECT_EQ(Pairs(back.ProtectedFolders), Pairs(s.ProtectedFolders));
    EXPECT_EQ(back.Criteria.IncludeFolders, s.Criteria.IncludeFolders);
    EXPECT_EQ(back.Criteria.ExcludeFolders, s.Criteria.ExcludeFolders);
    // Saved profiles are names that compare without case, as the other sections' keys do.
    EXPECT_EQ(back.SavedProfiles.Names(), std::vector<std::string>{"/p/a.qvp"});
    // A file written before, with one spelling each, reads as it did.
    WriteFileAtomically(File, "[config]\nfirsttime=0\n[protectedfolders]\n/Data/=N\n"
                              "[includefolders]\n/Data/=\n");
    const TSettings old = Load();
    EXPECT_EQ(Pairs(old.ProtectedFolders), (TFolderPairs{{"/Data/", false}}));
    EXPECT_EQ(old.Criteria.IncludeFolders, std::vector<std::string>{"/Data/"});
}

TEST_F(ConfigTest, ReadSettingsReadsLikeLoadSettingsAndWritesNothing) {
    const std::string stored = "[Settings]\nBlockDelete=0\n[ProtectedFolders]\n/keep/=N\n";
    WriteFileAtomically(File, stored);
    TSettings s;
    ReadSettings(File, s, Environment());
    EXPECT_FALSE(s.BlockDelete);
    // Not stored as started once: the first start's system folders are protected too.
    EXPECT_EQ(
        Pairs(s.ProtectedFolders),
        (TFolderPairs{{"/keep/", false}, {"/usr/", true}, {"/etc/", true}, {"/boot/", true}}));
    EXPECT_EQ(ReadWholeFile(File), stored); // the missing default filters were not added

    const std::string missing = Dir / "nowhere/quorvane.ini";
    TSettings defaults;
    ReadSettings(missing, defaults, Environment());
    EXPECT_TRUE(defaults.BlockDelete);
    EXPECT_FALSE(fs::exists(Dir / "nowhere"));
}

TEST_F(ConfigTest, FirstStartDoesNotProtectASystemFolderTwice) {
    WriteFileAtomically(File, "[ProtectedFolders]\n/ETC/=N\n");
    EXPECT_EQ(Pairs(Load().ProtectedFolders),
              (TFolderPairs{{"/ETC/", false}, {"/usr/", true}, {"/boot/", true}}));
}

TEST(SystemFoldersTest, TakesRealFoldersAndSkipsLinks) {
    TTempDir root;
    root.MakeFolder("bin");
    root.MakeFolder("usr/lib");
    ASSERT_EQ(::symlink("usr/lib", (root / "lib").c_str()), 0);
    root.WriteFile("lib64", "not a folder");
    EXPECT_EQ(
        SystemFolders(root.Path()),
        (std::vector<std::string>{root / "usr/", root / "etc/", root / "boot/", root / "bin/"}));
    const std::vector<std::string> real = SystemFolders();
    ASSERT_GE(real.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(real.begin(), real.begin() + 3),
              (std::vector<std::string>{"/usr/", "/etc/", "/boot/"}));
    for (const std::string& folder : real)
        EXPECT_FALSE(fs::is_symlink(folder.substr(0, folder.size() - 1))) << folder;
}

TEST_F(ConfigTest, UnwritableFileSaysUnableToWriteToItAndStaysWhole) {
    TSettings s = Load();
    s.MoveDir = "/old/";
    SaveSettings(File, s);
    const std::string before = ReadWholeFile(File);
    const std::string folder = fs::path(File).parent_path().string();
    // The user may enter the folders but not write in the configuration folder.
    for (fs::path p = folder; p.string().size() >= Dir.Path().size() - 1; p = p.parent_path())
        ASSERT_EQ(::chmod(p.c_str(), 0755), 0) << p;
    ASSERT_EQ(::chmod(File.c_str(), 0666), 0);

    const int status = test::RunAsUnprivileged([&] {
        TSettings changed = s;
        changed.MoveDir = "/new/";
        try {
            SaveSettings(File, changed);
        } catch (const TIniWriteError& error) {
            return std::string(error.what()) == "Unable to write to " + File;
        }
        return false;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(File), before);

    // At start, a file whose missing filters cannot be written still gives every setting.
    TIniFile withoutFilters = Ini();
    withoutFilters.EraseSection(kFiltersSection);
    withoutFilters.UpdateFile();
    ASSERT_EQ(::chmod(File.c_str(), 0644), 0);
    const int loadStatus = test::RunAsUnprivileged([&] {
        TSettings loaded;
        try {
            LoadSettings(File, loaded, Environment());
        } catch (const TIniWriteError&) {
            return loaded.MoveDir == "/old/" && loaded.Window.has_value();
        }
        return false;
    });
    EXPECT_EQ(loadStatus, 0);
}

} // namespace
} // namespace quorvane
