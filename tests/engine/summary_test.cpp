#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/NumberFormat.h"
#include "results/ResultGrid.h"
#include "results/Summary.h"
#include "testsupport/ResultRows.h"

namespace quorvane {
namespace {

using test::TResultRows;

class NumberLocaleTest : public testing::Test {
protected:
    void TearDown() override { SetNumberLocale(""); }
};

struct TFormatCase {
    const char* Locale;
    int64_t Value;
    const char* Expected;
};

void PrintTo(const TFormatCase& c, std::ostream* out) {
    *out << c.Locale << ' ' << c.Value;
}

class GroupedIntegerTest : public NumberLocaleTest,
                           public testing::WithParamInterface<TFormatCase> {};

TEST_P(GroupedIntegerTest, UsesTheSeparatorOfTheLocale) {
    SetNumberLocale(GetParam().Locale);
    EXPECT_EQ(FormatGroupedInteger(GetParam().Value), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, GroupedIntegerTest,
    testing::Values(TFormatCase{"en", 1234567, "1,234,567"}, TFormatCase{"en", 0, "0"},
                    TFormatCase{"en", 999, "999"}, TFormatCase{"en", 1000, "1,000"},
                    TFormatCase{"en", 9'223'372'036'854'775'807, "9,223,372,036,854,775,807"},
                    TFormatCase{"de", 1234567, "1.234.567"}, TFormatCase{"de", -1234, "-1.234"},
                    // Groups of two above the first three.
                    TFormatCase{"hi", 123456789, "12,34,56,789"},
                    // Grouped from four digits on even where the locale would wait for five.
                    TFormatCase{"pl", 1234, "1\u00A0234"},
                    TFormatCase{"fr", 1234567, "1\u202F234\u202F567"},
                    TFormatCase{"de_CH", 1234567, "1\u2019234\u2019567"},
                    // Latin digits whatever the locale's own digits are.
                    TFormatCase{"ar_EG", 1234567, "1,234,567"},
                    // The C and POSIX locales group like the neutral root locale.
                    TFormatCase{"en_US_POSIX", 1234567, "1,234,567"}));

TEST_F(NumberLocaleTest, SummaryTextReadsAsTheStatusBarShowsIt) {
    SetNumberLocale("en");
    EXPECT_EQ(SummaryText({12, 1234567, 5}), "12 files (1,234,567 bytes) in 5 groups");
    EXPECT_EQ(SummaryText({}), "0 files (0 bytes) in 0 groups");
    SetNumberLocale("de");
    EXPECT_EQ(SummaryText({12345, 1234567, 5000}), "12345 files (1.234.567 bytes) in 5000 groups");
}

// Four groups of two, the second of them over 4 GiB per file.
class SummaryStepTest : public NumberLocaleTest {
protected:
    void SetUp() override {
        SetNumberLocale("en");
        rows.Add({.Name = "a", .Size = 100, .Group = 1});
        rows.Add({.Name = "a", .Size = 100, .Group = 1});
        rows.Add({.Name = "b", .Size = 5'000'000'000, .Group = 2});
        rows.Add({.Name = "b", .Size = 5'000'000'000, .Group = 2});
        rows.Add({.Name = "c", .Size = 7, .Group = 3});
        rows.Add({.Name = "c", .Size = 7, .Group = 3});
        rows.Add({.Name = "d", .Size = 1, .Group = 4});
        rows.Add({.Name = "d", .Size = 1, .Group = 4});
    }
    void Load(TGroupOrder order, bool separateGroups) {
        grid.Load(rows.Files, rows.Rows, ClassifiedLayout(order, separateGroups, false, false));
    }
    std::string Bands() const {
        std::string bands;
        for (uint32_t record : grid.View().PassingRecords())
            bands += grid.RowBand(record) == TRowBand::Striped ? 'S' : '-';
        return bands;
    }

    TResultRows rows;
    TResultGrid grid;
};

TEST_F(SummaryStepTest, CountsFilesBytesAndGroupsAfterALoad) {
    Load(goNameSize, true);
    EXPECT_EQ(grid.Summary(), (TSummary{8, 10'000'000'216, 4}));
    EXPECT_EQ(grid.SummaryText(), "8 files (10,000,000,216 bytes) in 4 groups");
    EXPECT_EQ(Bands(), "--------"); // separated groups draw no bands
}

TEST_F(SummaryStepTest, FlatListAlternatesBandsByGroup) {
    Load(goNameSize, false);
    // Largest first: b, a, c, d.
    EXPECT_EQ(grid.View().PassingRecord(0), 2u);
    EXPECT_EQ(Bands(), "--SS--SS");
}

TEST_F(SummaryStepTest, FilterRecountsAndShiftsTheBands) {
    Load(goNameSize, false);
    grid.SetFilter([](const TResultRow& row, const TFile&) { return row.Group != 1; });
    EXPECT_EQ(grid.SummaryText(), "6 files (10,000,000,016 bytes) in 3 groups");
    EXPECT_EQ(Bands(), "--SS--");
    grid.SetFilter([](const TResultRow& row, const TFile&) { return row.FilePosition % 2 == 0; });
    EXPECT_EQ(grid.Summary(), (TSummary{4, 5'000'000'108, 4}));
    grid.SetFilter({});
    EXPECT_EQ(grid.Summary(), (TSummary{8, 10'000'000'216, 4}));
}

TEST_F(SummaryStepTest, GroupSplitInTheDisplayCountsOncePerRun) {
    // Under Name with groups not separated, rows go by size alone: a group of two sizes is split.
    TResultRows split;
    split.Add({.Name = "a", .Size = 10, .Group = 1});
    split.Add({.Name = "a", .Size = 5, .Group = 1});
    split.Add({.Name = "b", .Size = 10, .Group = 2});
    split.Add({.Name = "b", .Size = 5, .Group = 2});
    grid.Load(split.Files, split.Rows, ClassifiedLayout(goName, false, false, false));
    EXPECT_EQ(grid.SummaryText(), "4 files (30 bytes) in 4 groups");
    EXPECT_EQ(Bands(), "-S-S");
}

TEST_F(SummaryStepTest, EmptyResultReadsZero) {
    TFilesList empty;
    grid.Load(empty, {}, ClassifiedLayout(goNameSize, true, true, false));
    EXPECT_EQ(grid.SummaryText(), "0 files (0 bytes) in 0 groups");
    EXPECT_TRUE(grid.Checks().CheckedList().empty());
}

TEST_F(SummaryStepTest, RebuildsTheCheckedListFromFlagsAndFilter) {
    Load(goNameSize, true);
    TCheckMarks& checks = grid.Checks();
    checks.CheckSelected({5, 0, 3});
    EXPECT_EQ(checks.CheckedList(), (std::vector<uint32_t>{5, 0, 3})); // order of insertion
    grid.SetFilter([](const TResultRow& row, const TFile&) { return row.FilePosition != 3; });
    EXPECT_EQ(checks.CheckedList(), (std::vector<uint32_t>{0, 5}));
    grid.SetFilter({});
    EXPECT_EQ(checks.CheckedList(), (std::vector<uint32_t>{0, 3, 5}));
}

TEST_F(SummaryStepTest, PumpsOverManyRows) {
    TResultRows many;
    for (uint32_t i = 0; i < 3 * kRowsPerPump; ++i)
        many.Add({.Name = "n", .Size = 3, .Group = 1 + i / 3});
    grid.Load(many.Files, many.Rows, ClassifiedLayout(goNameSize, true, false, false));
    std::vector<bool> stripes;
    int pumps = 0;
    const TSummary summary = SummarizePassingRows(grid.View(), stripes, [&pumps] { ++pumps; });
    EXPECT_EQ(summary,
              (TSummary{3 * kRowsPerPump, 9 * static_cast<int64_t>(kRowsPerPump), kRowsPerPump}));
    EXPECT_GE(pumps, 2);
}

} // namespace
} // namespace quorvane
