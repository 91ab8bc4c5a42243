#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/DetachedProcess.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;

// A program that writes its parent's pid and its arguments, each ended by a NUL, beside itself.
std::string WriteRecorder(const TTempDir& dir, const std::string& name) {
    const std::string path = dir.WriteFile(
        name, "#!/bin/sh\n"
              "{ printf '%s\\0' \"$PPID\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; done; }"
              " > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

std::vector<std::string> AwaitRecord(const std::string& recorder) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (::access((recorder + ".out").c_str(), F_OK) != 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(recorder + ".out", std::ios::binary);
    std::vector<std::string> fields;
    std::string field;
    while (std::getline(in, field, '\0'))
        fields.push_back(field);
    return fields;
}

TEST(DetachedProcess, EveryArgumentArrivesByteForByteWithoutAShell) {
    TTempDir dir;
    const std::string recorder = WriteRecorder(dir, "tool");
    const std::vector<std::string> hostile = {dir / "a b, \"c\" 'd'.txt",
                                              dir / "$(touch pwned)`touch pwned`;|&.txt",
                                              dir / "line\nbreak.txt",
                                              dir / "latin1 \xe9\xff.txt",
                                              "",
                                              "%f %U"};
    std::vector<std::string> arguments = {recorder};
    arguments.insert(arguments.end(), hostile.begin(), hostile.end());

    ASSERT_EQ(StartDetached(arguments), 0);
    std::vector<std::string> record = AwaitRecord(recorder);
    ASSERT_EQ(record.size(), hostile.size() + 1);
    // Not our child: the program runs on after us.
    EXPECT_NE(record.front(), std::to_string(::getpid()));
    record.erase(record.begin());
    EXPECT_EQ(record, hostile);
    EXPECT_NE(::access((dir / "pwned").c_str(), F_OK), 0);
}

TEST(DetachedProcess, AProgramNamedWithoutAFolderIsFoundInPath) {
    TTempDir dir;
    const std::string recorder = WriteRecorder(dir, "recorder-in-path");
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", ("/nonexistent:" + dir.Path() + ":" + oldPath).c_str(), 1);
    const int started = StartDetached({"recorder-in-path", "x"});
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_EQ(started, 0);
    EXPECT_EQ(AwaitRecord(recorder).size(), 2u);
}

TEST(DetachedProcess, AProgramThatCannotRunGivesTheReason) {
    TTempDir dir;
    const std::string plain = dir.WriteFile("not-executable", "#!/bin/sh\n");
    ::chmod(plain.c_str(), 0644);
    EXPECT_EQ(StartDetached({dir / "missing"}), ENOENT);
    EXPECT_EQ(StartDetached({"quorvane-no-such-program"}), ENOENT);
    EXPECT_EQ(StartDetached({plain}), EACCES);
    EXPECT_EQ(StartDetached({}), EINVAL);
}

} // namespace
} // namespace quorvane
