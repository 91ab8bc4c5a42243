#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "CliHarness.h"
#include "testsupport/TempDir.h"

namespace quorvane::cli {
namespace {

class CliOutput : public ::testing::Test, public test::TCliHarness {
protected:
    using TCliHarness::Run;

    quorvane::test::TTempDir dir;
};

TEST_F(CliOutput, NullSeparatedPathsAndGroups) {
    dir.WriteFile("a/x", "1");
    dir.WriteFile("b/x", "1");
    dir.WriteFile("a/line\nbreak", "22");
    dir.WriteFile("b/line\nbreak", "22");
    ASSERT_EQ(Run("-q0 -g size " + dir.Path()), esRan) << err.str();
    // Every path ends with a zero byte, every group with one more.
    const std::string printed = out.str();
    std::string_view rest = printed;
    std::set<std::set<std::string>> groups;
    while (!rest.empty()) {
        const std::size_t end = rest.find(std::string_view("\0\0", 2));
        ASSERT_NE(end, std::string_view::npos) << out.str();
        std::set<std::string> group;
        for (std::string_view paths = rest.substr(0, end + 1); !paths.empty();) {
            group.insert(std::string(paths.substr(0, paths.find('\0'))));
            paths.remove_prefix(paths.find('\0') + 1);
        }
        groups.insert(group);
        rest.remove_prefix(end + 2);
    }
    EXPECT_EQ(groups,
              (std::set<std::set<std::string>>{{dir / "a/x", dir / "b/x"},
                                               {dir / "a/line\nbreak", dir / "b/line\nbreak"}}));
}

// Files that cannot be read share the unreadable mark, not their contents: their group is no
// finding, so text output leaves it out and says so on stderr; CSV and JSON mark it.
TEST_F(CliOutput, GroupsOfUnreadableFilesAreMarkedOrLeftOut) {
    dir.WriteFile("r/one", "same");
    dir.WriteFile("r/two", "same");
    // Two records of files that are gone by the time their contents are read.
    dir.WriteFile("gone.qfl", "0000000000000004one?" + dir / "g/*366F528F\r\n" +
                                  "0000000000000004two?" + dir / "g/*366F528F\r\n" +
                                  "0000000000000004one?" + dir / "r/*366F528F\r\n" +
                                  "0000000000000004two?" + dir / "r/*366F528F\r\n");
    const std::string list = "-g size -c crc --load-list " + dir / "gone.qfl";

    ASSERT_EQ(Run("-q " + list), esRan);
    EXPECT_EQ(out.str(), dir / "r/one\n" + dir / "r/two\n");
    EXPECT_NE(err.str().find("could not be opened"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(":\n" + dir / "g/one\n" + dir / "g/two\n"), std::string::npos)
        << err.str();

    ASSERT_EQ(Run("-q -f csv " + list), esRan);
    EXPECT_NE(out.str().find(dir / "g/,one,4,"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(",FFFFFFFF,true\r\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(",false\r\n"), std::string::npos) << out.str();

    ASSERT_EQ(Run("-q -f json " + list), esRan);
    EXPECT_NE(out.str().find("\"unreadable\": true"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\"unreadable\": false"), std::string::npos) << out.str();
}

TEST_F(CliOutput, JsonCarriesTheExactBytesOfNamesThatAreNotUtf8) {
    dir.WriteFile("a/caf\xE9%", "same");
    dir.WriteFile("b/caf\xE9%", "same");
    dir.WriteFile("a/\xC3\xA9t\xC3\xA9", "other");
    dir.WriteFile("b/\xC3\xA9t\xC3\xA9", "other");
    ASSERT_EQ(Run("-q -f json " + dir.Path()), esRan);
    const std::string json = out.str();
    EXPECT_NE(json.find("\"name\": \"caf\\ufffd%\", \"name_bytes\": \"caf%E9%25\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"path_bytes\": \"" + dir / "a/caf%E9%25\""), std::string::npos) << json;
    // A name that is UTF-8 stands as it is, without a second field.
    EXPECT_NE(json.find("\"path\": \"" + dir / "a/\xC3\xA9t\xC3\xA9\", \"name\""),
              std::string::npos)
        << json;
    EXPECT_EQ(json.find("_bytes\": \"\xC3"), std::string::npos) << json;
}

TEST_F(CliOutput, FilesListIsSavedBeforeTheResultsArePrinted) {
    dir.WriteFile("a/f", "same");
    dir.WriteFile("b/f", "same");
    EXPECT_EQ(Run("-q --save-list " + dir / "no/such/folder/l.qfl " + dir.Path()), esFailure);
    EXPECT_TRUE(out.str().empty()) << out.str();
    EXPECT_NE(err.str().find("l.qfl"), std::string::npos) << err.str();
}

TEST_F(CliOutput, TheWarningAboutNotComparingSpeaksOfTheCommandLine) {
    dir.WriteFile("a/f", "same");
    dir.WriteFile("b/f", "same");
    ASSERT_EQ(Run(dir.Path()), esRan);
    EXPECT_NE(err.str().find("warning: Contents are not compared"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("-c crc"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("settings dialog"), std::string::npos) << err.str();
    for (const char* quietOrComparing : {"-q ", "-c md5 "}) {
        ASSERT_EQ(Run(quietOrComparing + dir.Path()), esRan);
        EXPECT_EQ(err.str().find("warning"), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace quorvane::cli
