#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/ResultLayout.h"

namespace quorvane {
namespace {

// The grouping columns outermost first, then the visible columns, e.g. "Name,Size|Checked,Date".
std::string Describe(const TResultLayout& layout) {
    static const char* const captions[] = {"Checked", "Name",     "Size",     "Date",
                                           "Path",    "CheckSum", "Position", "Group"};
    std::string text;
    for (TResultColumn column : layout.GroupingColumns())
        text += std::string(text.empty() ? "" : ",") + captions[column];
    text += "|";
    bool first = true;
    for (int column = 0; column < kResultColumnCount; ++column)
        if (layout.Columns[column].Visible) {
            text += std::string(first ? "" : ",") + captions[column];
            first = false;
        }
    return text;
}

struct TOrderCase {
    TGroupOrder Order;
    const char* Separated; // layout before the rows are written, groups separated
    const char* Flat;      // the same with "Separate groups" off
};

void PrintTo(const TOrderCase& c, std::ostream* out) {
    *out << "order " << c.Order;
}

class GroupOrderLayoutTest : public testing::TestWithParam<TOrderCase> {};

TEST_P(GroupOrderLayoutTest, GroupsAndShowsColumnsOfTheOrder) {
    const TOrderCase& c = GetParam();
    EXPECT_EQ(Describe(GroupOrderLayout(c.Order, true)), c.Separated);
    EXPECT_EQ(Describe(GroupOrderLayout(c.Order, false)), c.Flat);
}

constexpr const char* kFlat = "|Checked,Name,Size,Date,Path,CheckSum";

INSTANTIATE_TEST_SUITE_P(
    EveryOrder, GroupOrderLayoutTest,
    testing::Values(TOrderCase{goNameSize, "Name,Size,CheckSum|Checked,Date,Path,CheckSum", kFlat},
                    TOrderCase{goName, "Name,CheckSum|Checked,Size,Date,Path,CheckSum", kFlat},
                    TOrderCase{goSize, "Size,CheckSum|Checked,Name,Date,Path,CheckSum", kFlat},
                    TOrderCase{goSizeName, "Size,Name,CheckSum|Checked,Date,Path,CheckSum", kFlat},
                    TOrderCase{goNameSizeDate, "Name,Size,Date,CheckSum|Checked,Path,CheckSum",
                               kFlat},
                    // An unknown order lays out like Name/Size, as it sorts like it.
                    TOrderCase{static_cast<TGroupOrder>(7),
                               "Name,Size,CheckSum|Checked,Date,Path,CheckSum", kFlat}));

TEST(GroupOrderLayoutTest, KeepsTheLevelNumbersOfTheOrder) {
    const TResultLayout layout = GroupOrderLayout(goSizeName, true);
    EXPECT_EQ(layout[rcSize].GroupLevel, 0);
    EXPECT_EQ(layout[rcName].GroupLevel, 1);
    EXPECT_EQ(layout[rcCheckSum].GroupLevel, 2);
    EXPECT_EQ(layout[rcDate].GroupLevel, -1);
    EXPECT_EQ(layout[rcPath].GroupLevel, -1);
    EXPECT_FALSE(layout[rcFilePosition].Visible);
    EXPECT_FALSE(layout[rcGroupNumber].Visible);
}

struct TChecksumCase {
    bool SeparateGroups, FileListEmpty, ChecksumSeen;
    const char* Expected;
};

void PrintTo(const TChecksumCase& c, std::ostream* out) {
    *out << "separate " << c.SeparateGroups << ", empty " << c.FileListEmpty << ", seen "
         << c.ChecksumSeen;
}

class ChecksumColumnTest : public testing::TestWithParam<TChecksumCase> {};

TEST_P(ChecksumColumnTest, FollowsWhatClassificationFound) {
    const TChecksumCase& c = GetParam();
    EXPECT_EQ(
        Describe(ClassifiedLayout(goNameSize, c.SeparateGroups, c.FileListEmpty, c.ChecksumSeen)),
        c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    SeparatedOrFlat, ChecksumColumnTest,
    testing::Values(
        // Checksums show in the group rows, never as a column.
        TChecksumCase{true, false, true, "Name,Size,CheckSum|Checked,Date,Path"},
        // No grouped file was compared: the column neither shows nor groups.
        TChecksumCase{true, false, false, "Name,Size|Checked,Date,Path"},
        TChecksumCase{false, false, true, "|Checked,Name,Size,Date,Path,CheckSum"},
        TChecksumCase{false, false, false, "|Checked,Name,Size,Date,Path"},
        // An empty list only hides it.
        TChecksumCase{true, true, false, "Name,Size,CheckSum|Checked,Date,Path"},
        TChecksumCase{false, true, false, "|Checked,Name,Size,Date,Path"}));

TEST(ChecksumColumnTest, NameSizeDateSeparatedShowsOnlyCheckedAndPath) {
    EXPECT_EQ(Describe(ClassifiedLayout(goNameSizeDate, true, false, true)),
              "Name,Size,Date,CheckSum|Checked,Path");
}

} // namespace
} // namespace quorvane
