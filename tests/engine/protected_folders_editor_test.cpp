#include "app/ProtectedFoldersEditor.h"

#include <string>

#include <gtest/gtest.h>

#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;

TEST(ProtectedFoldersEditorTest, NormalizeGivesAnAbsoluteCleanFolderWithATrailingDelimiter) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/lib", "/usr/lib/"},
        {"/usr/lib/", "/usr/lib/"},
        {"/usr//lib/./", "/usr/lib/"},
        {"/usr/lib/../share", "/usr/share/"},
        {"/", "/"},
        {"/..", "/"},
        {"usr/lib", ""},
        {"~/Music", ""},
        {"/odd\\name", "/odd\\name/"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(TProtectedFoldersEditor::NormalizeFolder(typed), expected) << typed;
}

class ProtectedFoldersEditorAddTest : public testing::Test {
protected:
    TTempDir Dir;
    TProtectedFoldersEditor Editor{{"/usr/"}};
    int Questions = 0;
    bool Answer = true;
    std::function<bool()> Confirm = [this] {
        ++Questions;
        return Answer;
    };
};

TEST_F(ProtectedFoldersEditorAddTest, AppendsOnceAndAsksBeforeReplacingTheSubSetting) {
    const std::string data = Dir.MakeFolder("Data");
    Dir.MakeFolder("data");
    const std::string typed = data.substr(0, data.size() - 1); // without the trailing "/"

    EXPECT_EQ(Editor.Add(typed, true, Confirm), TProtectedFoldersEditor::TAddResult::Appended);
    ASSERT_EQ(Editor.Rows().size(), 1u);
    EXPECT_EQ(Editor.Rows()[0].Path, data);
    EXPECT_EQ(Questions, 0);

    // The same folder with a trailing delimiter, then in other letter case: the one row.
    Answer = false;
    EXPECT_EQ(Editor.Add(data, false, Confirm), TProtectedFoldersEditor::TAddResult::Kept);
    EXPECT_TRUE(Editor.Rows()[0].Subfolders);
    Answer = true;
    EXPECT_EQ(Editor.Add(Dir / "data", false, Confirm),
              TProtectedFoldersEditor::TAddResult::Replaced);
    EXPECT_EQ(Questions, 2);
    ASSERT_EQ(Editor.Rows().size(), 1u);
    EXPECT_EQ(Editor.Rows()[0].Path, data);
    EXPECT_FALSE(Editor.Rows()[0].Subfolders);
}

TEST_F(ProtectedFoldersEditorAddTest, RefusesWhatIsNoFolderAndIgnoresAnEmptyEdit) {
    const std::string file = Dir.WriteFile("file.txt");
    for (const std::string& typed : {Dir / "missing", file, std::string("relative/folder")})
        EXPECT_EQ(Editor.Add(typed, true, Confirm),
                  TProtectedFoldersEditor::TAddResult::NoSuchFolder)
            << typed;
    EXPECT_EQ(Editor.Add("", true, Confirm), TProtectedFoldersEditor::TAddResult::NothingTyped);
    EXPECT_TRUE(Editor.Rows().empty());
    EXPECT_EQ(Questions, 0);
}

TEST(ProtectedFoldersEditorTest, ASystemFolderLeavesOnlyOnYesOthersWithoutAQuestion) {
    TProtectedFoldersEditor editor({"/usr/", "/etc/"});
    editor.SetRows({{"/home/ann/", true}, {"/USR/", true}, {"/etc/", false}});
    int questions = 0;
    bool answer = false;
    const auto confirm = [&] {
        ++questions;
        return answer;
    };
    EXPECT_FALSE(editor.Remove(1, confirm)); // the system folder in other letter case, No
    EXPECT_EQ(editor.Rows().size(), 3u);
    EXPECT_TRUE(editor.Remove(0, confirm));
    EXPECT_EQ(questions, 1);
    answer = true;
    EXPECT_TRUE(editor.Remove(1, confirm));
    EXPECT_EQ(questions, 2);
    ASSERT_EQ(editor.Rows().size(), 1u);
    EXPECT_EQ(editor.Rows()[0].Path, "/USR/");
    EXPECT_FALSE(editor.Remove(5, confirm));
}

} // namespace
} // namespace quorvane
