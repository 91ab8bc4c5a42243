// Kills a file action with SIGKILL at random moments and checks that every file still exists at
// least once with its contents: at its source, at its target, or in the archive.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include "actions/FileAction.h"
#include "platform/DateTime.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

constexpr int kFiles = 4;
constexpr std::size_t kFileSize = 2 << 20;
constexpr int kRuns = 20;

std::string Contents(int file) {
    std::mt19937 random(static_cast<unsigned>(file) + 1);
    std::string contents(kFileSize, '\0');
    for (char& c : contents)
        c = static_cast<char>(random() % 251); // compresses, but not to nothing
    return contents;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ZipEntry(const std::string& archive, const std::string& entry) {
    int code = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &code);
    if (!zip)
        return {};
    std::string contents;
    if (zip_file_t* file = zip_fopen(zip, entry.c_str(), 0)) {
        std::vector<char> buffer(1 << 16);
        zip_int64_t got;
        while ((got = zip_fread(file, buffer.data(), buffer.size())) > 0)
            contents.append(buffer.data(), static_cast<std::size_t>(got));
        zip_fclose(file);
    }
    zip_discard(zip);
    return contents;
}

class NoQuestions final : public IActionPrompts {
public:
    bool ConfirmOverwrite(const std::string&) override { return false; }
};

// The files, written afresh where missing, and the plan of the action on all of them.
TActionPlan PlanOver(const test::TTempDir& dir, TFileOperation operation,
                     const std::string& destination, const std::vector<std::string>& contents) {
    TActionPlan plan;
    plan.Operation = operation;
    plan.Destination = destination;
    const int64_t offset = CurrentUtcOffsetSeconds();
    for (int i = kFiles - 1; i >= 0; --i) {
        const std::string source = dir / ("src/file" + std::to_string(i));
        struct stat st;
        if (::stat(source.c_str(), &st) != 0) {
            std::ofstream(source, std::ios::binary) << contents[i];
            ::stat(source.c_str(), &st);
        }
        TActionStep step;
        step.FilePosition = static_cast<uint32_t>(i);
        step.Source = source;
        step.Target =
            operation == TFileOperation::Move ? destination + source.substr(1) : source.substr(1);
        step.Size = st.st_size;
        step.Date = FileTimeToDateTime(st.st_mtim.tv_sec, offset);
        plan.Steps.push_back(step);
    }
    return plan;
}

// Runs the action in a child process; kills it after `delay` unless it ended before.
void RunAndKill(const TActionPlan& plan, std::chrono::microseconds delay) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        NoQuestions prompts;
        ExecuteFileAction(plan, prompts);
        ::_exit(0);
    }
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

struct TFaultCase {
    const char* Name;
    TFileOperation Operation;
};

class KilledAction : public ::testing::TestWithParam<TFaultCase> {};

TEST_P(KilledAction, LosesNoFile) {
    test::TTempDir dir;
    std::string destination;
    if (GetParam().Operation == TFileOperation::Move) {
        struct stat tmp, shm;
        if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.Path().c_str(), &tmp) != 0 ||
            tmp.st_dev == shm.st_dev)
            GTEST_SKIP() << "/dev/shm is no file system of its own here";
        char pattern[] = "/dev/shm/quorvane-fault-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        destination = std::string(pattern) + "/";
    } else {
        destination = dir / "archive.zip";
    }
    dir.MakeFolder("src");
    std::vector<std::string> contents;
    for (int i = 0; i < kFiles; ++i)
        contents.push_back(Contents(i));

    // One run to its end gives the span over which the kills are spread.
    const auto start = TClock::now();
    NoQuestions prompts;
    TActionOutcome whole =
        ExecuteFileAction(PlanOver(dir, GetParam().Operation, destination, contents), prompts);
    ASSERT_FALSE(whole.AnyFailed()) << FailureReport(whole);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(TClock::now() - start);

    std::mt19937 random(20261211);
    std::uniform_int_distribution<int64_t> moment(0, span.count());
    for (int run = 0; run < kRuns; ++run) {
        // Each run starts from the sources alone: no target, no archive, no temporary file.
        fs::remove_all(GetParam().Operation == TFileOperation::Move ? destination + "tmp"
                                                                    : destination);
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            if (entry.path().filename().string().starts_with("archive.zip"))
                fs::remove(entry.path());
        const TActionPlan plan = PlanOver(dir, GetParam().Operation, destination, contents);
        const std::chrono::microseconds delay(moment(random));
        RunAndKill(plan, delay);
        // The table of runs: where each file was found (S source, T target or archive, B both).
        std::string found;
        for (int i = 0; i < kFiles; ++i) {
            const TActionStep& step = plan.Steps[static_cast<std::size_t>(kFiles - 1 - i)];
            const bool atSource = ReadFile(step.Source) == contents[i];
            const bool kept = GetParam().Operation == TFileOperation::Move
                                  ? ReadFile(step.Target) == contents[i]
                                  : ZipEntry(destination, step.Target) == contents[i];
            EXPECT_TRUE(atSource || kept) << "run " << run << ": " << step.Source;
            found += atSource && kept ? " B" : atSource ? " S" : kept ? " T" : " -";
            if (!atSource)
                fs::remove(step.Source); // written afresh for the next run
        }
        std::printf("run %2d killed at %6lld us of %lld:%s\n", run,
                    static_cast<long long>(delay.count()), static_cast<long long>(span.count()),
                    found.c_str());
    }
    if (GetParam().Operation == TFileOperation::Move)
        fs::remove_all(destination);
}

INSTANTIATE_TEST_SUITE_P(Operations, KilledAction,
                         ::testing::Values(TFaultCase{"CrossFileSystemMove", TFileOperation::Move},
                                           TFaultCase{"Compress", TFileOperation::Compress}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace quorvane
