#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "results/ResultGrid.h"
#include "testsupport/ResultRows.h"

namespace quorvane {
namespace {

using test::TResultRows;
using TList = std::vector<uint32_t>;

// Three groups, shown as: group 1 = records 1, 0, 2 (largest first); group 2 = records 3, 4;
// group 3 = records 5, 6. Records 0 and 1 may not be checked; the folders vary.
class CheckMarksTest : public testing::Test {
protected:
    void SetUp() override {
        rows.Add({.Folder = "/data/", .Name = "a", .Size = 20, .Group = 1, .Checkable = false});
        rows.Add({.Folder = "/data/", .Name = "a", .Size = 30, .Group = 1, .Checkable = false});
        rows.Add({.Folder = "/Data/", .Name = "a", .Size = 10, .Group = 1});
        rows.Add({.Folder = "/data/sub/", .Name = "b", .Size = 5, .Group = 2});
        rows.Add({.Folder = "/data/", .Name = "b", .Size = 5, .Group = 2});
        rows.Add({.Folder = "/database/", .Name = "c", .Size = 1, .Group = 3});
        rows.Add({.Folder = "/data/", .Name = "c", .Size = 1, .Group = 3});
        grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goName, true, false, false));
    }
    TCheckMarks& checks() { return grid.Checks(); }
    // The flags of all rows by record index, e.g. "--x-x--".
    std::string Flags() const {
        std::string flags;
        for (uint32_t record = 0; record < grid.View().RowCount(); ++record)
            flags += grid.Checks().Checked(record) ? 'x' : '-';
        return flags;
    }
    void ShowOnlyGroups(std::vector<uint32_t> groups) {
        grid.SetFilter([groups](const TResultRow& row, const TFile&) {
            return std::find(groups.begin(), groups.end(), row.Group) != groups.end();
        });
    }

    TResultRows rows;
    TResultGrid grid;
};

TEST_F(CheckMarksTest, CheckAllMarksCheckableRowsInDisplayOrder) {
    checks().CheckAll();
    EXPECT_EQ(Flags(), "--xxxxx");
    EXPECT_EQ(checks().CheckedList(), (TList{2, 3, 4, 5, 6}));
}

TEST_F(CheckMarksTest, CheckAllMarksNothingWhenEveryRowIsProtected) {
    for (TResultRow& row : rows.Rows)
        row.Checkable = false;
    grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goName, true, false, false));
    checks().CheckAll();
    checks().ToggleChecks();
    checks().CheckFirst();
    checks().CheckInDir("/data/");
    EXPECT_EQ(Flags(), "-------");
    EXPECT_TRUE(checks().CheckedList().empty());
}

TEST_F(CheckMarksTest, BulkCommandsLeaveRowsHiddenByTheFilterAlone) {
    checks().CheckSelected({3, 5});
    ShowOnlyGroups({1});
    checks().CheckAll();
    EXPECT_EQ(Flags(), "--xx-x-");
    EXPECT_EQ(checks().CheckedList(), (TList{2}));
    grid.SetFilter({});
    EXPECT_EQ(checks().CheckedList(), (TList{2, 3, 5}));

    ShowOnlyGroups({1, 2});
    checks().UncheckAll();
    EXPECT_EQ(Flags(), "-----x-");
    EXPECT_TRUE(checks().CheckedList().empty());
    grid.SetFilter({});
    EXPECT_EQ(checks().CheckedList(), (TList{5}));
}

TEST_F(CheckMarksTest, ToggleChecksTwiceRestoresTheMarks) {
    checks().CheckSelected({4, 6});
    ShowOnlyGroups({2, 3});
    checks().ToggleChecks();
    EXPECT_EQ(Flags(), "---x-x-");
    EXPECT_EQ(checks().CheckedList(), (TList{3, 5}));
    checks().ToggleChecks();
    EXPECT_EQ(Flags(), "----x-x");
    EXPECT_EQ(checks().CheckedList(), (TList{4, 6}));
}

TEST_F(CheckMarksTest, CheckFirstPassesOverUncheckableFirstRows) {
    checks().CheckFirst();
    // Group 1 shows records 1, 0, 2: the first two may not be checked.
    EXPECT_EQ(Flags(), "--xx-x-");
    EXPECT_EQ(checks().CheckedList(), (TList{2, 3, 5}));
    checks().CheckFirst();
    EXPECT_EQ(Flags(), "--xx-x-");
    EXPECT_EQ(checks().CheckedList(), (TList{2, 3, 5}));
}

TEST_F(CheckMarksTest, CheckFirstKeepsMarksAndFollowsTheFilter) {
    checks().CheckSelected({6});
    grid.SetFilter([](const TResultRow& row, const TFile&) { return row.FilePosition != 3; });
    checks().CheckFirst();
    EXPECT_EQ(Flags(), "--x-xxx");
    EXPECT_EQ(checks().CheckedList(), (TList{6, 2, 4, 5}));
}

TEST_F(CheckMarksTest, CheckAllButFirstKeepsTheFirstShownRowOfEachGroup) {
    checks().CheckAllButFirst();
    // Group 1 shows records 1, 0, 2: 1 is kept although it may not be checked, 0 may not be.
    EXPECT_EQ(Flags(), "--x-x-x");
    EXPECT_EQ(checks().CheckedList(), (TList{2, 4, 6}));

    checks().UncheckAll();
    checks().CheckSelected({3});
    grid.SetFilter([](const TResultRow& row, const TFile&) { return row.FilePosition != 3; });
    checks().CheckAllButFirst();
    // Record 3 is hidden: 4 is the first shown of group 2 and is kept; 3 keeps its mark.
    EXPECT_EQ(Flags(), "--xx--x");
    EXPECT_EQ(checks().CheckedList(), (TList{2, 6}));
}

TEST_F(CheckMarksTest, CheckInDirMarksFilesDirectlyInTheFolder) {
    EXPECT_EQ(checks().ProposedFolder(3), "/data/sub/");
    EXPECT_EQ(checks().ProposedFolder(-1), "");
    checks().CheckInDir("/DATA");
    // /Data/ matches without case; /data/sub/ and /database/ do not; records 0, 1 are protected.
    EXPECT_EQ(Flags(), "--x-x-x");
    EXPECT_EQ(checks().CheckedList(), (TList{2, 4, 6}));
}

TEST_F(CheckMarksTest, CheckInDirMarksOnlyShownRows) {
    ShowOnlyGroups({2});
    checks().CheckInDir("/data/");
    EXPECT_EQ(Flags(), "----x--");
}

TEST_F(CheckMarksTest, CellClickFlipsTheMarkOfACheckableRow) {
    EXPECT_TRUE(checks().CellClick(rcChecked, 4));
    EXPECT_TRUE(checks().CellClick(rcChecked, 2));
    EXPECT_EQ(checks().CheckedList(), (TList{4, 2}));
    EXPECT_EQ(grid.CheckBox(4), TCheckBox::Ticked);
    EXPECT_TRUE(checks().CellClick(rcChecked, 4));
    EXPECT_EQ(checks().CheckedList(), (TList{2}));
    EXPECT_EQ(grid.CheckBox(4), TCheckBox::Unticked);
}

TEST_F(CheckMarksTest, CellClickLeavesOtherClicksToTheGrid) {
    EXPECT_FALSE(checks().CellClick(rcName, 4));    // another column only focuses
    EXPECT_FALSE(checks().CellClick(rcChecked, 0)); // protected row: no box
    EXPECT_EQ(grid.CheckBox(0), TCheckBox::None);
    EXPECT_FALSE(checks().CellClick(rcChecked, -1)); // nothing focused
    checks().SetActionRunning(true);
    EXPECT_FALSE(checks().CellClick(rcChecked, 4));
    checks().SetActionRunning(false);
    EXPECT_EQ(Flags(), "-------");
    EXPECT_THROW(checks().CellClick(rcChecked, 7), std::out_of_range);
}

TEST_F(CheckMarksTest, SelectionCommandsSkipUncheckableAndHiddenRows) {
    ShowOnlyGroups({1, 2});
    checks().CheckSelected({0, 4, 2, 5, 4});
    EXPECT_EQ(Flags(), "--x-x--");
    EXPECT_EQ(checks().CheckedList(), (TList{4, 2}));

    checks().ToggleSelectionChecks({2, 3, 1});
    EXPECT_EQ(Flags(), "---xx--");
    EXPECT_EQ(checks().CheckedList(), (TList{4, 3}));

    checks().UncheckSelected({4, 0, 6});
    EXPECT_EQ(Flags(), "---x---");
    EXPECT_EQ(checks().CheckedList(), (TList{3}));
}

TEST_F(CheckMarksTest, ToggleSelectionVisitsARepeatedRowOnce) {
    checks().ToggleSelectionChecks({3, 3, 4});
    EXPECT_EQ(Flags(), "---xx--");
    checks().ToggleSelectionChecks({4, 4});
    EXPECT_EQ(checks().CheckedList(), (TList{3}));
}

TEST_F(CheckMarksTest, ANewLoadStartsWithNoMarks) {
    checks().CheckAll();
    grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goName, true, false, false));
    EXPECT_EQ(Flags(), "-------");
    EXPECT_TRUE(checks().CheckedList().empty());
}

} // namespace
} // namespace quorvane
