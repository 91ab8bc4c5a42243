#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include "actions/FileAction.h"
#include "app/PipelineController.h"
#include "testsupport/RecordingView.h"
#include "testsupport/TempDir.h"
#include "testsupport/TrashInfoReader.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// Answers the overwrite question from a script and records each question.
class TScriptedPrompts final : public IActionPrompts {
public:
    explicit TScriptedPrompts(std::vector<bool> answers = {}) : FAnswers(std::move(answers)) {}
    bool ConfirmOverwrite(const std::string& target) override {
        Asked.push_back(target);
        ActionRunningWhenAsked = Checks && Checks->ActionRunning();
        const bool answer = FAnswers.empty() ? false : FAnswers.front();
        if (!FAnswers.empty())
            FAnswers.erase(FAnswers.begin());
        return answer;
    }
    std::vector<std::string> Asked;
    const TCheckMarks* Checks = nullptr;
    bool ActionRunningWhenAsked = false;

private:
    std::vector<bool> FAnswers;
};

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every entry of a zip archive with its contents, read with libzip; empty when it cannot be opened.
std::map<std::string, std::string> ZipEntries(const std::string& archive) {
    std::map<std::string, std::string> entries;
    int code = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        std::string& contents = entries[zip_get_name(zip, index, ZIP_FL_ENC_RAW)];
        zip_file_t* file = zip_fopen_index(zip, index, 0);
        char buffer[4096];
        zip_int64_t got;
        while (file && (got = zip_fread(file, buffer, sizeof buffer)) > 0)
            contents.append(buffer, static_cast<std::size_t>(got));
        if (file)
            zip_fclose(file);
    }
    zip_discard(zip);
    return entries;
}

bool Exists(const std::string& name) {
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

// A searched folder whose duplicates are in the results, with helpers to check rows by name and
// run an action as a front end would.
class FileActionTest : public ::testing::Test {
protected:
    FileActionTest() {
        settings.Criteria.IncludeFolders = {dir.Path()};
        settings.Criteria.CompareMode = cmCrc;
        settings.Criteria.GroupOrder = goSize; // groups by contents, whatever the names
        settings.BlockDelete = false;
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            FOldDataHome = old;
        ::setenv("XDG_DATA_HOME", trashHome.Path().c_str(), 1);
    }
    ~FileActionTest() override {
        if (FOldDataHome)
            ::setenv("XDG_DATA_HOME", FOldDataHome->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    void Search() {
        controller.SearchExecute();
        queue.RunUntil([&] { return !controller.WorkerRunning(); });
        queue.Drain();
    }

    // The record of the row showing the file (relative to the searched folder).
    std::optional<uint32_t> RecordOf(const std::string& relative) const {
        const TResultView& view = controller.Results().View();
        for (uint32_t record = 0; record < view.RowCount(); ++record)
            if (view.File(record).FullName() == dir / relative)
                return record;
        return std::nullopt;
    }

    void Check(const std::vector<std::string>& relatives) {
        std::vector<uint32_t> records;
        for (const std::string& relative : relatives) {
            const auto record = RecordOf(relative);
            ASSERT_TRUE(record) << relative << " has no row";
            records.push_back(*record);
        }
        controller.Results().Checks().CheckSelected(records);
    }

    std::vector<std::string> Rows() const {
        std::vector<std::string> names;
        const TResultView& view = controller.Results().View();
        for (uint32_t record = 0; record < view.RowCount(); ++record)
            names.push_back(view.File(record).FullName().substr(dir.Path().size()));
        std::sort(names.begin(), names.end());
        return names;
    }

    TActionPlan Plan(TFileOperation operation, const std::string& destination = {}) const {
        return PlanFileAction(controller.Results(), operation, destination);
    }

    TActionOutcome Run(const TActionPlan& plan, TScriptedPrompts prompts = TScriptedPrompts()) {
        TActionOutcome outcome;
        EXPECT_TRUE(controller.RunFileAction(plan, prompts, outcome));
        lastPrompts = prompts;
        return outcome;
    }

    test::TTempDir dir;
    test::TTempDir trashHome; // $XDG_DATA_HOME: the trash is trashHome / "Trash"
    TSimpleQueue queue;
    test::TRecordingView view{queue};
    TSettings settings;
    TPipelineController controller{queue, view, settings};
    TScriptedPrompts lastPrompts;

private:
    std::optional<std::string> FOldDataHome;
};

TEST_F(FileActionTest, DeleteRemovesTheCheckedFilesAndRegroupsWithoutThem) {
    dir.WriteFile("a/same.txt", "same");
    dir.WriteFile("b/same.txt", "same");
    dir.WriteFile("c/same.txt", "same");
    dir.WriteFile("a/pair.bin", "pair!");
    dir.WriteFile("b/pair.bin", "pair!");
    Search();
    Check({"b/same.txt", "b/pair.bin"});

    const TActionOutcome outcome = Run(Plan(TFileOperation::Delete));

    EXPECT_FALSE(outcome.AnyFailed());
    EXPECT_EQ(FailureReport(outcome), "");
    EXPECT_FALSE(Exists(dir / "b/same.txt"));
    EXPECT_FALSE(Exists(dir / "b/pair.bin"));
    // The pair lost its partner and leaves the grid; the group of three keeps two.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a/same.txt", "c/same.txt"}));
    EXPECT_EQ(controller.Files().Count(), 3u);
    EXPECT_EQ(view.WaitTexts.back(), "Classifying files");
    EXPECT_TRUE(view.Idle);
    EXPECT_FALSE(view.WaitFormShown);
    EXPECT_EQ(view.Panels[spFirst], "");
    EXPECT_FALSE(controller.Results().Checks().ActionRunning());
    EXPECT_TRUE(controller.Results().Checks().CheckedList().empty());
}

TEST_F(FileActionTest, PlanGoesDownTheRecordsWithTheTargetsOfEachOperation) {
    dir.WriteFile("data/sub/a.txt", "aaa");
    dir.WriteFile("data/b.txt", "aaa");
    dir.WriteFile("c.txt", "aaa");
    Search();
    Check({"data/sub/a.txt", "c.txt", "data/b.txt"});

    const TActionPlan move = Plan(TFileOperation::Move, "/spare");
    EXPECT_EQ(move.Destination, "/spare/");
    ASSERT_EQ(move.Steps.size(), 3u);
    for (std::size_t i = 1; i < move.Steps.size(); ++i)
        EXPECT_GT(move.Steps[i - 1].Record, move.Steps[i].Record);
    for (const TActionStep& step : move.Steps) {
        EXPECT_EQ(step.Target, "/spare" + step.Source);
        EXPECT_EQ(controller.Files()[step.FilePosition]->FullName(), step.Source);
        EXPECT_EQ(step.Size, 3);
    }
    EXPECT_EQ(move.GroupsLosingLastCopy, 0u) << "a move keeps every content";

    const TActionPlan zip = Plan(TFileOperation::Compress, "/tmp/x.zip");
    for (const TActionStep& step : zip.Steps)
        EXPECT_EQ("/" + step.Target, step.Source);
    EXPECT_EQ(zip.GroupsLosingLastCopy, 1u);
    EXPECT_TRUE(Plan(TFileOperation::Delete).Steps[0].Target.empty());
}

TEST_F(FileActionTest, CheckedRowsHiddenByTheFilterAreLeftAlone) {
    dir.WriteFile("a/keep.txt", "same");
    dir.WriteFile("b/keep.txt", "same");
    dir.WriteFile("c/keep.txt", "same");
    Search();
    Check({"b/keep.txt", "c/keep.txt"});
    const std::string hidden = dir / "c/keep.txt";
    controller.Results().SetFilter(
        [&](const TResultRow&, const TFile& file) { return file.FullName() != hidden; });

    const TActionPlan plan = Plan(TFileOperation::Delete);
    ASSERT_EQ(plan.Steps.size(), 1u);
    Run(plan);
    EXPECT_FALSE(Exists(dir / "b/keep.txt"));
    EXPECT_TRUE(Exists(hidden));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a/keep.txt", "c/keep.txt"}));
}

TEST_F(FileActionTest, FilesChangedOrGoneSinceTheSearchAreNotTouchedAndKeepTheirRows) {
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    dir.WriteFile("c/f.txt", "same");
    dir.WriteFile("d/f.txt", "same");
    dir.WriteFile("e/f.txt", "same");
    Search();
    Check({"a/f.txt", "b/f.txt", "c/f.txt", "d/f.txt"});
    dir.WriteFile("a/f.txt", "longer now");                       // size differs
    const timespec older[2] = {{0, UTIME_OMIT}, {1000000000, 0}}; // same size, other date
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "b/f.txt").c_str(), older, 0), 0);
    fs::remove(dir / "c/f.txt");
    fs::remove(dir / "d/f.txt");
    fs::create_symlink(dir / "e/f.txt", dir / "d/f.txt"); // a link is not the file recorded

    const TActionOutcome outcome = Run(Plan(TFileOperation::Delete));

    ASSERT_EQ(outcome.Results.size(), 4u);
    for (const TStepResult& result : outcome.Results) {
        EXPECT_EQ(result.Outcome, TStepOutcome::Changed) << result.Source;
        const bool gone = result.Source == dir / "c/f.txt";
        EXPECT_EQ(result.Error, gone ? "no longer exists" : "changed since the search")
            << result.Source;
    }
    EXPECT_TRUE(Exists(dir / "a/f.txt") && Exists(dir / "b/f.txt") && Exists(dir / "d/f.txt"));
    EXPECT_EQ(Rows().size(), 5u) << "every row stays";
    const std::string report = FailureReport(outcome);
    EXPECT_EQ(report.substr(0, report.find('\n')), "The following files were not deleted:");
    EXPECT_NE(report.find(dir / "c/f.txt" + ": no longer exists"), std::string::npos);
}

TEST_F(FileActionTest, MoveKeepsTheFoldersAndAsksBeforeReplacing) {
    dir.WriteFile("data/sub/a.txt", "same");
    dir.WriteFile("data/b.txt", "same");
    dir.WriteFile("keep.txt", "same");
    Search();
    const std::string spare = dir / "spare"; // no "/": the plan adds it
    // A file of the same name waits at the first target.
    const std::string taken = spare + dir.Path() + "data/sub/a.txt";
    dir.WriteFile("spare" + dir.Path() + "data/sub/a.txt", "older");
    const std::string free = spare + dir.Path() + "data/b.txt";

    // No: the file stays and keeps its row; the other file moves.
    Check({"data/sub/a.txt", "data/b.txt"});
    TScriptedPrompts no({false});
    no.Checks = &controller.Results().Checks();
    TActionOutcome outcome;
    ASSERT_TRUE(controller.RunFileAction(Plan(TFileOperation::Move, spare), no, outcome));
    EXPECT_EQ(no.Asked, std::vector<std::string>{taken});
    EXPECT_TRUE(no.ActionRunningWhenAsked);
    EXPECT_EQ(ReadFile(taken), "older");
    EXPECT_EQ(ReadFile(free), "same");
    EXPECT_FALSE(Exists(dir / "data/b.txt"));
    EXPECT_EQ(FailureReport(outcome), "") << "a declined file is no failure";
    EXPECT_EQ(Rows(), (std::vector<std::string>{"data/sub/a.txt", "keep.txt"}));

    // Yes: the file replaces the one waiting there.
    Check({"data/sub/a.txt"});
    const TActionOutcome replaced =
        Run(Plan(TFileOperation::Move, spare), TScriptedPrompts({true}));
    EXPECT_EQ(lastPrompts.Asked, std::vector<std::string>{taken});
    EXPECT_EQ(ReadFile(taken), "same");
    EXPECT_FALSE(Exists(dir / "data/sub/a.txt"));
    EXPECT_TRUE(Rows().empty());
}

TEST_F(FileActionTest, MoveFailuresLeaveTheFileAndItsRow) {
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    const std::string blocker = dir.WriteFile("plain file", "not a folder");
    Search();
    Check({"a/f.txt"});
    struct {
        std::string Destination, Error;
    } cases[] = {
        // mkdir below a regular file fails, even for root
        {blocker, "cannot create the folder " + blocker + ": Not a directory"},
        // the target would be the file itself
        {"/", "the target " + dir / "a/f.txt" + " is the file itself"},
    };
    for (const auto& c : cases) {
        const TActionOutcome outcome = Run(Plan(TFileOperation::Move, c.Destination));
        ASSERT_EQ(outcome.Results.size(), 1u);
        EXPECT_EQ(outcome.Results[0].Outcome, TStepOutcome::Failed);
        EXPECT_EQ(outcome.Results[0].Error, c.Error);
        EXPECT_TRUE(lastPrompts.Asked.empty());
        EXPECT_EQ(ReadFile(dir / "a/f.txt"), "same");
        EXPECT_EQ(Rows(), (std::vector<std::string>{"a/f.txt", "b/f.txt"}));
        Check({"a/f.txt"});
    }
}

TEST_F(FileActionTest, MoveToAnotherFileSystem) {
    struct stat tmp, shm;
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.Path().c_str(), &tmp) != 0 ||
        tmp.st_dev == shm.st_dev)
        GTEST_SKIP() << "/dev/shm is no file system of its own here";
    char pattern[] = "/dev/shm/quorvane-action-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    Search();
    Check({"b/f.txt"});
    const TActionOutcome outcome = Run(Plan(TFileOperation::Move, pattern));
    EXPECT_EQ(FailureReport(outcome), "");
    EXPECT_EQ(ReadFile(std::string(pattern) + dir.Path() + "b/f.txt"), "same");
    EXPECT_FALSE(Exists(dir / "b/f.txt"));
    fs::remove_all(pattern);
}

TEST_F(FileActionTest, CompressAddsToTheArchiveAndNeverReplacesAnEntry) {
    dir.WriteFile("a/one\xFF.txt", "one");
    dir.WriteFile("b/one\xFF.txt", "one");
    dir.WriteFile("a/sub/two.txt", "two!");
    dir.WriteFile("b/two.txt", "two!");
    dir.WriteFile("c/two.txt", "two!");
    Search();
    Check({"a/one\xFF.txt", "a/sub/two.txt"});
    const std::string archive = dir / "out/archive.zip";
    fs::create_directories(dir / "out");
    TActionOutcome outcome = Run(Plan(TFileOperation::Compress, archive));
    EXPECT_EQ(FailureReport(outcome), "");
    EXPECT_FALSE(Exists(dir / "a/one\xFF.txt") || Exists(dir / "a/sub/two.txt"));
    const std::string base = dir.Path().substr(1); // entries carry the folder path, no "/"
    using TEntries = std::map<std::string, std::string>;
    EXPECT_EQ(ZipEntries(archive),
              (TEntries{{base + "a/one\xFF.txt", "one"}, {base + "a/sub/two.txt", "two!"}}));

    // A second compress adds, and a name already stored is refused: its first file is gone.
    dir.WriteFile("a/one\xFF.txt", "one");
    Search();
    Check({"a/one\xFF.txt", "b/two.txt"});
    outcome = Run(Plan(TFileOperation::Compress, archive));
    ASSERT_EQ(outcome.Results.size(), 2u);
    for (const TStepResult& result : outcome.Results) {
        const bool stored = result.Source == dir / "a/one\xFF.txt";
        EXPECT_EQ(result.Outcome, stored ? TStepOutcome::Failed : TStepOutcome::Done);
        EXPECT_EQ(result.Error, stored ? "already in the archive" : "");
    }
    EXPECT_TRUE(Exists(dir / "a/one\xFF.txt"));
    EXPECT_EQ(ZipEntries(archive), (TEntries{{base + "a/one\xFF.txt", "one"},
                                             {base + "a/sub/two.txt", "two!"},
                                             {base + "b/two.txt", "two!"}}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a/one\xFF.txt", "b/one\xFF.txt"}));
    EXPECT_TRUE(Exists(dir / "c/two.txt"));
}

TEST_F(FileActionTest, AnArchiveThatCannotBeWrittenDeletesNothing) {
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    dir.WriteFile("c/f.txt", "same");
    const std::string blocker = dir.WriteFile("plain file", "not a folder");
    const std::string notAZip = dir.WriteFile("notes.zip", "my notes, not an archive");
    Search();
    for (const std::string& archive : {blocker + "/out.zip", notAZip}) {
        Check({"a/f.txt", "b/f.txt"});
        const TActionOutcome outcome = Run(Plan(TFileOperation::Compress, archive));
        EXPECT_EQ(outcome.ArchiveError.rfind("Unable to open the archive " + archive + ": ", 0), 0u)
            << outcome.ArchiveError;
        for (const TStepResult& result : outcome.Results)
            EXPECT_EQ(result.Outcome, TStepOutcome::Failed);
        const std::string report = FailureReport(outcome);
        EXPECT_EQ(report.substr(0, report.find('\n')), outcome.ArchiveError);
        EXPECT_NE(report.find("The following files were not compressed:"), std::string::npos);
        EXPECT_EQ(Rows().size(), 3u);
    }
    EXPECT_EQ(ReadFile(notAZip), "my notes, not an archive");
    EXPECT_TRUE(Exists(dir / "a/f.txt") && Exists(dir / "b/f.txt"));
}

// A file that changes after the archive took its bytes no longer matches its entry: kept.
TEST_F(FileActionTest, CompressKeepsAFileThatNoLongerMatchesItsEntry) {
    const std::string file = dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    Search();
    Check({"a/f.txt"});
    const TActionPlan plan = Plan(TFileOperation::Compress, dir / "a.zip");
    int calls = 0;
    TScriptedPrompts prompts;
    // The pump runs while the archive is written: each call gives the file new bytes of the
    // same size, so that what is stored is older than what is checked afterwards.
    const TActionOutcome outcome = ExecuteFileAction(plan, prompts, [&] {
        std::ofstream(file, std::ios::binary | std::ios::in)
            << static_cast<char>('a' + calls++ % 26);
    });
    ASSERT_GE(calls, 2);
    ASSERT_EQ(outcome.Results.size(), 1u);
    EXPECT_EQ(outcome.Results[0].Outcome, TStepOutcome::Failed);
    EXPECT_EQ(outcome.Results[0].Error,
              "the archive's copy differs from the file; it was not deleted");
    EXPECT_TRUE(Exists(file));
}

TEST_F(FileActionTest, ATrashThatCannotBeMadeLeavesTheFileAndItsRow) {
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    const std::string blocker = dir.WriteFile("plain file", "not a folder");
    Search();
    Check({"a/f.txt"});
    ::setenv("XDG_DATA_HOME", (blocker + "/data").c_str(), 1);
    const TActionOutcome outcome = Run(Plan(TFileOperation::Recycle));
    ASSERT_EQ(outcome.Results.size(), 1u);
    EXPECT_EQ(outcome.Results[0].Outcome, TStepOutcome::Failed);
    EXPECT_EQ(outcome.Results[0].Error,
              "cannot create the folder " + blocker + ": Not a directory");
    EXPECT_EQ(ReadFile(dir / "a/f.txt"), "same");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a/f.txt", "b/f.txt"}));
}

// A front end whose question throws: the error goes on, and clicks work again afterwards.
TEST_F(FileActionTest, AnEscapingErrorClearsTheActionRunningFlag) {
    class TThrowingPrompts final : public IActionPrompts {
    public:
        bool ConfirmOverwrite(const std::string&) override { throw std::runtime_error("closed"); }
    } prompts;
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    dir.WriteFile("spare" + dir.Path() + "a/f.txt", "in the way");
    Search();
    Check({"a/f.txt"});
    TActionOutcome outcome;
    EXPECT_THROW(
        controller.RunFileAction(Plan(TFileOperation::Move, dir / "spare"), prompts, outcome),
        std::runtime_error);
    EXPECT_FALSE(controller.Results().Checks().ActionRunning());
    EXPECT_TRUE(Exists(dir / "a/f.txt"));
    EXPECT_TRUE(controller.RunFileAction(Plan(TFileOperation::Delete), lastPrompts, outcome));
    EXPECT_FALSE(Exists(dir / "a/f.txt"));
}

// The overwrite question lets events through: a command that would replace or reorder the file
// list must not slip in while the action holds positions in it.
TEST_F(FileActionTest, CommandsThatChangeTheListWaitForTheAction) {
    class TBusyUser final : public IActionPrompts {
    public:
        explicit TBusyUser(TPipelineController& controller) : FController(controller) {}
        bool ConfirmOverwrite(const std::string&) override {
            FController.SearchExecute();
            Refused = !FController.WorkerRunning() && !FController.ChangeGroupOrder(goName) &&
                      !FController.CompareContents(cmMD5, {0}) &&
                      !FController.LoadFilesList("/nonexistent.qfl");
            TActionOutcome nested;
            Refused = Refused && !FController.RunFileAction({}, *this, nested);
            return true;
        }
        bool Refused = false;

    private:
        TPipelineController& FController;
    } user(controller);
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    dir.WriteFile("c/f.txt", "same");
    dir.WriteFile("spare" + dir.Path() + "a/f.txt", "in the way");
    Search();
    Check({"a/f.txt"});
    TActionOutcome outcome;
    ASSERT_TRUE(controller.RunFileAction(Plan(TFileOperation::Move, dir / "spare"), user, outcome));
    EXPECT_TRUE(user.Refused);
    EXPECT_EQ(FailureReport(outcome), "");
    EXPECT_EQ(ReadFile(dir / "spare" + dir.Path() + "a/f.txt"), "same");
    EXPECT_TRUE(view.Messages.empty()) << "a refused command says nothing";
}

TEST_F(FileActionTest, RefusedWhileAWorkerRuns) {
    dir.WriteFile("a/f.txt", "same");
    dir.WriteFile("b/f.txt", "same");
    Search();
    Check({"a/f.txt"});
    const TActionPlan plan = Plan(TFileOperation::Delete);
    settings.Criteria.IncludeFolders = {dir.Path()};
    controller.SearchExecute();
    ASSERT_TRUE(controller.WorkerRunning());
    TScriptedPrompts prompts;
    TActionOutcome outcome;
    EXPECT_FALSE(controller.RunFileAction(plan, prompts, outcome));
    EXPECT_TRUE(Exists(dir / "a/f.txt"));
    queue.RunUntil([&] { return !controller.WorkerRunning(); });
}

// Names a shell or a comma-separated list would take apart, and bytes that are not UTF-8.
const std::vector<std::string> kHostileNames = {"it's \"quoted\"", "$(touch pwned)", "two  spaces ",
                                                "a,b,c",           "new\nline",      "\xFF\xFEraw"};

std::string OperationName(TFileOperation operation) {
    static const char* const names[] = {"Delete", "Recycle", "Move", "Compress"};
    return names[static_cast<int>(operation)];
}

class HostileNames : public FileActionTest, public ::testing::WithParamInterface<TFileOperation> {};

TEST_P(HostileNames, EveryOperationActsOnExactlyTheNamedFiles) {
    const TFileOperation operation = GetParam();
    std::vector<std::string> checked;
    for (const std::string& name : kHostileNames) {
        dir.WriteFile("keep/" + name, "content of " + name);
        dir.WriteFile("go/" + name, "content of " + name);
        checked.push_back("go/" + name);
    }
    Search();
    Check(checked);
    const std::string destination = operation == TFileOperation::Move       ? dir / "moved"
                                    : operation == TFileOperation::Compress ? dir / "a.zip"
                                                                            : "";
    const TActionOutcome outcome = Run(Plan(operation, destination));

    EXPECT_EQ(FailureReport(outcome), "");
    for (const std::string& name : kHostileNames) {
        const std::string source = dir / ("go/" + name);
        EXPECT_FALSE(Exists(source)) << name;
        EXPECT_EQ(ReadFile(dir / ("keep/" + name)), "content of " + name);
        if (operation == TFileOperation::Recycle) {
            const auto info =
                test::ReadTrashInfo(ReadFile(trashHome / ("Trash/info/" + name + ".trashinfo")));
            ASSERT_TRUE(info) << name;
            EXPECT_EQ(info->Path, source);
            EXPECT_EQ(ReadFile(trashHome / ("Trash/files/" + name)), "content of " + name);
        }
        if (operation == TFileOperation::Move) {
            EXPECT_EQ(ReadFile(dir / "moved" + source), "content of " + name);
        }
        if (operation == TFileOperation::Compress) {
            EXPECT_EQ(ZipEntries(destination)[source.substr(1)], "content of " + name);
        }
    }
    EXPECT_FALSE(Exists(dir / "pwned"));
    EXPECT_FALSE(Exists(dir / "keep/pwned"));
    EXPECT_TRUE(Rows().empty()) << "every group lost its partner";
}

INSTANTIATE_TEST_SUITE_P(Operations, HostileNames,
                         ::testing::Values(TFileOperation::Delete, TFileOperation::Recycle,
                                           TFileOperation::Move, TFileOperation::Compress),
                         [](const auto& info) { return OperationName(info.param); });

struct TGuardCase {
    const char* Name;
    std::vector<std::string> Checked;
    std::vector<std::string> Hidden; // rows the filter hides
    std::size_t Expected;
};

// Group one: g1/a, g1/b, and g1/c, a hard link of g1/a found as a file of its own.
// Group two: g2/a, g2/b.
class LastCopyGuard : public FileActionTest, public ::testing::WithParamInterface<TGuardCase> {};

TEST_P(LastCopyGuard, CountsGroupsWithNoRemainingCopy) {
    const TGuardCase& c = GetParam();
    dir.WriteFile("g1/a", "one");
    dir.WriteFile("g1/b", "one");
    fs::create_hard_link(dir / "g1/a", dir / "g1/c");
    dir.WriteFile("g2/a", "second");
    dir.WriteFile("g2/b", "second");
    Search();
    Check(c.Checked);
    if (!c.Hidden.empty())
        controller.Results().SetFilter([&](const TResultRow&, const TFile& file) {
            for (const std::string& hidden : c.Hidden)
                if (file.FullName() == dir / hidden)
                    return false;
            return true;
        });
    for (TFileOperation operation :
         {TFileOperation::Delete, TFileOperation::Recycle, TFileOperation::Compress})
        EXPECT_EQ(Plan(operation, "/tmp/x.zip").GroupsLosingLastCopy, c.Expected);
    EXPECT_EQ(Plan(TFileOperation::Move, "/spare").GroupsLosingLastCopy, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LastCopyGuard,
    ::testing::Values(TGuardCase{"OneOfAPair", {"g2/a"}, {}, 0},
                      TGuardCase{"WholePair", {"g2/a", "g2/b"}, {}, 1},
                      TGuardCase{"BothGroups", {"g1/a", "g1/b", "g1/c", "g2/a", "g2/b"}, {}, 2},
                      // g1/c is g1/a under another name: removing g1/a leaves the contents
                      // on disk under g1/c.
                      TGuardCase{"LinkLeftOfAPlannedFile", {"g1/a", "g1/b"}, {}, 0},
                      TGuardCase{"LinkAndItsTwin", {"g1/a", "g1/c"}, {}, 0},
                      // A row hidden by the filter stays, and so does its copy.
                      TGuardCase{"HiddenRowKeepsACopy", {"g2/a", "g2/b"}, {"g2/b"}, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FileActionTest, AFileThatCannotBeLookedAtIsNoCopy) {
    dir.WriteFile("a/f", "same");
    dir.WriteFile("b/f", "same");
    Search();
    Check({"a/f"});
    fs::remove(dir / "b/f");
    EXPECT_EQ(Plan(TFileOperation::Delete).GroupsLosingLastCopy, 1u);
}

TEST(FailureReport, ListsTwentyFilesThenCountsTheRest) {
    TActionOutcome outcome;
    outcome.Operation = TFileOperation::Recycle;
    EXPECT_EQ(FailureReport(outcome), "");
    for (int i = 0; i < 25; ++i)
        outcome.Results.push_back({static_cast<uint32_t>(i), "/f" + std::to_string(i),
                                   i == 3 ? TStepOutcome::Skipped : TStepOutcome::Failed, "why"});
    outcome.Results.push_back({99, "/done", TStepOutcome::Done, ""});
    const std::string report = FailureReport(outcome);
    EXPECT_EQ(report.substr(0, report.find('\n')),
              "The following files were not moved to the trash:");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 21);
    EXPECT_NE(report.find("\n/f20: why\n"), std::string::npos) << "the skipped file is not listed";
    EXPECT_EQ(report.substr(report.rfind('\n') + 1), "... and 4 more");
    EXPECT_EQ(outcome.DonePositions(), std::vector<uint32_t>{99});
}

} // namespace
} // namespace quorvane
