// Stored filters in a real configuration file, a filter's text in words, and the grid's filter
// switched on and off over hand-written result rows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/Settings.h"
#include "app/StoredFilters.h"
#include "platform/IniFile.h"
#include "results/CellCondition.h"
#include "results/CriteriaStreamHex.h"
#include "results/DefaultFilters.h"
#include "results/FilterColumnOperators.h"
#include "results/FilterEvaluator.h"
#include "results/FilterText.h"
#include "results/GridFilter.h"
#include "testsupport/FilterErrors.h"
#include "testsupport/ResultRows.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::ThrownMessage;
using Op = TFilterOperator;
using GroupOp = TFilterGroupOperator;

TFilterCondition Condition(TFilterColumn column, Op op, TFilterValue value, std::string shown) {
    return {op, std::move(shown), column, std::move(value)};
}

TFilterGroup Default(const std::string& name) {
    for (const TNamedFilterText& filter : DefaultFilters())
        if (filter.Name == name)
            return DecodeStoredFilter(filter.CriteriaHex);
    ADD_FAILURE() << name;
    return {};
}

std::string FileText(const std::string& name) {
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FilterText, ReadsTheFilterInWords) {
    EXPECT_EQ(FilterText(Default("Executables")),
              "Name like *.exe or Name like *.bin or Name like *.com or Name like *.scr");
    TFilterGroup nested{
        GroupOp::NotAnd,
        {Condition(TFilterColumn::Size, Op::Greater, 1000, "1,000"),
         TFilterGroup{GroupOp::Or,
                      {Condition(TFilterColumn::Path, Op::BeginsWith, std::string("/tmp/"), ""),
                       Condition(TFilterColumn::Name, Op::IsEmpty, {}, "")}},
         TFilterGroup{GroupOp::NotOr, {}}}};
    EXPECT_EQ(FilterText(nested),
              "not (Size is greater than 1,000 and (Path begins with /tmp/ or Name is empty))");
    EXPECT_EQ(FilterText(TFilterGroup{GroupOp::And, {TFilterGroup{}}}), "");
}

TEST(FilterColumnOperators, EachColumnOffersTheOperatorsThatCanTestIt) {
    EXPECT_EQ(FilterOperatorsFor(TFilterColumn::Name).size(), 18u);
    EXPECT_EQ(FilterOperatorsFor(TFilterColumn::Path), FilterOperatorsFor(TFilterColumn::Name));
    const std::vector<Op> size = FilterOperatorsFor(TFilterColumn::Size);
    EXPECT_EQ(size.size(), 16u);
    EXPECT_EQ(std::count(size.begin(), size.end(), Op::IsEmpty), 0);
    const std::vector<Op> date = FilterOperatorsFor(TFilterColumn::Date);
    EXPECT_EQ(date, (std::vector<Op>{Op::Equal, Op::NotEqual, Op::Less, Op::LessEqual, Op::Greater,
                                     Op::GreaterEqual, Op::Between, Op::NotBetween, Op::InList,
                                     Op::NotInList}));
    EXPECT_EQ(FilterOperandsOf(Op::IsNotEmpty), TFilterOperands::None);
    EXPECT_EQ(FilterOperandsOf(Op::NotBetween), TFilterOperands::Two);
    EXPECT_EQ(FilterOperandsOf(Op::InList), TFilterOperands::List);
    EXPECT_EQ(FilterOperandsOf(Op::EndsWith), TFilterOperands::One);
}

TEST(CellCondition, ADraggedCellEqualsItsOwnRowOnly) {
    const TFile file("/home/u/docs/", "Report.txt", 5'000'000'000, 45000.5);
    const TFile other("/home/u/", "report.doc", 12, 45000.25);
    const auto passes = [](const TFilterCondition& condition, const TFile& row) {
        return TFilterEvaluator(TFilterGroup{GroupOp::And, {condition}})
            .Passes({row.Name, row.Size, row.Date, row.Path()});
    };
    for (const TResultColumn column : {rcName, rcSize, rcDate, rcPath}) {
        const std::optional<TFilterCondition> condition = CellEqualsCondition(column, file);
        ASSERT_TRUE(condition) << column;
        EXPECT_EQ(condition->Operator, Op::Equal);
        EXPECT_TRUE(passes(*condition, file)) << column;
        EXPECT_FALSE(passes(*condition, other)) << column;
    }
    EXPECT_EQ(CellEqualsCondition(rcPath, file)->DisplayText, "/home/u/docs/");
    EXPECT_EQ(CellEqualsCondition(rcSize, file)->DisplayText, "5000000000");
    EXPECT_FALSE(CellEqualsCondition(rcChecked, file));
    EXPECT_FALSE(CellEqualsCondition(rcCheckSum, file));
}

class StoredFiltersTest : public testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(configFile) << text; }
    test::TTempDir dir;
    std::string configFile = dir / "quorvane.ini";
};

TEST_F(StoredFiltersTest, StoresAtTheEndAndReadsBackTheSameBytes) {
    Write("[Filters]\nFirst=" + DefaultFilters()[0].CriteriaHex + "\n[Other]\nKey=1\n");
    const TFilterGroup mine{GroupOp::Or,
                            {Condition(TFilterColumn::Size, Op::Between,
                                       TFilterValueList{int32_t{10}, int32_t{20}}, "10 and 20")}};
    StoreFilter(configFile, "Mine", mine);
    EXPECT_EQ(StoredFilterNames(configFile), (std::vector<std::string>{"First", "Mine"}));
    EXPECT_EQ(LoadStoredFilter(configFile, "MINE"), mine);
    EXPECT_EQ(TIniFile(configFile).ReadString(kFiltersSection, "Mine", ""),
              EncodeStoredFilter(mine));

    DeleteStoredFilters(configFile, {"first", "not there"});
    EXPECT_EQ(StoredFilterNames(configFile), (std::vector<std::string>{"Mine"}));
    EXPECT_EQ(TIniFile(configFile).ReadString("Other", "Key", ""), "1");
}

TEST_F(StoredFiltersTest, RefusesCriteriaTooLongToReadBackAndSaysByHowMuch) {
    Write("[Filters]\n");
    const std::string before = FileText(configFile);
    // 4 + 1 + 4 of header, then 1 + 1 + 4 + n + 4 + 1 + 4 + n for one Name condition on a long
    // text.
    const std::string text(500, 'x');
    const TFilterGroup tooLong{GroupOp::And,
                               {Condition(TFilterColumn::Name, Op::Equal, text, text)}};
    const std::string message = ThrownMessage([&] { StoreFilter(configFile, "Long", tooLong); });
    EXPECT_NE(message.find("\"Long\""), std::string::npos) << message;
    EXPECT_NE(message.find("1024 bytes, at most 1023 fit: make it at least 1 bytes shorter"),
              std::string::npos)
        << message;
    EXPECT_EQ(FileText(configFile), before);
}

TEST_F(StoredFiltersTest, MissingEmptyOrDamagedFiltersNameTheFilterAndThePlace) {
    Write("[Filters]\nEmpty=\nCut=FFFFFFFF0102000000\nOdd=FFF\n");
    const struct {
        const char* Name;
        const char* Says;
    } cases[] = {
        {"Gone", "no stored filter of that name"},
        {"Empty", "no conditions stored"},
        {"Cut", "at byte 5 of 9"},
        {"Odd", "odd number of hexadecimal digits"},
    };
    for (const auto& c : cases) {
        const std::string message = ThrownMessage([&] { LoadStoredFilter(configFile, c.Name); });
        EXPECT_EQ(message.find("The filter \"" + std::string(c.Name) + "\" cannot be used: "), 0u)
            << message;
        EXPECT_NE(message.find(c.Says), std::string::npos) << message;
    }
}

TEST_F(StoredFiltersTest, DefaultsCountAsStoredForAReaderThatNeverWrites) {
    Write("[Filters]\nExecutables=\nMine=" + DefaultFilters()[0].CriteriaHex + "\n");
    const std::string before = FileText(configFile);
    EXPECT_EQ(LoadStoredFilterOrDefault(configFile, "documents"), Default("Documents"));
    EXPECT_EQ(LoadStoredFilterOrDefault(configFile, "Executables"), Default("Executables"));
    EXPECT_EQ(LoadStoredFilterOrDefault(configFile, "Mine"), Default("Documents"));
    EXPECT_NE(ThrownMessage([&] {
                  LoadStoredFilterOrDefault(configFile, "Other");
              }).find("no stored filter"),
              std::string::npos);
    EXPECT_NE(ThrownMessage([&] { LoadStoredFilter(configFile, "Documents"); }), "(no error)");
    EXPECT_EQ(FileText(configFile), before);
}

// Six files in three groups: documents, support files and others, in mixed letter case.
class GridFilterTest : public testing::Test {
protected:
    void SetUp() override {
        rows.Add({.Folder = "/a/", .Name = "REPORT.DOC", .Size = 30, .Group = 1});
        rows.Add({.Folder = "/b/", .Name = "report.doc", .Size = 30, .Group = 1});
        rows.Add({.Folder = "/a/", .Name = "lib.Dll", .Size = 20, .Group = 2});
        rows.Add({.Folder = "/b/", .Name = "lib.dll", .Size = 20, .Group = 2});
        rows.Add({.Folder = "/a/", .Name = "notes.txt.bak", .Size = 5, .Group = 3});
        rows.Add({.Folder = "/b/", .Name = "notes.txt.bak", .Size = 5, .Group = 3});
        grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goName, true, false, false));
    }
    std::vector<uint32_t> Passing() const {
        std::vector<uint32_t> records = grid.View().PassingRecords();
        std::sort(records.begin(), records.end());
        return records;
    }

    test::TResultRows rows;
    TResultGrid grid;
    TGridFilter filter{grid};
};

TEST_F(GridFilterTest, DefaultFiltersPassTheirExtensionsInAnyCase) {
    filter.Apply(Default("Documents"));
    EXPECT_EQ(Passing(), (std::vector<uint32_t>{0, 1}));
    filter.Apply(Default("Support files"));
    EXPECT_EQ(Passing(), (std::vector<uint32_t>{2, 3}));
    filter.Apply(Default("Not Support files"));
    EXPECT_EQ(Passing(), (std::vector<uint32_t>{0, 1, 4, 5}));
    EXPECT_EQ(grid.SummaryText(), "4 files (70 bytes) in 2 groups");
}

TEST_F(GridFilterTest, SwitchingKeepsCriteriaAndMarksAndTheCheckedListFollows) {
    grid.Checks().CheckAll();
    filter.Apply(Default("Documents"));
    EXPECT_TRUE(filter.Active() && filter.HasFilter());
    EXPECT_EQ(grid.Checks().CheckedList(), (std::vector<uint32_t>{0, 1}));

    filter.SetActive(false);
    EXPECT_FALSE(filter.Active());
    EXPECT_EQ(grid.View().PassingCount(), 6u);
    EXPECT_EQ(grid.Checks().CheckedList().size(), 6u);
    EXPECT_EQ(filter.Criteria(), Default("Documents"));

    filter.SetActive(true);
    EXPECT_EQ(Passing(), (std::vector<uint32_t>{0, 1}));

    // Hiding every row empties the summary and the checked list.
    filter.Apply({GroupOp::And, {Condition(TFilterColumn::Size, Op::Greater, 1000, "1000")}});
    EXPECT_EQ(grid.SummaryText(), "0 files (0 bytes) in 0 groups");
    EXPECT_TRUE(grid.Checks().CheckedList().empty());

    // Criteria without conditions show every row and leave nothing to switch.
    filter.Apply({GroupOp::Or, {TFilterGroup{}}});
    EXPECT_FALSE(filter.HasFilter() || filter.Active());
    EXPECT_EQ(grid.View().PassingCount(), 6u);
}

TEST_F(GridFilterTest, AConditionThatCannotBeUsedChangesNothing) {
    filter.Apply(Default("Documents"));
    const TFilterGroup bad{GroupOp::And, {Condition(TFilterColumn::Date, Op::Like, "x*", "x*")}};
    EXPECT_NE(ThrownMessage([&] { filter.Apply(bad); }).find("Date like"), std::string::npos);
    EXPECT_EQ(filter.Criteria(), Default("Documents"));
    EXPECT_EQ(Passing(), (std::vector<uint32_t>{0, 1}));
}

} // namespace
} // namespace quorvane
