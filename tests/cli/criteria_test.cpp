#include <gtest/gtest.h>

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

} // namespace
} // namespace quorvane::cli
