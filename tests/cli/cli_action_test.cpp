#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

#include "CliHarness.h"
#include "platform/AtomicFile.h"
#include "testsupport/ScopedEnv.h"
#include "testsupport/TempDir.h"

namespace quorvane::cli {
namespace {

namespace fs = std::filesystem;
using TLines = std::vector<std::string>;

TLines Lines(const std::string& text) {
    TLines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The entries of a zip archive with their contents, read back with libzip.
std::map<std::string, std::string> ZipEntries(const std::string& archive) {
    std::map<std::string, std::string> entries;
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, i, ZIP_FL_ENC_RAW, &stat);
        std::string contents(stat.size, '\0');
        if (zip_file_t* file = zip_fopen_index(zip, i, 0)) {
            zip_fread(file, contents.data(), stat.size);
            zip_fclose(file);
        }
        entries[zip_get_name(zip, i, ZIP_FL_ENC_RAW)] = contents;
    }
    zip_close(zip);
    return entries;
}

TEST(CliActionOptions, ReadsOneActionAndRefusesTheRest) {
    const auto parsed = ParseCommandLine({"--move-to", "/spare", "--dry-run", "dir"});
    const auto* options = std::get_if<TCliOptions>(&parsed);
    ASSERT_TRUE(options);
    ASSERT_TRUE(options->Action);
    EXPECT_EQ(options->Action->Operation, TFileOperation::Move);
    EXPECT_EQ(options->Action->Target, "/spare");
    EXPECT_TRUE(options->DryRun);
    const auto zip = ParseCommandLine({"--zip=a.zip", "dir"});
    EXPECT_EQ(std::get<TCliOptions>(zip).Action->Operation, TFileOperation::Compress);
    EXPECT_EQ(std::get<TCliOptions>(ParseCommandLine({"--trash", "dir"})).Action->Operation,
              TFileOperation::Recycle);

    const std::vector<std::vector<std::string>> refused = {
        {"--delete", "--trash", "dir"},   // two actions
        {"--delete", "--delete", "dir"},  // one given twice
        {"--dry-run", "dir"},             // nothing to plan
        {"--delete=yes", "dir"},          // a flag with a value
        {"--move-to", "", "dir"},         // no folder
        {"dir", "--zip"},                 // no archive
        {"--delete", "-f", "csv", "dir"}, // steps are text
    };
    for (const auto& arguments : refused)
        EXPECT_TRUE(std::holds_alternative<TUsageError>(ParseCommandLine(arguments)))
            << arguments[0] << ' ' << arguments[1];
    for (const char* option : {"--delete", "--trash", "--move-to DIR", "--zip FILE", "--dry-run"})
        EXPECT_NE(UsageText().find(option), std::string::npos) << option;
}

// A tree of three groups under a temporary XDG_CONFIG_HOME and XDG_DATA_HOME (whose trash is
// on the tree's file system): "one.txt" three times, "two.bin" twice, "three" twice, and a file
// without a partner.
class CliAction : public ::testing::Test, protected test::TCliHarness {
protected:
    CliAction() {
        for (const char* folder : {"tree/a/", "tree/b/", "tree/c/"})
            dir.WriteFile(std::string(folder) + "one.txt", "one one");
        dir.WriteFile("tree/a/two.bin", "two");
        dir.WriteFile("tree/b/sub/two.bin", "two");
        dir.WriteFile("tree/b/three", "three");
        dir.WriteFile("tree/c/three", "three");
        dir.WriteFile("tree/a/alone", "alone");
        dir.MakeFolder("config");
        dir.MakeFolder("data");
    }

    using TCliHarness::Run; // not ::testing::Test's

    // "-c crc", the options (split at blanks), the tree.
    int RunOnTree(const std::string& options) {
        std::vector<std::string> arguments = test::Words("-c crc " + options);
        arguments.push_back(tree);
        return Run(arguments);
    }
    void WriteConfig(const std::string& text) const {
        dir.WriteFile("config/Brindlecot/quorvane.ini", text);
    }
    // Every regular file below the tree, as full names.
    std::set<std::string> TreeFiles() const {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(tree))
            if (entry.is_regular_file())
                files.insert(entry.path().string());
        return files;
    }
    // The sources of the step lines on stdout, checking that each starts with `word`.
    std::set<std::string> StepSources(const std::string& word) const {
        std::set<std::string> sources;
        for (const std::string& line : Lines(out.str())) {
            const auto fields = Split(line);
            EXPECT_EQ(fields[0], word) << line;
            sources.insert(fields.at(1));
        }
        return sources;
    }

    // Runs the action as a dry run, then for real; checks that the real run printed the same
    // steps, that every file it names is gone, and that one file of each group stays as it was.
    // Returns the steps as fields.
    std::vector<std::vector<std::string>> ActAndCheck(const std::string& action) {
        for (const std::string& file : TreeFiles())
            contents[file] = ReadWholeFile(file);
        EXPECT_EQ(RunOnTree(action + " --dry-run"), esRan) << err.str();
        const std::string plan = out.str();
        EXPECT_EQ(RunOnTree(action), esRan) << err.str();
        EXPECT_EQ(out.str(), plan) << "a real run prints the steps it did";
        std::vector<std::vector<std::string>> steps;
        std::set<std::string> sources;
        for (const std::string& line : Lines(plan)) {
            steps.push_back(Split(line));
            sources.insert(steps.back().at(1));
            EXPECT_FALSE(fs::exists(steps.back()[1])) << line;
        }
        EXPECT_EQ(sources.size(), 4u) << plan;
        const auto left = TreeFiles();
        std::set<std::string> names;
        for (const std::string& file : left) {
            EXPECT_FALSE(sources.contains(file)) << file;
            EXPECT_EQ(ReadWholeFile(file), contents[file]) << file;
            names.insert(fs::path(file).filename().string());
        }
        EXPECT_EQ(names, (std::set<std::string>{"one.txt", "two.bin", "three", "alone"}));
        EXPECT_EQ(left.size(), 4u);
        return steps;
    }

    quorvane::test::TTempDir dir;
    const std::string tree = dir / "tree/";
    std::map<std::string, std::string> contents; // of every file before the action
    quorvane::test::TScopedEnv configHome{"XDG_CONFIG_HOME", dir / "config"};
    quorvane::test::TScopedEnv dataHome{"XDG_DATA_HOME", dir / "data"};
};

TEST_F(CliAction, DryRunPrintsEveryFileButTheFirstOfEachGroupAndTouchesNothing) {
    const auto before = TreeFiles();
    ASSERT_EQ(RunOnTree("--move-to " + dir / "spare" + " --dry-run"), esRan) << err.str();
    const TLines lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 4u) << out.str();
    std::set<std::string> names;
    for (const std::string& line : lines) {
        const auto fields = Split(line);
        ASSERT_EQ(fields.size(), 3u) << line;
        EXPECT_EQ(fields[0], "move");
        ASSERT_TRUE(fields[1].starts_with(tree)) << line;
        EXPECT_EQ(fields[2], dir / "spare" + fields[1]) << "the folder path below the target";
        names.insert(fs::path(fields[1]).filename().string());
    }
    // Two of the three one.txt, one each of the pairs; the file without a partner is not there.
    EXPECT_EQ(names, (std::set<std::string>{"one.txt", "two.bin", "three"}));
    EXPECT_NE(err.str().find("Would move 4 files (22 bytes)"), std::string::npos) << err.str();
    EXPECT_EQ(TreeFiles(), before);
    EXPECT_FALSE(fs::exists(dir / "spare"));
    EXPECT_FALSE(fs::exists(dir / "config/Brindlecot")) << "the configuration was only read";
}

TEST_F(CliAction, DeleteRemovesTheFilesItPrints) {
    for (const auto& step : ActAndCheck("--delete"))
        EXPECT_EQ(step.size(), 2u);
}

TEST_F(CliAction, TrashKeepsWhatItNeedsToRestoreEachFile) {
    std::set<std::string> sources;
    for (const auto& step : ActAndCheck("--trash"))
        sources.insert(step[1]);
    std::set<std::string> restorable;
    for (const auto& entry : fs::directory_iterator(dir / "data/Trash/info")) {
        for (const std::string& line : Lines(ReadWholeFile(entry.path())))
            if (line.starts_with("Path="))
                restorable.insert(PercentDecoded(line.substr(5)));
        const std::string trashed = dir / "data/Trash/files/" + entry.path().stem().string();
        EXPECT_TRUE(fs::is_regular_file(trashed)) << trashed;
    }
    EXPECT_EQ(restorable, sources);
}

TEST_F(CliAction, MoveKeepsEachFilesFolderPathBelowTheTarget) {
    const std::string spare = dir / "spare/";
    for (const auto& step : ActAndCheck("--move-to " + spare)) {
        ASSERT_EQ(step.size(), 3u);
        EXPECT_EQ(step[2], spare + step[1].substr(1));
        EXPECT_EQ(ReadWholeFile(step[2]), contents.at(step[1]));
    }
}

TEST_F(CliAction, ZipStoresEachFileUnderItsFolderPathAndAddsToTheArchive) {
    const std::string archive = dir / "kept.zip";
    std::map<std::string, std::string> expected;
    for (const auto& step : ActAndCheck("--zip " + archive)) {
        ASSERT_EQ(step.size(), 3u);
        EXPECT_EQ(step[2], step[1].substr(1));
        expected[step[2]] = contents.at(step[1]);
    }
    EXPECT_EQ(ZipEntries(archive), expected);

    // A second run into the same archive adds to it and keeps what it holds.
    dir.WriteFile("tree/d/one.txt", "one one");
    ASSERT_EQ(RunOnTree("--zip " + archive), esRan) << err.str();
    const auto added = ZipEntries(archive);
    EXPECT_EQ(added.size(), expected.size() + 1);
    for (const auto& [entry, text] : expected)
        EXPECT_EQ(added.at(entry), text) << entry;
}

TEST_F(CliAction, OnATerminalTheProgressLineNamesTheFileReached) {
    const auto parsed = ParseCommandLine({"-c", "crc", "--delete", tree});
    ASSERT_EQ(RunCli(std::get<TCliOptions>(parsed), out, err, interrupted, true), esRan);
    EXPECT_NE(err.str().find("\r\033[KDeleting file 1 of 4...  "), std::string::npos) << err.str();
}

TEST_F(CliAction, FilesInProtectedFoldersAreLeftAloneAndTheSettingsUntouched) {
    // b/ with its subfolders, c/ alone: of the three one.txt at least one protected file is not
    // the first of its group.
    const std::string config =
        "[Config]\nFirstTime=0\n[ProtectedFolders]\n" + tree + "b/=\n" + tree + "c/=N\n";
    WriteConfig(config);
    ASSERT_EQ(RunOnTree("--delete"), esRan) << err.str();
    for (const char* file : {"b/one.txt", "b/sub/two.bin", "b/three", "c/one.txt", "c/three"})
        EXPECT_TRUE(fs::exists(tree + file)) << file;
    EXPECT_NE(err.str().find("duplicates in protected folders are left alone"), std::string::npos)
        << err.str();
    EXPECT_EQ(ReadWholeFile(dir / "config/Brindlecot/quorvane.ini"), config);
}

TEST_F(CliAction, WithoutComparisonBlockDeleteLeavesNothingToActOn) {
    const auto before = TreeFiles();
    EXPECT_EQ(Run({"--trash", tree}), esFailure);
    EXPECT_NE(err.str().find("\"Don't allow delete/move files without comparing\" is on"),
              std::string::npos)
        << err.str();
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(TreeFiles(), before);

    WriteConfig("[Config]\nFirstTime=0\n[Settings]\nBlockDelete=0\n");
    EXPECT_EQ(Run({"-q", "--delete", tree}), esRan) << err.str();
    EXPECT_EQ(Lines(out.str()).size(), 4u) << "grouped by name and size only";
}

TEST_F(CliAction, AFileChangedSinceTheSearchIsNamedAndLeftAlone) {
    const std::string list = dir / "found.qfl";
    ASSERT_EQ(RunOnTree("--delete --dry-run --save-list " + list), esRan) << err.str();
    const std::string changed = Split(Lines(out.str()).at(0)).at(1);
    // Same contents, a day later: the record from the list no longer matches the file.
    const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, changed.c_str(), times, 0), 0);

    EXPECT_EQ(Run({"-c", "crc", "--delete", "--load-list", list}), esFailure) << err.str();
    EXPECT_TRUE(fs::exists(changed));
    EXPECT_NE(err.str().find("not deleted: " + changed + ": changed since the search\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(out.str().find(changed), std::string::npos) << out.str();
    EXPECT_EQ(Lines(out.str()).size(), 3u) << "the other files were deleted";
}

TEST_F(CliAction, AnActionThatWouldLeaveAGroupWithoutACopyIsRefusedWhole) {
    WriteConfig("[Config]\nFirstTime=0\n[Settings]\nBlockDelete=0\n");
    const std::string list = dir / "found.qfl";
    ASSERT_EQ(Run({"--delete", "--dry-run", "--save-list", list, tree}), esRan) << err.str();
    const std::set<std::string> planned = StepSources("delete");
    // The kept two.bin vanishes after the search: the other would be the group's last copy.
    for (const std::string& file : TreeFiles())
        if (file.ends_with("two.bin") && !planned.contains(file))
            fs::remove(file);
    const auto before = TreeFiles();
    EXPECT_EQ(Run({"--delete", "--load-list", list}), esFailure);
    EXPECT_NE(err.str().find("refused, nothing was touched: 1 group would be left without a copy"),
              std::string::npos)
        << err.str();
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(TreeFiles(), before);
}

TEST_F(CliAction, FilesThatCouldNotBeReadAreNeverActedOn) {
    // Even with BlockDelete off, two files of one size that cannot be read are no copies.
    WriteConfig("[Config]\nFirstTime=0\n[Settings]\nBlockDelete=0\n");
    fs::remove_all(tree);
    dir.WriteFile("tree/a/secret", "first secret");
    dir.WriteFile("tree/b/secret", "other secret");
    dir.WriteFile("tree/a/open", "open");
    dir.WriteFile("tree/b/open", "open");
    for (const char* name : {"tree/a/secret", "tree/b/secret"})
        fs::permissions(dir / name, fs::perms::none);
    for (const std::string& folder : {dir.Path(), dir / "config", tree, tree + "a", tree + "b"})
        fs::permissions(folder, fs::perms::all);
    const int status = quorvane::test::RunAsUnprivileged([&] {
        return RunOnTree("-q --delete") == esRan && Lines(out.str()).size() == 1 &&
               out.str().find("/open") != std::string::npos;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fs::exists(tree + "a/secret") && fs::exists(tree + "b/secret"));
    EXPECT_NE(fs::exists(tree + "a/open"), fs::exists(tree + "b/open"));
}

TEST_F(CliAction, MoveNeverReplacesAnExistingFile) {
    const std::string spare = dir / "spare/";
    ASSERT_EQ(RunOnTree("--move-to " + spare + " --dry-run"), esRan);
    const auto step = Split(Lines(out.str()).at(0));
    dir.WriteFile(step[2].substr(dir.Path().size()), "already there");

    EXPECT_EQ(RunOnTree("--move-to " + spare), esFailure) << err.str();
    EXPECT_TRUE(fs::exists(step[1]));
    EXPECT_EQ(ReadWholeFile(step[2]), "already there");
    EXPECT_NE(err.str().find("not moved: " + step[1] + ": " + step[2] +
                             " exists already and is not replaced\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(Lines(out.str()).size(), 3u);
}

// Names a shell would take apart, and bytes that are not UTF-8: each file reaches its target
// exactly, and nothing runs.
TEST_F(CliAction, HostileNamesAreMovedAndStoredExactly) {
    const std::string names[] = {"it's \"quoted\"", "$(touch pwned)",       "two  spaces ", "a,b",
                                 "new\nline",       "\xff\xfe latin1 \xe9", "`touch pwned`"};
    fs::remove_all(tree);
    for (const std::string& name : names) {
        dir.WriteFile("tree/x/" + name, "content of " + name);
        dir.WriteFile("tree/y/" + name, "content of " + name);
    }
    const std::string spare = dir / "spare/";
    ASSERT_EQ(RunOnTree("-q --move-to " + spare), esRan) << err.str();
    for (const std::string& name : names) {
        const bool movedX = fs::exists(spare + (tree + "x/" + name).substr(1));
        const bool movedY = fs::exists(spare + (tree + "y/" + name).substr(1));
        EXPECT_TRUE(movedX != movedY) << name;
        EXPECT_TRUE(fs::exists(tree + (movedX ? "y/" : "x/") + name)) << name;
    }

    const std::string archive = dir / "names.zip";
    ASSERT_EQ(Run({"-q", "-0", "-c", "md5", "--zip", archive, spare, tree}), esRan) << err.str();
    // With -0 each step is its fields ending in zero bytes, then one more.
    std::set<std::string> printed;
    const std::string steps = out.str();
    for (std::size_t start = 0, end;
         (end = steps.find(std::string(2, '\0'), start)) != std::string::npos; start = end + 2) {
        std::vector<std::string> fields;
        for (std::size_t field = start, zero; field <= end; field = zero + 1)
            fields.push_back(steps.substr(field, (zero = steps.find('\0', field)) - field));
        ASSERT_EQ(fields.size(), 3u) << steps;
        EXPECT_EQ(fields[0], "zip");
        EXPECT_EQ(fields[2], fields[1].substr(1));
        printed.insert(fs::path(fields[1]).filename().string());
    }
    EXPECT_EQ(printed, std::set<std::string>(std::begin(names), std::end(names)));
    std::set<std::string> stored;
    for (const auto& [entry, text] : ZipEntries(archive)) {
        stored.insert(fs::path(entry).filename().string());
        EXPECT_EQ(text, "content of " + fs::path(entry).filename().string());
    }
    EXPECT_EQ(stored, std::set<std::string>(std::begin(names), std::end(names)));
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(dir / "pwned"));
}

TEST(CliActionBinary, DeletesFromTheShell) {
    quorvane::test::TTempDir dir;
    quorvane::test::TScopedEnv configHome("XDG_CONFIG_HOME", dir / "config");
    dir.WriteFile("tree/one/f", "twin");
    dir.WriteFile("tree/two/f", "twin");
    const std::string command =
        std::string(QUORVANE_CLI_BINARY) + " -q -c md5 --delete " + dir / "tree" + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string output;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 0) << output;
    const bool oneDeleted = output == "delete\t" + dir / "tree/one/f\n";
    const bool twoDeleted = output == "delete\t" + dir / "tree/two/f\n";
    EXPECT_TRUE(oneDeleted || twoDeleted) << output;
    EXPECT_NE(fs::exists(dir / "tree/one/f"), fs::exists(dir / "tree/two/f"));
}

} // namespace
} // namespace quorvane::cli
