#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/DateTime.h"
#include "platform/MainThreadQueue.h"
#include "search/SearchCriteria.h"
#include "search/SearchThd.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;
using TNames = std::vector<std::string>;

// Keeps everything the worker reports. Called on the worker's thread.
class TProgressRecorder final : public IProgress {
public:
    void Status(std::string_view text) override {
        {
            std::lock_guard lock(FMutex);
            FFolders.emplace_back(text);
        }
        if (OnStatus)
            OnStatus(text);
    }
    void Count(uint64_t count) override {
        FLastCount = count;
        if (OnCount)
            OnCount(count);
    }
    TNames Folders() const {
        std::lock_guard lock(FMutex);
        return FFolders;
    }
    uint64_t LastCount() const { return FLastCount; }

    std::function<void(std::string_view)> OnStatus;
    std::function<void(uint64_t)> OnCount;

private:
    mutable std::mutex FMutex;
    TNames FFolders;
    std::atomic<uint64_t> FLastCount{0};
};

// Runs a real search worker the way the pipeline does and waits for its end handler.
void RunSearch(const SearchCriteria& criteria, TFilesList& files, IProgress* progress = nullptr,
               const std::function<void(TSearchThread&)>& beforeStart = {}) {
    TSimpleQueue mainThread;
    bool ended = false;
    auto* thread = new TSearchThread(mainThread, progress); // frees itself
    thread->SetOnTerminate([&ended](TThread&) { ended = true; });
    thread->SetSearch(files, criteria);
    if (beforeStart)
        beforeStart(*thread);
    thread->Start();
    mainThread.RunUntil([&ended] { return ended; });
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TNames Sorted(TNames names) {
    std::sort(names.begin(), names.end());
    return names;
}

class SearchThreadTest : public ::testing::Test {
protected:
    SearchThreadTest() { Criteria.IncludeFolders = {Dir.Path()}; }

    // The full names found, relative to the temporary folder, in list order.
    TNames Search(IProgress* progress = nullptr,
                  const std::function<void(TSearchThread&)>& beforeStart = {}) {
        Files.Clear();
        RunSearch(Criteria, Files, progress, beforeStart);
        TNames names;
        for (const TFile* file : Files.Items())
            names.push_back(Relative(file->FullName()));
        return names;
    }
    std::string Relative(const std::string& fullName) const {
        return fullName.rfind(Dir.Path(), 0) == 0 ? fullName.substr(Dir.Path().size()) : fullName;
    }

    TTempDir Dir;
    SearchCriteria Criteria;
    TFilesList Files;
};

TEST_F(SearchThreadTest, TestsExcludeMasksBeforeIncludeMasks) {
    for (const char* name : {"x.tmp", "a.txt", "b.TXT", "c.doc", "README"})
        Dir.WriteFile(name);
    struct TCase {
        TNames Include, Exclude, Expected;
    };
    const std::vector<TCase> cases = {
        {{"*.*"}, {"*.TMP"}, {"README", "a.txt", "b.TXT", "c.doc"}},
        {{"*.txt"}, {}, {"a.txt", "b.TXT"}},
        {{"*.txt", "*.doc"}, {"A*"}, {"b.TXT", "c.doc"}},
        {{"*"}, {}, {"README"}},
        {{"*.tmp"}, {"*.TMP"}, {}},
        {{}, {}, {}}, // no include mask takes no file
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Include) + " without " +
                     ::testing::PrintToString(c.Exclude));
        Criteria.IncludeFiles = c.Include;
        Criteria.ExcludeFiles = c.Exclude;
        EXPECT_EQ(Sorted(Search()), Sorted(c.Expected));
    }
}

TEST_F(SearchThreadTest, TakesHiddenFilesAndFoldersOnlyWhenAsked) {
    for (const char* name :
         {"a.txt", ".h.txt", ".hid/b.txt", ".hid/.c.txt", "sub/.d.txt", "sub/e.txt"})
        Dir.WriteFile(name);
    struct TCase {
        bool SysFolders, SysFiles;
        TNames Expected;
    };
    const std::vector<TCase> cases = {
        {false, false, {"a.txt", "sub/e.txt"}},
        {false, true, {".h.txt", "a.txt", "sub/.d.txt", "sub/e.txt"}},
        {true, false, {".hid/b.txt", "a.txt", "sub/e.txt"}},
        {true, true, {".h.txt", ".hid/.c.txt", ".hid/b.txt", "a.txt", "sub/.d.txt", "sub/e.txt"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "folders " << c.SysFolders << ", files " << c.SysFiles);
        Criteria.IncludeSysFolders = c.SysFolders;
        Criteria.IncludeSysFiles = c.SysFiles;
        EXPECT_EQ(Sorted(Search()), c.Expected);
    }

    // An include folder is walked even when it is hidden itself.
    Criteria.IncludeSysFolders = Criteria.IncludeSysFiles = false;
    Criteria.IncludeFolders = {Dir / ".hid"};
    EXPECT_EQ(Search(), TNames{".hid/b.txt"});
}

TEST_F(SearchThreadTest, TakesZeroByteFilesOnlyWhenAskedButLargeFilesAlways) {
    Dir.WriteFile("empty.txt", "");
    const std::pair<const char*, int64_t> sparse[] = {{"four.bin", 4294967296LL},
                                                      {"three.bin", 3221225472LL}};
    for (const auto& [name, size] : sparse)
        ASSERT_EQ(::truncate(Dir.WriteFile(name, "").c_str(), size), 0);

    EXPECT_EQ(Sorted(Search()), (TNames{"four.bin", "three.bin"}));
    for (const TFile* file : Files.Items())
        EXPECT_EQ(file->Size, file->Name == "four.bin" ? 4294967296LL : 3221225472LL);

    Criteria.ShowZeroBytes = true;
    EXPECT_EQ(Sorted(Search()), (TNames{"empty.txt", "four.bin", "three.bin"}));
}

TEST_F(SearchThreadTest, SkipsExcludedFoldersMatchedWholeWithoutCase) {
    for (const char* name :
         {"Data/r.txt", "Data/Old/o.txt", "Data/Old/deep/p.txt", "Data/Older/q.txt"})
        Dir.WriteFile(name);
    const std::string lowerCase = Lower(Dir / "Data/Old/");
    struct TCase {
        std::string Excluded;
        TNames Expected;
    };
    const TNames all = {"Data/Old/deep/p.txt", "Data/Old/o.txt", "Data/Older/q.txt", "Data/r.txt"};
    const std::vector<TCase> cases = {
        {Dir / "Data/Old/", {"Data/Older/q.txt", "Data/r.txt"}},
        {lowerCase, {"Data/Older/q.txt", "Data/r.txt"}},
        {Dir / "Data/Old", all}, // without the trailing "/" it matches no folder
        {Dir / "Data/Old/deep/", {"Data/Old/o.txt", "Data/Older/q.txt", "Data/r.txt"}},
        {Dir.Path(), {}}, // an include folder that is also excluded yields nothing
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Excluded);
        Criteria.ExcludeFolders = {c.Excluded};
        TProgressRecorder progress;
        EXPECT_EQ(Sorted(Search(&progress)), c.Expected);
        if (c.Excluded.back() == '/') { // the excluded folder and those below it were not entered
            for (const std::string& folder : progress.Folders())
                EXPECT_FALSE(Lower(folder).starts_with(Lower(c.Excluded))) << folder;
        }
    }
}

TEST_F(SearchThreadTest, NeverFollowsLinksNorTakesAnythingButRegularFiles) {
    Dir.WriteFile("real.txt");
    Dir.WriteFile("folder/inner.txt");
    ASSERT_EQ(::symlink("real.txt", (Dir / "link-to-file.txt").c_str()), 0);
    ASSERT_EQ(::symlink("folder", (Dir / "link-to-folder").c_str()), 0);
    ASSERT_EQ(::symlink(".", (Dir / "folder/loop").c_str()), 0);
    ASSERT_EQ(::symlink("gone.txt", (Dir / "dangling.txt").c_str()), 0);
    ASSERT_EQ(::mkfifo((Dir / "pipe.txt").c_str(), 0600), 0); // opening it would block
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = Dir / "socket.txt";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(sock); // the socket stays in the folder
    Criteria.IncludeSysFiles = Criteria.IncludeSysFolders = Criteria.ShowZeroBytes = true;

    EXPECT_EQ(Sorted(Search()), (TNames{"folder/inner.txt", "real.txt"}));

    // A link named as an include folder is the user's choice and is followed.
    Criteria.IncludeFolders = {Dir / "link-to-folder"};
    EXPECT_EQ(Search(), TNames{"link-to-folder/inner.txt"});
}

TEST_F(SearchThreadTest, WalksEveryFolderOnceWhenIncludeFoldersRepeatOrNest) {
    for (const char* name : {"a.txt", "sub/b.txt", "sub/deeper/c.txt"})
        Dir.WriteFile(name);
    struct TCase {
        TNames Include, Expected;
    };
    const TNames all = {"a.txt", "sub/b.txt", "sub/deeper/c.txt"};
    const std::vector<TCase> cases = {
        {{Dir.Path(), Dir / "sub"}, all},
        {{Dir / "sub/", Dir.Path()}, all},
        {{Dir.Path(), Dir.Path()}, all},
        {{Dir / "sub/deeper", Dir / "sub", Dir / "sub/"}, {"sub/b.txt", "sub/deeper/c.txt"}},
        {{Dir / "missing", "", Dir / "sub/b.txt", Dir / "sub"}, {"sub/b.txt", "sub/deeper/c.txt"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Include));
        Criteria.IncludeFolders = c.Include;
        EXPECT_EQ(Sorted(Search()), c.Expected);
    }
}

// The walk as its recursive definition: what the worker must produce, folder by folder.
void ReferenceWalk(const std::string& folder, TNames& folders, TNames& files) {
    folders.push_back(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        if (fs::is_directory(status))
            ReferenceWalk(entry.path().string() + "/", folders, files);
        else if (fs::is_regular_file(status))
            files.push_back(entry.path().string());
    }
}

TEST_F(SearchThreadTest, WalksDepthFirstInListingOrderAndReportsEachFolderEntered) {
    for (const char* name : {"f1", "f2", "f3", "A/a1", "A/a2", "A/A1/a11", "A/A1/a12", "B/b1",
                             "B/B2/b21", "B/B2/B3/b31", "C/c1"})
        Dir.WriteFile(name);
    Dir.MakeFolder("B/B1");
    TNames expectedFolders, expectedFiles;
    ReferenceWalk(Dir.Path(), expectedFolders, expectedFiles);

    TProgressRecorder progress;
    Search(&progress);
    TNames found;
    for (const TFile* file : Files.Items())
        found.push_back(file->FullName());
    EXPECT_EQ(found, expectedFiles);
    EXPECT_EQ(progress.Folders(), expectedFolders);
    EXPECT_EQ(progress.LastCount(), expectedFiles.size());
}

TEST_F(SearchThreadTest, RecordsFolderNameSizeAndLocalDateOfEachFile) {
    const std::string notes = Dir.WriteFile("notes.txt", std::string(1234, 'n'));
    const std::string odd = Dir.WriteFile("sub/\xFF\xFEodd.bin", "raw"); // not valid UTF-8
    const int64_t written = 1173954031; // 2007-03-15 10:20:31 UTC, an odd second
    const timespec times[2] = {{written, 0}, {written, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, notes.c_str(), times, 0), 0);
    std::string include = Dir.Path();
    include.pop_back(); // the walk adds the trailing "/"
    Criteria.IncludeFolders = {include};

    ASSERT_EQ(Sorted(Search()), (TNames{"notes.txt", "sub/\xFF\xFEodd.bin"}));
    const TFile& first = *Files[Files[0]->Name == "notes.txt" ? 0 : 1];
    EXPECT_EQ(first.Path(), Dir.Path());
    EXPECT_EQ(first.Name, "notes.txt");
    EXPECT_EQ(first.Size, 1234);
    EXPECT_EQ(first.Date, FileTimeToDateTime(written, CurrentUtcOffsetSeconds()));
    const TFile& second = *Files[Files[0]->Name == "notes.txt" ? 1 : 0];
    EXPECT_EQ(second.Path(), Dir / "sub/");
    EXPECT_EQ(second.FullName(), odd);
}

TEST_F(SearchThreadTest, PassesOverAndCollectsTheFoldersItCannotRead) {
    for (const char* name : {"open/a.txt", "locked/secret.txt", "open2/b.txt", "listonly/c.txt",
                             "listonly/inner/d.txt", "root/e.txt"})
        Dir.WriteFile(name);
    ASSERT_EQ(::chmod(Dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((Dir / "locked").c_str(), 0), 0);
    ASSERT_EQ(::chmod((Dir / "listonly").c_str(), 0444), 0); // listed, but entries not looked at
    ASSERT_EQ(::chmod((Dir / "root").c_str(), 0), 0);
    Criteria.IncludeFolders = {Dir.Path(), Dir / "root", Dir / "missing"};

    const int status = test::RunAsUnprivileged([this] {
        TProgressRecorder progress;
        TUnreadFolders unread;
        const TNames found =
            Sorted(Search(&progress, [&](TSearchThread& t) { t.SetUnreadFolders(unread); }));
        const TNames folders = progress.Folders();
        TNames unreadTexts;
        for (const TUnreadFolder& folder : unread)
            unreadTexts.push_back(Relative(folder.Path) + " " + folder.Reason);
        const TNames expected = {"listonly/ Permission denied", "locked/ Permission denied",
                                 "missing/ No such file or directory", "root/ Permission denied"};
        if (Sorted(unreadTexts) != expected) {
            for (const std::string& text : unreadTexts)
                std::fprintf(stderr, "unread: %s\n", text.c_str());
            return false;
        }
        // Not listed, but its path was still shown.
        return found == TNames{"open/a.txt", "open2/b.txt"} &&
               std::find(folders.begin(), folders.end(), Dir / "locked/") != folders.end();
    });
    EXPECT_EQ(status, 0);
}

TEST_F(SearchThreadTest, StopsWithinOneEntryOfATerminateRequest) {
    for (int i = 0; i < 20; ++i) {
        Dir.WriteFile("one/file" + std::to_string(i));
        Dir.WriteFile("two/file" + std::to_string(i));
    }
    TTempDir second;
    second.WriteFile("more.txt");
    Criteria.IncludeFolders = {Dir.Path(), second.Path()};

    // Asked while the third file is being appended: that entry is finished, no other is read.
    TProgressRecorder atCount;
    TNames found = Search(&atCount, [&atCount](TSearchThread& thread) {
        atCount.OnCount = [&thread](uint64_t count) {
            if (count == 3)
                thread.Terminate();
        };
    });
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(atCount.Folders().size(), 2u); // the include folder and the first subfolder

    // Asked when a folder is entered: it is not listed, and nothing else is walked.
    TProgressRecorder atFolder;
    uint64_t foundWhenAsked = 0;
    Search(&atFolder, [&](TSearchThread& thread) {
        atFolder.OnStatus = [&](std::string_view folder) {
            if (folder == Dir / "two/") {
                foundWhenAsked = atFolder.LastCount();
                thread.Terminate();
            }
        };
    });
    EXPECT_EQ(Files.Count(), foundWhenAsked);
    EXPECT_EQ(atFolder.Folders().back(), Dir / "two/");

    // Asked before the start: nothing at all.
    TProgressRecorder before;
    EXPECT_TRUE(Search(&before, [](TSearchThread& thread) { thread.Terminate(); }).empty());
    EXPECT_TRUE(before.Folders().empty());
}

// Makes a chain of `depth` folders named "d" below `root`, with a file in every
// `fileEvery`-th level, using descriptors only (the paths are far beyond PATH_MAX). Returns
// the files' full names in the order a depth-first walk in listing order meets them.
TNames MakeDeepChain(const std::string& root, int depth, int fileEvery) {
    const auto makeFile = [](int folder, const std::string& name) {
        const int file = ::openat(folder, name.c_str(), O_CREAT | O_WRONLY, 0644);
        if (file < 0 || ::write(file, "x", 1) != 1)
            throw std::runtime_error("cannot write " + name);
        ::close(file);
    };
    TNames onTheWayDown, onTheWayUp;
    std::string path = root;
    int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level <= depth; ++level) {
        // File systems list in creation order, in reverse or by hash: half of the files are
        // made before their level's subfolder, so that some are listed after it.
        const std::string name = "f" + std::to_string(level);
        const bool hasFile = level % fileEvery == 0;
        if (hasFile && level % (2 * fileEvery) == 0)
            makeFile(folder, name);
        if (level < depth && ::mkdirat(folder, "d", 0755) != 0)
            throw std::runtime_error("mkdirat failed at level " + std::to_string(level));
        if (hasFile && level % (2 * fileEvery) != 0)
            makeFile(folder, name);
        if (hasFile) {
            // Whether the listing gives the file before the subfolder decides its place.
            bool fileFirst = true;
            DIR* listing = ::fdopendir(::dup(folder));
            while (const dirent* entry = ::readdir(listing)) {
                if (std::string_view(entry->d_name) == "d") {
                    fileFirst = false;
                    break;
                }
                if (name == entry->d_name)
                    break;
            }
            ::closedir(listing);
            (fileFirst ? onTheWayDown : onTheWayUp).push_back(path + name);
        }
        if (level < depth) {
            const int child = ::openat(folder, "d", O_RDONLY | O_DIRECTORY);
            ::close(folder);
            folder = child;
            path += "d/";
        }
    }
    ::close(folder);
    onTheWayDown.insert(onTheWayDown.end(), onTheWayUp.rbegin(), onTheWayUp.rend());
    return onTheWayDown;
}

// Removes such a chain without paths: down through descriptors, then up through "..".
void RemoveDeepChain(const std::string& root) {
    int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    int depth = 0;
    for (int child; (child = ::openat(folder, "d", O_RDONLY | O_DIRECTORY)) >= 0; ++depth) {
        ::close(folder);
        folder = child;
    }
    for (; folder >= 0; --depth) {
        DIR* listing = ::fdopendir(::dup(folder));
        while (const dirent* entry = ::readdir(listing))
            if (entry->d_name[0] == 'f')
                ::unlinkat(folder, entry->d_name, 0);
        ::closedir(listing);
        if (depth == 0)
            break;
        const int parent = ::openat(folder, "..", O_RDONLY | O_DIRECTORY);
        ::close(folder);
        ::unlinkat(parent, "d", AT_REMOVEDIR);
        folder = parent;
    }
    ::close(folder);
}

TEST_F(SearchThreadTest, WalksATreeTwentyThousandFoldersDeepInDepthFirstOrder) {
    constexpr int kDepth = 20000;
    // The chain lives in memory where it can: removing 20,000 folders from a disk takes far
    // longer than walking them.
    struct TChainRoot {
        std::string Path, Own;
        ~TChainRoot() {
            RemoveDeepChain(Path);
            if (!Own.empty())
                ::rmdir(Own.c_str());
        }
    } root{Dir.Path(), {}};
    std::string pattern = "/dev/shm/quorvane-deep-XXXXXX";
    if (::mkdtemp(pattern.data())) {
        root.Own = pattern;
        root.Path = pattern + "/";
    }
    const TNames expected = MakeDeepChain(root.Path, kDepth, 250);
    Criteria.IncludeFolders = {root.Path};

    TNames found;
    Search();
    for (const TFile* file : Files.Items())
        found.push_back(file->FullName());
    EXPECT_EQ(found, expected);
    std::size_t longest = 0;
    for (const TFile* file : Files.Items())
        longest = std::max(longest, file->Path().size());
    EXPECT_GT(longest, static_cast<std::size_t>(PATH_MAX));
}

TEST_F(SearchThreadTest, NeverEntersVirtualFileSystems) {
    Criteria.IncludeSysFiles = Criteria.IncludeSysFolders = Criteria.ShowZeroBytes = true;
    if (fs::exists("/proc/self/status") && fs::exists("/sys/kernel")) {
        Criteria.IncludeFolders = {"/proc/", "/sys/"};
        TProgressRecorder progress;
        EXPECT_TRUE(Search(&progress).empty());
        EXPECT_TRUE(progress.Folders().empty());
    }

    // A proc mounted below an ordinary folder is passed over on the way down.
    Dir.WriteFile("plain.txt");
    const std::string mountPoint = Dir.MakeFolder("proc");
    if (::mount("proc", mountPoint.c_str(), "proc", 0, nullptr) != 0)
        GTEST_SKIP() << "cannot mount proc here";
    struct TUnmount {
        std::string Point;
        ~TUnmount() { ::umount2(Point.c_str(), MNT_DETACH); }
    } unmount{mountPoint};
    Criteria.IncludeFolders = {Dir.Path()};
    EXPECT_EQ(Search(), TNames{"plain.txt"});
}

TEST(SearchThread, RefusesAnOverlongMaskBeforeStarting) {
    TSimpleQueue mainThread;
    TSearchThread thread(mainThread); // never started, so the caller still owns it
    const std::vector<std::string> masks = {"*.txt", std::string(256, 'a')};
    EXPECT_THROW(thread.SetIncludeFiles(masks), std::invalid_argument);
    EXPECT_THROW(thread.SetExcludeFiles(masks), std::invalid_argument);
}

TEST(SearchCriteria, StartsWithEveryFixedDriveAndAllFiles) {
    const SearchCriteria criteria = SearchCriteria::Initial();
    ASSERT_FALSE(criteria.IncludeFolders.empty());
    for (const std::string& folder : criteria.IncludeFolders)
        EXPECT_EQ(folder.back(), '/') << folder;
    EXPECT_TRUE(criteria.ExcludeFolders.empty());
    EXPECT_EQ(criteria.IncludeFiles, TNames{"*.*"});
    EXPECT_TRUE(criteria.ExcludeFiles.empty());
    EXPECT_FALSE(criteria.IncludeSysFolders || criteria.IncludeSysFiles || criteria.ShowZeroBytes);
    EXPECT_EQ(criteria.CompareMode, cmNone);
    EXPECT_EQ(criteria.GroupOrder, goNameSize);
}

} // namespace
} // namespace quorvane
