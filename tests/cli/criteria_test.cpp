#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>

#include "CliCriteria.h"
#include "CliHarness.h"
#include "testsupport/TempDir.h"

namespace quorvane::cli {
namespace {

const std::vector<std::string> kFixedDrives = {"/fixed-drive/"};

class CliScope : public ::testing::Test, public test::TCliHarness {
protected:
    using TCliHarness::Run;
    TCliOptions Options(const std::string& arguments) {
        const auto parsed = ParseCommandLine(test::Words(arguments));
        return std::get<TCliOptions>(parsed);
    }

    quorvane::test::TTempDir dir;
};

TEST_F(CliScope, NamedFoldersReplaceTheDefaultOfAProfileWithoutFolders) {
    const std::string profile = dir.WriteFile("nofolders.qvp", "[SearchOpts]\nCompareMode=1\n");
    const std::string folder = dir.MakeFolder("here");

    SearchCriteria criteria = CriteriaFor(Options("-p " + profile + " " + folder), kFixedDrives);
    EXPECT_EQ(criteria.IncludeFolders, std::vector<std::string>{folder});
    EXPECT_EQ(criteria.CompareMode, cmCrc);
    EXPECT_EQ(criteria.IncludeFiles, std::vector<std::string>{"*.*"});

    // Named by nobody, the folders are the profile's default, as in the window.
    criteria = CriteriaFor(Options("-p " + profile), kFixedDrives);
    EXPECT_EQ(criteria.IncludeFolders, kFixedDrives);

    // A profile's own folders stay, and the named ones are added.
    const std::string withFolders = dir.WriteFile("own.qvp", "[IncludeFolders]\n/own/=\n");
    criteria = CriteriaFor(Options("-p " + withFolders + " " + folder), kFixedDrives);
    EXPECT_EQ(criteria.IncludeFolders, (std::vector<std::string>{"/own/", folder}));
}

TEST_F(CliScope, WhatCannotBeSearchedStopsTheRunBeforeAnyWork) {
    dir.WriteFile("data/f", "same");
    dir.WriteFile("data/g/f", "same");
    const std::string data = dir / "data";
    dir.MakeFolder("profile-folder.qvp");
    // More folder names than a list section's 16 KiB of names can hold.
    std::string overflowing = "[IncludeFolders]\n";
    for (int i = 0; i < 200; ++i)
        overflowing += "/" + std::string(90, 'f') + std::to_string(i) + "/=\n";
    struct TCase {
        std::string Arguments;
        std::string Named; // what the message must name
        std::string Reason;
    };
    const TCase cases[] = {
        {"-p " + dir.WriteFile("empty.qvp", "") + " " + data, "empty.qvp", "not a profile"},
        {"-p " +
             dir.WriteFile("damaged.qvp", std::string("\x7f"
                                                      "ELF\0\x01[x",
                                                      8)) +
             " " + data,
         "damaged.qvp", "not a profile"},
        {"-p " + dir / "profile-folder.qvp " + data, "profile-folder.qvp", "Is a directory"},
        {"-p " + dir.WriteFile("overflow.qvp", overflowing) + " " + data, "overflow.qvp",
         "entries left out of the search criteria"},
        {"-p " + dir / "missing.qvp " + data, "missing.qvp", "No such file"},
        {data + " " + dir / "nowhere", "nowhere", "No such file"},
        {data + " " + dir / "data/f", "data/f", "Not a directory"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Run(c.Arguments), esFailure) << c.Arguments;
        EXPECT_TRUE(out.str().empty()) << c.Arguments;
        EXPECT_NE(err.str().find(c.Named), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(c.Reason), std::string::npos) << err.str();
    }
}

// Root reads every folder: the run is made by an unprivileged child on a tree it can reach.
TEST_F(CliScope, FoldersThatCannotBeReadAreNamedWithTheReason) {
    dir.WriteFile("a/f", "same");
    dir.WriteFile("b/f", "same");
    dir.WriteFile("locked/f", "same");
    dir.WriteFile("c/sub/f", "same");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0), 0);
    ASSERT_EQ(::chmod((dir / "c/sub").c_str(), 0), 0);
    const std::string arguments = dir / "a " + dir / "b " + dir / "locked " + dir / "c -c crc";
    const int status = quorvane::test::RunAsUnprivileged([&] {
        const int ran = Run(arguments);
        const std::string said = err.str();
        const bool ok =
            ran == esRan && out.str() == dir / "a/f\n" + dir / "b/f\n" &&
            said.find("warning: cannot read folder " + dir / "locked/" + ": Permission denied\n") !=
                std::string::npos &&
            said.find("warning: cannot read folder " + dir / "c/sub/" + ": Permission denied\n") !=
                std::string::npos;
        if (!ok)
            std::fprintf(stderr, "exit %d\nstdout:\n%s\nstderr:\n%s\n", ran, out.str().c_str(),
                         said.c_str());
        return ok;
    });
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace quorvane::cli
