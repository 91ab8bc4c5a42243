#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliOptions.h"
#include "CliRunner.h"
#include "testsupport/TempDir.h"

namespace quorvane::cli {
namespace {

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

TEST(CliOptions, ReadsEveryOptionInShortLongAndInlineForms) {
    const auto parsed = ParseCommandLine(
        Words("-x /skip --exclude-folder=/skip2 -i *.jpg --include *.png -e*.tmp --hidden-folders "
              "--hidden-files --zero -g size-name -c 3 -p p.qvp --save-list out.qfl --export=r.CSV "
              "-f json "
              "-q -- -dir"));
    const auto* options = std::get_if<TCliOptions>(&parsed);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->ExcludeFolders, (std::vector<std::string>{"/skip", "/skip2"}));
    EXPECT_EQ(options->IncludeMasks, (std::vector<std::string>{"*.jpg", "*.png"}));
    EXPECT_EQ(options->ExcludeMasks, (std::vector<std::string>{"*.tmp"}));
    EXPECT_TRUE(options->HiddenFolders && options->HiddenFiles && options->ZeroBytes &&
                options->Quiet);
    EXPECT_EQ(options->GroupOrder, goSizeName);
    EXPECT_EQ(options->CompareMode, cmMD5);
    EXPECT_EQ(options->Profile, "p.qvp");
    EXPECT_EQ(options->SaveList, "out.qfl");
    EXPECT_EQ(options->Export, "r.CSV");
    EXPECT_EQ(options->Format, TOutputFormat::Json);
    EXPECT_EQ(options->Folders, (std::vector<std::string>{"-dir"}));
}

TEST(CliOptions, RefusesBadUsage) {
    const char* lines[] = {
        "",                      // no folder
        "--bogus dir",           // unknown option
        "-g",                    // value missing
        "-g shape dir",          // unknown group order
        "-g 5 dir",              // out of range
        "-c sha1 dir",           // unknown compare mode
        "-f xml dir",            // unknown format
        "--zero=1 dir",          // a flag with a value
        "--load-list l.qfl dir", // a list replaces the search
        "--export r.doc dir",    // no report has this extension
    };
    for (const char* line : lines)
        EXPECT_TRUE(std::holds_alternative<TUsageError>(ParseCommandLine(Words(line)))) << line;
    EXPECT_TRUE(std::holds_alternative<TShowHelp>(ParseCommandLine({"--help"})));
    EXPECT_TRUE(std::holds_alternative<TShowVersion>(ParseCommandLine({"--version"})));
}

class CliRun : public ::testing::Test {
protected:
    CliRun() {
        dir.WriteFile("a/same.txt", "same");
        dir.WriteFile("b/same.txt", "same");
        dir.WriteFile("c/same.txt", "emas");
        dir.WriteFile("a/big.bin", "0123456789");
        dir.WriteFile("b/big.bin", "0123456789");
        dir.WriteFile("a/alone", "x");
    }

    int Run(const std::string& arguments) {
        out.str("");
        err.str("");
        const auto parsed = ParseCommandLine(Words(arguments));
        const auto* options = std::get_if<TCliOptions>(&parsed);
        if (!options)
            return esUsage;
        return RunCli(*options, out, err, interrupted, false);
    }

    test::TTempDir dir;
    std::ostringstream out, err;
    std::atomic<bool> interrupted{false};
};

TEST_F(CliRun, PrintsGroupsInDisplayOrderSeparatedByEmptyLines) {
    ASSERT_EQ(Run("-c crc " + dir.Path()), esRan) << err.str();
    const std::string text = out.str();
    // Name/Size order: big.bin before same.txt; the odd same.txt is split off by its content.
    const std::string big = dir / "a/big.bin\n", same = dir / "a/same.txt\n";
    EXPECT_EQ(text.size(), 2 * (big.size() + same.size()) + 1) << text;
    EXPECT_LT(text.find("big.bin"), text.find("same.txt"));
    EXPECT_NE(text.find(".bin\n\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("c/same.txt"), std::string::npos);
    EXPECT_NE(err.str().find("4 files (28 bytes) in 2 groups"), std::string::npos) << err.str();
}

TEST_F(CliRun, CsvAndJsonCarryEveryFile) {
    ASSERT_EQ(Run("-q -c md5 -f csv " + dir.Path()), esRan);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "group,path,name,size,date,checksum\r");
    EXPECT_NE(out.str().find(",big.bin,10,"), std::string::npos);
    EXPECT_TRUE(err.str().empty()) << "quiet: " << err.str();

    ASSERT_EQ(Run("-q -g size -f json " + dir.Path()), esRan);
    const std::string json = out.str();
    EXPECT_EQ(json.front(), '[');
    EXPECT_NE(json.find("\"group\": 2"), std::string::npos);
    EXPECT_NE(json.find("\"path\": \"" + dir / "c/same.txt\""), std::string::npos);
}

TEST_F(CliRun, SavedListGivesTheSameGroupsWithoutAWalk) {
    const std::string list = dir / "run.qfl";
    ASSERT_EQ(Run("-q -c crc --save-list " + list + " " + dir.Path()), esRan);
    const std::string searched = out.str();
    dir.WriteFile("d/same.txt", "same"); // not seen: no walk
    ASSERT_EQ(Run("-q -c crc --load-list " + list), esRan) << err.str();
    EXPECT_EQ(out.str(), searched);
}

TEST_F(CliRun, ExportsTheResultsListInTheFormatOfTheExtension) {
    ASSERT_EQ(Run("-q -c crc --export " + dir / "r.CSV" + " --export " + dir / "r.Xls" + " " +
                  dir.Path()),
              esRan)
        << err.str();
    // The last --export counts; the spreadsheet gets the lower-case extension.
    EXPECT_FALSE(std::filesystem::exists(dir / "r.CSV"));
    std::ifstream xls(dir / "r.xls", std::ios::binary);
    std::string magic(8, '\0');
    xls.read(magic.data(), 8);
    EXPECT_EQ(magic, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");

    ASSERT_EQ(Run("-q -c crc --export " + dir / "r.CSV" + " " + dir.Path()), esRan);
    std::ifstream csv(dir / "r.CSV");
    const std::string text((std::istreambuf_iterator<char>(csv)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, text.find('\n')), "\"Date\";\"Path\"\r");
    EXPECT_NE(text.find("\"big.bin\"\r\n\"Size: 10\"\r\n"), std::string::npos) << text;

    EXPECT_EQ(Run("-q --export " + dir / "missing/r.txt" + " " + dir.Path()), esFailure);
    EXPECT_NE(err.str().find(dir / "missing/r.txt"), std::string::npos) << err.str();
}

TEST_F(CliRun, FailuresAndInterruption) {
    EXPECT_EQ(Run("--load-list " + dir / "missing.qfl"), esFailure);
    EXPECT_NE(err.str().find("missing.qfl"), std::string::npos);
    EXPECT_EQ(Run("-p " + dir / "missing.qvp"), esFailure);
    EXPECT_EQ(Run("-i " + std::string(300, '*') + " " + dir.Path()), esFailure);

    interrupted = true;
    EXPECT_EQ(Run("-q " + dir.Path()), esInterrupted);
    EXPECT_TRUE(out.str().empty());
}

TEST(CliBinary, RunsFromTheShell) {
    test::TTempDir dir;
    dir.WriteFile("one/f", "twin");
    dir.WriteFile("two/f", "twin");
    const std::string command =
        std::string(QUORVANE_CLI_BINARY) + " -q -c crc " + dir.Path() + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string output;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    const int status = ::pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output.size(), (dir / "one/f\n").size() * 2) << output;

    EXPECT_EQ(WEXITSTATUS(std::system(
                  (std::string(QUORVANE_CLI_BINARY) + " --frobnicate 2>/dev/null").c_str())),
              1);
}

} // namespace
} // namespace quorvane::cli
