#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "CliHarness.h"
#include "testsupport/TempDir.h"

namespace quorvane::cli {
namespace {

using test::Words;

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
        "",                               // no folder
        "--bogus dir",                    // unknown option
        "-g",                             // value missing
        "-g shape dir",                   // unknown group order
        "-g 5 dir",                       // out of range
        "-c sha1 dir",                    // unknown compare mode
        "-f xml dir",                     // unknown format
        "--zero=1 dir",                   // a flag with a value
        "--load-list l.qfl dir",          // a list replaces the search
        "--filter=",                      // a filter without a name
        "--filter a --filter-hex FF dir", // two filters
        "--export r.doc dir",             // no report has this extension
    };
    for (const char* line : lines)
        EXPECT_TRUE(std::holds_alternative<TUsageError>(ParseCommandLine(Words(line)))) << line;
    EXPECT_TRUE(std::holds_alternative<TShowHelp>(ParseCommandLine({"--help"})));
    EXPECT_TRUE(std::holds_alternative<TShowVersion>(ParseCommandLine({"--version"})));
}

TEST(CliOptions, ShortFlagsCombineAndTakeTheirValuesAttached) {
    struct TCase {
        const char* Line;
        bool Quiet, Zero, Null;
        std::optional<TGroupOrder> Order;
        std::vector<std::string> Excluded, Folders;
    };
    const TCase cases[] = {
        {"-qz0 d", true, true, true, std::nullopt, {}, {"d"}},
        {"-gsize d", false, false, false, goSize, {}, {"d"}},
        {"-qg size d", true, false, false, goSize, {}, {"d"}},
        {"-zx/skip d", false, true, false, std::nullopt, {"/skip"}, {"d"}},
        {"-q -- -z", true, false, false, std::nullopt, {}, {"-z"}},
    };
    for (const TCase& c : cases) {
        const auto parsed = ParseCommandLine(Words(c.Line));
        const auto* options = std::get_if<TCliOptions>(&parsed);
        ASSERT_TRUE(options) << c.Line;
        EXPECT_EQ(options->Quiet, c.Quiet) << c.Line;
        EXPECT_EQ(options->ZeroBytes, c.Zero) << c.Line;
        EXPECT_EQ(options->NullSeparated, c.Null) << c.Line;
        EXPECT_EQ(options->GroupOrder, c.Order) << c.Line;
        EXPECT_EQ(options->ExcludeFolders, c.Excluded) << c.Line;
        EXPECT_EQ(options->Folders, c.Folders) << c.Line;
    }
    EXPECT_TRUE(std::holds_alternative<TShowHelp>(ParseCommandLine({"-qh"})));
    EXPECT_TRUE(std::holds_alternative<TShowVersion>(ParseCommandLine({"-V"})));
    for (const char* line : {"-qy d", "-0 -f csv d", "-qg"})
        EXPECT_TRUE(std::holds_alternative<TUsageError>(ParseCommandLine(Words(line)))) << line;
}

class CliRun : public ::testing::Test, public test::TCliHarness {
protected:
    using TCliHarness::Run;
    CliRun() {
        dir.WriteFile("a/same.txt", "same");
        dir.WriteFile("b/same.txt", "same");
        dir.WriteFile("c/same.txt", "emas");
        dir.WriteFile("a/big.bin", "0123456789");
        dir.WriteFile("b/big.bin", "0123456789");
        dir.WriteFile("a/alone", "x");
    }

    quorvane::test::TTempDir dir;
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
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')),
              "group,path,name,size,date,checksum,unreadable\r");
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

// Filters from a configuration folder of the test's own, which the run must leave as it was.
class CliFilterRun : public CliRun {
protected:
    CliFilterRun() {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old)
            oldConfigHome = old;
        ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    }
    ~CliFilterRun() override {
        if (oldConfigHome)
            ::setenv("XDG_CONFIG_HOME", oldConfigHome->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    std::string ConfigText() const {
        std::ifstream in(config / "Brindlecot/quorvane.ini");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    quorvane::test::TTempDir config;
    std::optional<std::string> oldConfigHome;
};

// Name like *.bin, as hex text.
constexpr const char* kBinsHex = "FFFFFFFF00010000000006050000002A2E62696E0100000006052A2E62696E";

TEST_F(CliFilterRun, DefaultFiltersCountWithoutAFileAndNothingIsWritten) {
    ASSERT_EQ(Run("-c crc --filter documents " + dir.Path()), esRan) << err.str();
    EXPECT_EQ(out.str().size(), 2 * (dir / "a/same.txt\n").size()) << out.str();
    EXPECT_NE(out.str().find(dir / "b/same.txt\n"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("2 files (8 bytes) in 1 groups"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(config / "Brindlecot"));

    // "Not Support files" hides only support files: every group shows.
    ASSERT_EQ(Run(std::vector<std::string>{"-q", "-c", "crc", "--filter", "Not Support files",
                                           dir.Path()}),
              esRan);
    EXPECT_NE(out.str().find("big.bin"), std::string::npos);
    EXPECT_NE(out.str().find("same.txt"), std::string::npos);
    ASSERT_EQ(Run(std::vector<std::string>{"-c", "crc", "--filter=Compressed files", dir.Path()}),
              esRan);
    EXPECT_TRUE(out.str().empty()) << out.str();
    EXPECT_NE(err.str().find("0 files (0 bytes) in 0 groups"), std::string::npos) << err.str();
}

TEST_F(CliFilterRun, TheExportHoldsOnlyTheFilesThatPass) {
    const std::string report = dir / "bins.txt";
    ASSERT_EQ(Run(std::string("-q -c crc --export ") + report + " --filter-hex " + kBinsHex + " " +
                  dir.Path()),
              esRan)
        << err.str();
    std::ifstream in(report);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("big.bin\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("same.txt"), std::string::npos) << text;
}

TEST_F(CliFilterRun, StoredAndHexFiltersLeaveThePassingGroups) {
    config.WriteFile("Brindlecot/quorvane.ini",
                     std::string("[Filters]\nBins=") + kBinsHex + "\nDocuments=" + kBinsHex + "\n");
    const std::string before = ConfigText();
    for (const std::string& filter : std::vector<std::string>{
             "--filter bins", "--filter Documents", std::string("--filter-hex ") + kBinsHex}) {
        ASSERT_EQ(Run("-c crc -f csv " + filter + " " + dir.Path()), esRan) << filter << err.str();
        EXPECT_NE(out.str().find(",big.bin,10,"), std::string::npos) << filter;
        EXPECT_EQ(out.str().find("same.txt"), std::string::npos) << filter;
        EXPECT_NE(err.str().find("2 files (20 bytes) in 1 groups"), std::string::npos) << err.str();
    }
    EXPECT_EQ(ConfigText(), before);
}

TEST_F(CliFilterRun, AFilterThatCannotBeUsedStopsBeforeTheSearch) {
    config.WriteFile("Brindlecot/quorvane.ini",
                     "[Filters]\nCut=FFFFFFFF0102000000\nEmpty=\nBadDate="
                     "FFFFFFFF00010000000006020000007A2A030000000602"
                     "7A2A\n");
    const struct {
        std::string Arguments;
        std::string Says;
    } cases[] = {
        {"--filter Cut", "The filter \"Cut\" cannot be used: damaged filter criteria at byte 5"},
        {"--filter Empty", "The filter \"Empty\" cannot be used: the filter has no conditions"},
        {"--filter Gone", "The filter \"Gone\" cannot be used: there is no stored filter"},
        {"--filter BadDate", "The filter \"BadDate\" cannot be used: the filter condition Date"},
        {"--filter-hex FFFFFFFF01", "The filter of --filter-hex cannot be used: Damaged"},
        {"--filter-hex XY", "The filter of --filter-hex cannot be used: Damaged filter text"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run("-c crc " + c.Arguments + " " + dir.Path()), esFailure) << c.Arguments;
        EXPECT_NE(err.str().find(c.Says), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty()) << c.Arguments;
    }
}

// Runs the shell command and returns what it wrote, setting `status` to its exit status.
std::string Output(const std::string& command, int& status) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("popen failed");
    std::string output;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    status = WEXITSTATUS(::pclose(pipe));
    return output;
}

TEST(CliBinary, RunsFromTheShell) {
    quorvane::test::TTempDir dir;
    dir.WriteFile("one/f", "twin");
    dir.WriteFile("two/f", "twin");
    const std::string cli = QUORVANE_CLI_BINARY;
    int status = 0;
    std::string output = Output(cli + " -q -c crc " + dir.Path() + " 2>&1", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.size(), (dir / "one/f\n").size() * 2) << output;

    // Bad usage: one line saying what is wrong, one pointing to the help.
    output = Output(cli + " --frobnicate " + dir.Path() + " 2>&1", status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output, "quorvane-cli: unknown option --frobnicate\nTry 'quorvane-cli --help'.\n");
}

bool CatchesSignal(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("SigCgt:"))
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
    return false;
}

TEST(CliBinary, SigtermCancelsCleanlyAndEndsWith143) {
    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        // A walk that takes far longer than the signal takes to come.
        ::execl(QUORVANE_CLI_BINARY, "quorvane-cli", "-q", "/usr", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(output[1]);
    while (!CatchesSignal(child, SIGTERM))
        ::usleep(1000);
    ::kill(child, SIGTERM);
    std::string printed;
    char buffer[256];
    for (ssize_t got; (got = ::read(output[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, static_cast<std::size_t>(got));
    ::close(output[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 143);
    EXPECT_TRUE(printed.empty()) << printed.substr(0, 200);
}

} // namespace
} // namespace quorvane::cli
