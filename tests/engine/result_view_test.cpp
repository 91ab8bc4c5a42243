#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"
#include "results/BatchWork.h"
#include "results/ResultView.h"
#include "testsupport/ResultRows.h"

namespace quorvane {
namespace {

using test::TResultRows;
using TSpec = TResultRows::TSpec;

std::string GroupValue(const TResultView& view, TResultColumn column, uint32_t record) {
    const TFile& file = view.File(record);
    switch (column) {
    case rcName:
        return file.Name;
    case rcSize:
        return std::to_string(file.Size);
    case rcDate:
        return std::to_string(static_cast<int>(file.Date));
    case rcCheckSum:
        return file.Checksum.Text();
    default:
        return "?";
    }
}

// The passing rows as the grid shows them: group rows as Column=value{children}, data rows as
// their file positions, e.g. "Name=a{Size=30{0 1}}". Without group rows, the file positions.
std::string Render(const TResultView& view) {
    const TGroupTree& tree = view.Groups();
    const auto dataRows = [&](uint32_t first, uint32_t count) {
        std::string text;
        for (uint32_t position = first; position < first + count; ++position) {
            if (!text.empty())
                text += ' ';
            text += std::to_string(view.Row(view.PassingRecord(position)).FilePosition);
        }
        return text;
    };
    if (tree.LevelCount() == 0)
        return dataRows(0, static_cast<uint32_t>(view.PassingCount()));
    const auto level = [&](auto& self, std::size_t depth, uint32_t first,
                           uint32_t count) -> std::string {
        std::string text;
        for (uint32_t index = first; index < first + count; ++index) {
            const TGroupRow& group = tree.Level(depth)[index];
            const TResultColumn column = tree.Column(depth);
            static const char* const captions[] = {"", "Name", "Size", "Date", "", "CheckSum"};
            text += (text.empty() ? "" : " ") + std::string(captions[column]) + "=" +
                    GroupValue(view, column, group.Record) + "{" +
                    (depth + 1 < tree.LevelCount()
                         ? self(self, depth + 1, group.FirstChild, group.ChildCount)
                         : dataRows(group.FirstChild, group.ChildCount)) +
                    "}";
        }
        return text;
    };
    return level(level, 0, 0, static_cast<uint32_t>(tree.Level(0).size()));
}

TChecksum Crc(uint32_t value) {
    return TChecksum::FromCrc32(value);
}

struct TOrderCase {
    const char* Title;
    TGroupOrder Order;
    bool SeparateGroups;
    bool ChecksumSeen;
    std::vector<TSpec> Files; // in the order the sort stage leaves them
    const char* Expected;
};

// Test listings name a case by its title rather than dumping its bytes (which hold addresses).
void PrintTo(const TOrderCase& c, std::ostream* out) {
    *out << c.Title;
}

class DisplayOrderTest : public testing::TestWithParam<TOrderCase> {};

TEST_P(DisplayOrderTest, ShowsGroupRowsAndRowsInTheGridsOrder) {
    const TOrderCase& c = GetParam();
    TResultRows rows;
    for (const TSpec& spec : c.Files)
        rows.Add(spec);
    TResultView view;
    view.Load(rows.Files, rows.Rows,
              ClassifiedLayout(c.Order, c.SeparateGroups, false, c.ChecksumSeen));
    EXPECT_EQ(Render(view), c.Expected);
    EXPECT_EQ(view.DisplayOrder(), view.PassingRecords());
}

INSTANTIATE_TEST_SUITE_P(
    EveryOrder, DisplayOrderTest,
    testing::Values(
        // Names group without regard to case; sizes largest first.
        TOrderCase{"NameSize",
                   goNameSize,
                   true,
                   false,
                   {{.Name = "a.txt", .Size = 30, .Group = 1},
                    {.Name = "A.TXT", .Size = 30, .Group = 1},
                    {.Name = "a.txt", .Size = 10, .Group = 2},
                    {.Name = "a.txt", .Size = 10, .Group = 2},
                    {.Name = "b.txt", .Size = 5, .Group = 3},
                    {.Name = "b.txt", .Size = 5, .Group = 3}},
                   "Name=a.txt{Size=30{0 1} Size=10{2 3}} Name=b.txt{Size=5{4 5}}"},
        // Within a group, rows go by size, largest first; checksums nest under the name.
        TOrderCase{"Name",
                   goName,
                   true,
                   true,
                   {{.Name = "a", .Size = 10, .Group = 1, .Checksum = Crc(0xA)},
                    {.Name = "a", .Size = 30, .Group = 1, .Checksum = Crc(0xA)},
                    {.Name = "a", .Size = 20, .Group = 1, .Checksum = Crc(0xA)},
                    {.Name = "a", .Size = 5, .Group = 2, .Checksum = Crc(0xB)},
                    {.Name = "a", .Size = 5, .Group = 2, .Checksum = Crc(0xB)},
                    {.Name = "B", .Size = 7, .Group = 3, .Checksum = Crc(0xC)},
                    {.Name = "b", .Size = 9, .Group = 3, .Checksum = Crc(0xC)}},
                   "Name=a{CheckSum=0000000A{1 2 0} CheckSum=0000000B{3 4}} "
                   "Name=b{CheckSum=0000000C{6 5}}"},
        TOrderCase{"Size",
                   goSize,
                   true,
                   false,
                   {{.Name = "x", .Size = 5'000'000'000, .Group = 1},
                    {.Name = "y", .Size = 5'000'000'000, .Group = 1},
                    {.Name = "z", .Size = 5'000'000'000, .Group = 1},
                    {.Name = "p", .Size = 50, .Group = 2},
                    {.Name = "q", .Size = 50, .Group = 2}},
                   "Size=5000000000{0 1 2} Size=50{3 4}"},
        // An unreadable file's text groups like any other.
        TOrderCase{"SizeName",
                   goSizeName,
                   true,
                   true,
                   {{.Name = "a", .Size = 300, .Group = 1, .Checksum = Crc(0xA)},
                    {.Name = "A", .Size = 300, .Group = 1, .Checksum = Crc(0xA)},
                    {.Name = "b", .Size = 300, .Group = 2, .Checksum = Crc(0xB)},
                    {.Name = "b", .Size = 300, .Group = 2, .Checksum = Crc(0xB)},
                    {.Name = "c", .Size = 100, .Group = 3, .Checksum = TChecksum::Unreadable()},
                    {.Name = "c", .Size = 100, .Group = 3, .Checksum = TChecksum::Unreadable()}},
                   "Size=300{Name=a{CheckSum=0000000A{0 1}} Name=b{CheckSum=0000000B{2 3}}} "
                   "Size=100{Name=c{CheckSum=FFFFFFFF{4 5}}}"},
        // The sort stage leaves sizes ascending here; the grid shows them largest first.
        TOrderCase{"NameSizeDate",
                   goNameSizeDate,
                   true,
                   false,
                   {{.Name = "x", .Size = 100, .Group = 1, .Date = 40000},
                    {.Name = "x", .Size = 100, .Group = 1, .Date = 40000},
                    {.Name = "x", .Size = 200, .Group = 2, .Date = 40000},
                    {.Name = "X", .Size = 200, .Group = 2, .Date = 40000},
                    {.Name = "x", .Size = 200, .Group = 3, .Date = 41000},
                    {.Name = "x", .Size = 200, .Group = 3, .Date = 41000}},
                   "Name=x{Size=200{Date=40000{2 3} Date=41000{4 5}} Size=100{Date=40000{0 1}}}"},
        // A flat list sorts by size alone: groups of a name split when their sizes differ, and
        // rows of equal size keep their order.
        TOrderCase{"Flat",
                   goName,
                   false,
                   false,
                   {{.Name = "a", .Size = 10, .Group = 1},
                    {.Name = "a", .Size = 5, .Group = 1},
                    {.Name = "b", .Size = 10, .Group = 2},
                    {.Name = "b", .Size = 5, .Group = 2}},
                   "0 2 1 3"}),
    [](const testing::TestParamInfo<TOrderCase>& info) { return info.param.Title; });

TEST(DisplayOrderTest, DoesNotDependOnTheRecordOrder) {
    // Rows written in reverse: the names are then out of order, which the collator sorts out.
    TResultRows rows;
    rows.Add({.Name = "a", .Size = 300, .Group = 1});
    rows.Add({.Name = "A", .Size = 300, .Group = 1});
    rows.Add({.Name = "b", .Size = 300, .Group = 2});
    rows.Add({.Name = "B", .Size = 300, .Group = 2});
    rows.Add({.Name = "c", .Size = 100, .Group = 3});
    rows.Add({.Name = "c", .Size = 100, .Group = 3});
    std::reverse(rows.Rows.begin(), rows.Rows.end());
    TResultView view;
    view.Load(rows.Files, rows.Rows, ClassifiedLayout(goSizeName, true, false, false));
    EXPECT_EQ(Render(view), "Size=300{Name=A{1 0} Name=B{3 2}} Size=100{Name=c{5 4}}");
}

TEST(DisplayOrderTest, NamesCompareWithoutCaseButWithAccents) {
    TResultRows rows;
    rows.Add({.Name = "élan", .Size = 1, .Group = 1});
    rows.Add({.Name = "Apple", .Size = 1, .Group = 2});
    rows.Add({.Name = "ÉLAN", .Size = 2, .Group = 1});
    rows.Add({.Name = "elan", .Size = 1, .Group = 3});
    rows.Add({.Name = "apple", .Size = 1, .Group = 2});
    TResultView view;
    view.Load(rows.Files, rows.Rows, ClassifiedLayout(goName, true, false, false));
    EXPECT_EQ(Render(view), "Name=Apple{1 4} Name=elan{3} Name=ÉLAN{2 0}");
}

TEST(DisplayOrderTest, KeepsNamesThatAreNotUtf8ApartWhateverTheRecordOrder) {
    // The three names collate alike (each reads as U+FFFD); only the middle one is valid UTF-8.
    // They stay three groups, the valid one first and the others by their bytes.
    const std::string names[] = {"\xFF", "\xEF\xBF\xBD", "\x80"};
    TResultRows rows;
    for (uint32_t group = 0; group < 3; ++group)
        for (int copy = 0; copy < 2; ++copy)
            rows.Add({.Name = names[group], .Size = 2 - copy, .Group = group + 1});
    const std::string expected = "Name=\xEF\xBF\xBD{2 3} Name=\x80{4 5} Name=\xFF{0 1}";
    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        TResultView view;
        view.Load(rows.Files, rows.Rows, ClassifiedLayout(goName, true, false, false));
        ASSERT_EQ(Render(view), expected) << "round " << round;
        std::shuffle(rows.Rows.begin(), rows.Rows.end(), random);
    }
}

class FilteredViewTest : public testing::Test {
protected:
    void SetUp() override {
        rows.Add({.Name = "a.txt", .Size = 30, .Group = 1});
        rows.Add({.Folder = "/other/", .Name = "A.TXT", .Size = 30, .Group = 1});
        rows.Add({.Name = "a.txt", .Size = 10, .Group = 2});
        rows.Add({.Name = "a.txt", .Size = 10, .Group = 2});
        rows.Add({.Name = "b.txt", .Size = 5, .Group = 3});
        rows.Add({.Name = "b.txt", .Size = 5, .Group = 3});
        view.Load(rows.Files, rows.Rows, ClassifiedLayout(goNameSize, true, false, false));
    }
    static TRowPredicate SizeBelow(int64_t limit) {
        return [limit](const TResultRow&, const TFile& file) { return file.Size < limit; };
    }

    TResultRows rows;
    TResultView view;
};

TEST_F(FilteredViewTest, HidesRowsAndTheGroupRowsLeftEmpty) {
    view.SetFilter(SizeBelow(30));
    EXPECT_TRUE(view.Filtered());
    EXPECT_EQ(Render(view), "Name=a.txt{Size=10{2 3}} Name=b.txt{Size=5{4 5}}");
    EXPECT_EQ(view.PassingCount(), 4u);
    EXPECT_EQ(view.PassingRecord(0), 2u);
    EXPECT_EQ(view.DisplayPosition(0), -1);
    EXPECT_FALSE(view.Passes(1));
    EXPECT_EQ(view.DisplayPosition(5), 3);
    EXPECT_EQ(view.DisplayOrder().size(), 6u);

    view.SetFilter({});
    EXPECT_FALSE(view.Filtered());
    EXPECT_EQ(view.PassingCount(), 6u);
    EXPECT_EQ(view.DisplayPosition(0), 0);
}

TEST_F(FilteredViewTest, NewRowsKeepTheFilter) {
    view.SetFilter(SizeBelow(30));
    view.Load(rows.Files, rows.Rows, ClassifiedLayout(goNameSize, true, false, false));
    EXPECT_TRUE(view.Filtered());
    EXPECT_EQ(view.PassingCount(), 4u);
}

TEST_F(FilteredViewTest, GroupRowTakesItsValueFromItsFirstShownRow) {
    view.SetFilter([](const TResultRow& row, const TFile& file) {
        return !(row.FilePosition == 0 && file.Path() == "/data/");
    });
    EXPECT_EQ(Render(view), "Name=A.TXT{Size=30{1} Size=10{2 3}} Name=b.txt{Size=5{4 5}}");
}

TEST_F(FilteredViewTest, LinksGroupRowsToTheirParentsAndRows) {
    const TGroupTree& tree = view.Groups();
    ASSERT_EQ(tree.LevelCount(), 2u);
    ASSERT_EQ(tree.Level(1).size(), 3u);
    EXPECT_EQ(tree.Level(1)[1].Parent, 0u);
    EXPECT_EQ(tree.Level(1)[2].Parent, 1u);
    EXPECT_EQ(tree.GroupOfRow(0), 0u);
    EXPECT_EQ(tree.GroupOfRow(3), 1u);
    EXPECT_EQ(tree.GroupOfRow(4), 2u);
}

TEST_F(FilteredViewTest, ThrowingFilterKeepsThePreviousOne) {
    view.SetFilter(SizeBelow(30));
    EXPECT_THROW(view.SetFilter([](const TResultRow&, const TFile&) -> bool {
        throw std::runtime_error("bad pattern");
    }),
                 std::runtime_error);
    EXPECT_EQ(view.PassingCount(), 4u);
    EXPECT_TRUE(view.Filtered());
}

TEST_F(FilteredViewTest, FindsTheFirstShownNameByItsBeginning) {
    TResultRows named;
    named.Add({.Name = "zeta", .Size = 50, .Group = 1});
    named.Add({.Name = "Report.doc", .Size = 40, .Group = 2});
    named.Add({.Name = "readme.txt", .Size = 30, .Group = 3});
    named.Add({.Name = "éclair", .Size = 20, .Group = 4});
    named.Add({.Name = "7zip.txt", .Size = 10, .Group = 5});
    view.Load(named.Files, named.Rows, ClassifiedLayout(goName, false, false, false));
    EXPECT_EQ(view.FindNamePrefix("re"), 1);
    EXPECT_EQ(view.FindNamePrefix("REA"), 2);
    EXPECT_EQ(view.FindNamePrefix("ÉC"), 3);
    EXPECT_EQ(view.FindNamePrefix("e"), -1); // accents count
    EXPECT_EQ(view.FindNamePrefix("7Z"), 4);
    EXPECT_EQ(view.FindNamePrefix("zetas"), -1);
    EXPECT_EQ(view.FindNamePrefix("Z"), 0);
    view.SetFilter(SizeBelow(40));
    EXPECT_EQ(view.FindNamePrefix("re"), 0);
}

TEST(ResultViewTest, RejectsRowsPointingPastTheList) {
    TResultRows rows;
    rows.Add({.Name = "a", .Size = 1});
    rows.Add({.Name = "a", .Size = 1});
    rows.Rows[1].FilePosition = 2;
    TResultView view;
    EXPECT_THROW(view.Load(rows.Files, rows.Rows, GroupOrderLayout(goNameSize, true)),
                 std::out_of_range);
    EXPECT_EQ(view.RowCount(), 0u);
    EXPECT_EQ(view.PassingCount(), 0u);
}

TEST(ResultViewTest, OrdersAndFiltersManyRowsInBatches) {
    TResultRows rows;
    constexpr int kRows = 100000;
    for (int i = 0; i < kRows; ++i)
        rows.Add({.Name = std::to_string(i % 1000), .Size = i / 2, .Group = 1u + i / 2});
    TResultView view;
    int pumps = 0;
    view.Load(rows.Files, rows.Rows, ClassifiedLayout(goSize, false, false, false),
              [&pumps] { ++pumps; });
    EXPECT_GT(pumps, 0);
    const auto& order = view.DisplayOrder();
    ASSERT_EQ(order.size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(order.front(), static_cast<uint32_t>(kRows - 2));
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return view.File(a).Size > view.File(b).Size;
    }));

    pumps = 0;
    view.SetFilter([](const TResultRow& row, const TFile&) { return row.Group % 2 == 0; },
                   [&pumps] { ++pumps; });
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(view.PassingCount(), static_cast<std::size_t>(kRows / 2));
}

TEST(BatchSortTest, MatchesAFullSortAndPumpsBetweenBatches) {
    std::mt19937 random(7);
    std::vector<std::pair<int, int>> items(5 * kRowsPerPump + 123);
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = {static_cast<int>(random() % 1000), static_cast<int>(i)};
    std::vector<std::pair<int, int>> expected = items;
    std::sort(expected.begin(), expected.end());
    int pumps = 0;
    SortInBatches(items, std::less<>(), [&pumps] { ++pumps; });
    EXPECT_EQ(items, expected);
    EXPECT_GT(pumps, 5);
}

} // namespace
} // namespace quorvane
