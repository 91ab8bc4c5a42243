#include "search/FolderCheckTree.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using TList = std::vector<std::string>;

// The dialog's tree without the file system: "Home" (/home/ann) and "Computer" with "/" and
// "/media/usb/". Folders exist when listed in Existing; the resolver creates their nodes on
// demand as the front end's model does, under a checked parent checked.
class TTree {
public:
    TTree() {
        Home = AddTop(Root, "/home/ann");
        Computer = &Add(Root, std::make_unique<TFolderNode>());
        Slash = AddTop(*Computer, "/");
        Usb = AddTop(*Computer, "/media/usb/");
    }

    TFolderChildResolver Resolver() {
        return [this](TFolderNode& parent, std::string_view name) -> TFolderNode* {
            if (TFolderNode* child = parent.FindChild(name))
                return child;
            const std::string path = ChildFolderPath(parent.Path, name);
            if (!Existing.contains(path))
                return nullptr;
            auto child = std::make_unique<TFolderNode>();
            child->Name = std::string(name);
            child->Path = path;
            child->HasCheckBox = true;
            child->Checked = parent.Checked;
            return &Add(parent, std::move(child));
        };
    }

    // The node of a path reached from a top node through names, creating it as the user's
    // expanding would.
    TFolderNode& At(TFolderNode& top, const TList& names) {
        TFolderNode* node = &top;
        for (const std::string& name : names) {
            node = Resolver()(*node, name);
            EXPECT_NE(node, nullptr) << name;
        }
        return *node;
    }

    TList Include, Exclude;
    void Collect() {
        Include.clear();
        Exclude.clear();
        CollectFolders(Root, Include, Exclude);
    }

    std::set<std::string> Existing = {"/home",
                                      "/home/ann",
                                      "/home/ann/Music",
                                      "/home/ann/Music/Live",
                                      "/home/ann/Music/Studio",
                                      "/home/ann/Docs",
                                      "/media",
                                      "/media/usb",
                                      "/media/usb/Photos",
                                      "/home/bob"};
    TFolderNode Root;
    TFolderNode* Home;
    TFolderNode* Computer;
    TFolderNode* Slash;
    TFolderNode* Usb;

private:
    static TFolderNode& Add(TFolderNode& parent, std::unique_ptr<TFolderNode> child) {
        child->Parent = &parent;
        parent.Children.push_back(std::move(child));
        return *parent.Children.back();
    }
    static TFolderNode* AddTop(TFolderNode& parent, std::string path) {
        auto node = std::make_unique<TFolderNode>();
        node->Path = std::move(path);
        node->HasCheckBox = true;
        return &Add(parent, std::move(node));
    }
};

struct TMarkCase {
    const char* Name;
    void (*Mark)(TTree& tree);
    TList Include;
    TList Exclude;
};

const TMarkCase kMarkCases[] = {
    {"NothingChecked", [](TTree& tree) { tree.At(*tree.Home, {"Music"}); }, {}, {}},
    {"SingleRootOnceWithItsOwnDelimiter",
     [](TTree& tree) {
         tree.At(*tree.Slash, {"home", "ann"});
         SetCheckedWithDescendants(*tree.Slash, true);
     },
     {"/"},
     {}},
    {"FolderCheckedSubfolderUnchecked",
     [](TTree& tree) {
         SetCheckedWithDescendants(tree.At(*tree.Home, {"Music"}), true);
         SetCheckedWithDescendants(tree.At(*tree.Home, {"Music", "Live"}), false);
     },
     {"/home/ann/Music"},
     {"/home/ann/Music/Live/"}},
    {"CheckedAgainInsideAnExcludedFolder",
     [](TTree& tree) {
         SetCheckedWithDescendants(*tree.Slash, true);
         SetCheckedWithDescendants(tree.At(*tree.Slash, {"home"}), false);
         SetCheckedWithDescendants(tree.At(*tree.Slash, {"home", "ann"}), true);
     },
     {"/", "/home/ann"},
     {"/home/"}},
    {"HomeAndAMountedDrive",
     [](TTree& tree) {
         SetCheckedWithDescendants(*tree.Home, true);
         SetCheckedWithDescendants(tree.At(*tree.Usb, {"Photos"}), true);
     },
     {"/home/ann", "/media/usb/Photos"},
     {}},
};

class FolderMarksTest : public testing::TestWithParam<TMarkCase> {};

// Names the case in test listings instead of dumping its bytes (which hold addresses).
void PrintTo(const TMarkCase& markCase, std::ostream* out) {
    *out << markCase.Name;
}

TEST_P(FolderMarksTest, CollectGivesTheListsAndApplyOnAFreshTreeGivesThemBack) {
    const TMarkCase& c = GetParam();
    TTree tree;
    c.Mark(tree);
    tree.Collect();
    EXPECT_EQ(tree.Include, c.Include);
    EXPECT_EQ(tree.Exclude, c.Exclude);

    TTree fresh;
    ApplyFolders(fresh.Root, c.Include, c.Exclude, fresh.Resolver());
    fresh.Collect();
    EXPECT_EQ(fresh.Include, c.Include);
    EXPECT_EQ(fresh.Exclude, c.Exclude);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderMarksTest, testing::ValuesIn(kMarkCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FolderCheckTreeTest, ApplyShowsTheMarksOnTheNodesAndAnExcludeInsideAnIncludeEndsUnchecked) {
    TTree tree;
    // Exclude listed before its include folder: the sort puts the folder first.
    const auto marked =
        ApplyFolders(tree.Root, {"/home/ann/Music"}, {"/home/ann/Music/Live/"}, tree.Resolver());
    ASSERT_EQ(marked.size(), 2u);
    TFolderNode& music = tree.At(*tree.Home, {"Music"});
    EXPECT_EQ(marked[0], &music);
    EXPECT_TRUE(music.Checked);
    EXPECT_FALSE(tree.At(*tree.Home, {"Music", "Live"}).Checked);
    // A subfolder created after the marks were applied takes its parent's mark.
    EXPECT_TRUE(tree.At(*tree.Home, {"Music", "Studio"}).Checked);
    EXPECT_FALSE(tree.Home->Checked);
}

TEST(FolderCheckTreeTest, AnExcludeGoesWhereItsParentIsCheckedEvenWhenHomeIsDeeper) {
    TTree tree;
    tree.Existing.insert("/home/ann/Music/Live");
    ApplyFolders(tree.Root, {"/"}, {"/home/ann/"}, tree.Resolver());
    EXPECT_TRUE(tree.Slash->Checked);
    EXPECT_FALSE(tree.At(*tree.Slash, {"home", "ann"}).Checked);
    EXPECT_TRUE(tree.At(*tree.Slash, {"home", "bob"}).Checked);
    EXPECT_FALSE(tree.Home->Checked);
}

TEST(FolderCheckTreeTest, ApplyClearsOldMarksAndSkipsFoldersTheTreeCannotReach) {
    TTree tree;
    SetCheckedWithDescendants(tree.At(*tree.Home, {"Docs"}), true);
    const auto marked = ApplyFolders(
        tree.Root,
        {"/home/ann/Gone", "/home/ann/../ann/Music", "relative/Music", "/home/ann/./Docs"}, {},
        tree.Resolver());
    EXPECT_TRUE(marked.empty());
    tree.Collect();
    EXPECT_TRUE(tree.Include.empty());
    EXPECT_TRUE(tree.Exclude.empty());
}

TEST(FolderCheckTreeTest, CheckingGoesToExistingDescendantsOnlyAndClearChecksUnchecksAll) {
    TTree tree;
    TFolderNode& live = tree.At(*tree.Home, {"Music", "Live"});
    SetCheckedWithDescendants(*tree.Home, true);
    EXPECT_TRUE(live.Checked);
    EXPECT_FALSE(tree.Computer->Checked); // no check box, never checked
    SetCheckedWithDescendants(*tree.Slash, true);
    ClearChecks(tree.Root);
    EXPECT_FALSE(live.Checked);
    EXPECT_FALSE(tree.Home->Checked);
    EXPECT_FALSE(tree.Slash->Checked);
}

TEST(FolderCheckTreeTest, MarksSortWithoutCaseParentsFirstAndStable) {
    const auto marks = SortedFolderMarks({"/b", "/A/x", "/a"}, {"/A/", "/B/y/"});
    std::vector<std::pair<std::string, bool>> got;
    for (const TFolderMark& mark : marks)
        got.emplace_back(mark.Path, mark.Include);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"/a", true}, {"/A/", false}, {"/A/x", true}, {"/b", true}, {"/B/y/", false}};
    EXPECT_EQ(got, expected);
}

TEST(FolderCheckTreeTest, ChildFolderPathAddsOneDelimiter) {
    EXPECT_EQ(ChildFolderPath("/", "usr"), "/usr");
    EXPECT_EQ(ChildFolderPath("/media/usb/", "Photos"), "/media/usb/Photos");
    EXPECT_EQ(ChildFolderPath("/home/ann", "Music"), "/home/ann/Music");
}

} // namespace
} // namespace quorvane
