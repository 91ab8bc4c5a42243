#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "results/CriteriaStreamHex.h"
#include "results/DefaultFilters.h"
#include "results/FilterError.h"
#include "results/FilterEvaluator.h"
#include "results/FilterTextPattern.h"
#include "testsupport/FilterErrors.h"

namespace quorvane {
namespace {

using Op = TFilterOperator;
using GroupOp = TFilterGroupOperator;
using test::ThrownMessage;
using Column = TFilterColumn;

TFilterCondition Condition(Column column, Op op, TFilterValue value = TFilterNull{}) {
    return TFilterCondition{op, FilterValueToText(value), column, std::move(value)};
}

TFilterValueList List(std::vector<TFilterValue> values) {
    return TFilterValueList(std::move(values));
}

TDateTime Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return EncodeDateTime(TDateTimeParts{year, month, day, hour, minute, second});
}

bool Passes(const TFilterGroup& criteria, const TFilterRowValues& row) {
    return TFilterEvaluator(criteria).Passes(row);
}

bool ConditionPasses(const TFilterCondition& condition, const TFilterRowValues& row) {
    return Passes(TFilterGroup{GroupOp::And, {condition}}, row);
}

// --- "like" and the other text patterns --------------------------------------------------------

TEST(FilterTextPattern, LikeMatchesWithoutCaseAndWithWildcards) {
    const struct {
        std::string Pattern, Text;
        bool Matches;
    } cases[] = {
        {"*.txt", "notes.txt", true},
        {"*.txt", "REPORT.TXT", true},
        {"*.txt", "notes.txt.bak", false},
        {"*.txt", ".txt", true},
        {"*.txt", "txt", false},
        {"*.gz", "a.GZ", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a?c", "abbc", false},
        {"??", "\xC3\xA9x", true}, // "éx": one character per code point, not per byte
        {"?", "\xC3\xA9x", false},
        {"?", "\xFF", true},        // a stray byte is one character
        {"??x", "\xE2\x82x", true}, // so is each byte of a cut-short sequence
        {"*", "", true},
        {"*", "anything", true},
        {"", "", true},
        {"", "a", false},
        {"abc", "ABC", true},
        {"abc", "abcd", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXcYb", false},
        {"a*b*c", "abc", true},
        {"*ab*ab*", "abab", true},
        {"*ab*ab*", "aab", false},
        {"*a?c*", "xxabcxx", true},
        {"**.txt", "a.txt", true},
        {"\xC3\xA4*", "\xC3\x84pfel", true}, // "ä*" matches "Äpfel"
        {"e*", "\xC3\xA9t\xC3\xA9", false},  // accents are kept: "e*" does not match "été"
        {"*.doc", "REPORT.DOC", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pattern + " ~ " + c.Text);
        EXPECT_EQ(TFilterTextPattern::Like(c.Pattern).Matches(c.Text), c.Matches);
    }
}

TEST(FilterTextPattern, ContainsBeginsAndEndsTakeWildcardsLiterally) {
    EXPECT_TRUE(TFilterTextPattern::Contains("PORT").Matches("report.txt"));
    EXPECT_FALSE(TFilterTextPattern::Contains("port*").Matches("report.txt"));
    EXPECT_TRUE(TFilterTextPattern::Contains("t*?").Matches("what*?"));
    EXPECT_TRUE(TFilterTextPattern::Contains("").Matches(""));
    EXPECT_TRUE(TFilterTextPattern::BeginsWith("RE").Matches("report"));
    EXPECT_FALSE(TFilterTextPattern::BeginsWith("port").Matches("report"));
    EXPECT_TRUE(TFilterTextPattern::EndsWith("PORT").Matches("report"));
    EXPECT_FALSE(TFilterTextPattern::EndsWith("longer than report").Matches("report"));
}

TEST(FilterTextPattern, ManyStarsDoNotBacktrackWithoutEnd) {
    // A matcher that retries every split of every "*" takes exponential time here.
    const std::string text(5000, 'a');
    EXPECT_FALSE(TFilterTextPattern::Like("*a*a*a*a*a*a*a*a*a*a*a*a*b").Matches(text));
    EXPECT_TRUE(TFilterTextPattern::Like("*a*a*a*a*a*a*a*a*a*a*a*a*a").Matches(text));
}

// --- Each operator on each column --------------------------------------------------------------

const TFilterRowValues kRow{"Report.TXT", 5'000'000'000, Date(2024, 3, 5, 10, 20, 30),
                            "/home/u/docs/"};

struct TOperatorCase {
    TFilterCondition Condition;
    bool Passes;
};

TEST(FilterConditions, TextColumnsCompareWithoutCase) {
    const TOperatorCase cases[] = {
        {Condition(Column::Name, Op::Equal, std::string("report.txt")), true},
        {Condition(Column::Name, Op::Equal, std::string("report.tx")), false},
        {Condition(Column::Name, Op::NotEqual, std::string("REPORT.txt")), false},
        {Condition(Column::Name, Op::NotEqual, std::string("other")), true},
        {Condition(Column::Name, Op::Less, std::string("s")), true},
        {Condition(Column::Name, Op::Less, std::string("report.txt")), false},
        {Condition(Column::Name, Op::LessEqual, std::string("REPORT.TXT")), true},
        {Condition(Column::Name, Op::Greater, std::string("Q")), true},
        {Condition(Column::Name, Op::Greater, std::string("report.txt")), false},
        {Condition(Column::Name, Op::GreaterEqual, std::string("report.txt")), true},
        {Condition(Column::Name, Op::GreaterEqual, std::string("S")), false},
        {Condition(Column::Name, Op::Like, std::string("r*.t?t")), true},
        {Condition(Column::Name, Op::NotLike, std::string("r*.t?t")), false},
        {Condition(Column::Name, Op::NotLike, std::string("*.doc")), true},
        {Condition(Column::Name, Op::Between, List({std::string("a"), std::string("S")})), true},
        {Condition(Column::Name, Op::Between, List({std::string("S"), std::string("a")})), true},
        {Condition(Column::Name, Op::Between, List({std::string("s"), std::string("z")})), false},
        {Condition(Column::Name, Op::NotBetween, List({std::string("s"), std::string("z")})), true},
        {Condition(Column::Name, Op::InList, List({std::string("x"), std::string("REPORT.txt")})),
         true},
        {Condition(Column::Name, Op::InList, List({std::string("x"), std::string("y")})), false},
        {Condition(Column::Name, Op::InList, std::string("report.txt")), true},
        {Condition(Column::Name, Op::NotInList,
                   List({std::string("x"), std::string("REPORT.txt")})),
         false},
        {Condition(Column::Name, Op::Contains, std::string("PORT.")), true},
        {Condition(Column::Name, Op::NotContains, std::string("PORT.")), false},
        {Condition(Column::Name, Op::BeginsWith, std::string("rep")), true},
        {Condition(Column::Name, Op::EndsWith, std::string(".txt")), true},
        {Condition(Column::Name, Op::EndsWith, std::string("report")), false},
        {Condition(Column::Name, Op::IsEmpty), false},
        {Condition(Column::Name, Op::IsNotEmpty), true},
        {Condition(Column::Name, Op::Equal, std::u16string(u"REPORT.txt")), true},
        {Condition(Column::Path, Op::Equal, std::string("/HOME/U/DOCS/")), true},
        {Condition(Column::Path, Op::Equal, std::string("/home/u/")), false},
        {Condition(Column::Path, Op::BeginsWith, std::string("/home/u/")), true},
        {Condition(Column::Path, Op::Like, std::string("*/docs/")), true},
    };
    for (const TOperatorCase& c : cases) {
        SCOPED_TRACE(std::string(FilterColumnName(c.Condition.Column)) + " " +
                     std::string(FilterOperatorName(c.Condition.Operator)) + " " +
                     c.Condition.DisplayText);
        EXPECT_EQ(ConditionPasses(c.Condition, kRow), c.Passes);
    }
}

TEST(FilterConditions, SizesCompareAsSixtyFourBitIntegers) {
    const TOperatorCase cases[] = {
        // Sizes beyond 32 bits arrive as decimal text.
        {Condition(Column::Size, Op::Equal, FilterValueFromInt64(5'000'000'000)), true},
        {Condition(Column::Size, Op::Equal, FilterValueFromInt64(5'000'000'001)), false},
        {Condition(Column::Size, Op::Equal, std::string(" 5000000000 ")), true},
        {Condition(Column::Size, Op::NotEqual, FilterValueFromInt64(5'000'000'000)), false},
        {Condition(Column::Size, Op::Greater, int32_t{2'000'000'000}), true},
        {Condition(Column::Size, Op::Less, FilterValueFromInt64(5'000'000'001)), true},
        {Condition(Column::Size, Op::LessEqual, FilterValueFromInt64(4'999'999'999)), false},
        {Condition(Column::Size, Op::GreaterEqual, FilterValueFromInt64(5'000'000'000)), true},
        {Condition(Column::Size, Op::Greater, 4'999'999'999.5), true},
        {Condition(Column::Size, Op::Less, 5'000'000'000.5), true},
        {Condition(Column::Size, Op::Equal, 5'000'000'000.0), true},
        {Condition(Column::Size, Op::Less, 1e19), true},
        {Condition(Column::Size, Op::Greater, -1e19), true},
        {Condition(Column::Size, Op::Greater, TFilterCurrency{49'999'999'999'999}), true},
        {Condition(Column::Size, Op::Between,
                   List({FilterValueFromInt64(6'000'000'000), int32_t{1}})),
         true},
        {Condition(Column::Size, Op::Between, List({int32_t{1}, int32_t{1000}})), false},
        {Condition(Column::Size, Op::NotBetween, List({int32_t{1}, int32_t{1000}})), true},
        {Condition(Column::Size, Op::InList, List({int32_t{7}, std::string("5000000000")})), true},
        {Condition(Column::Size, Op::NotInList, List({int32_t{7}, int32_t{8}})), true},
        {Condition(Column::Size, Op::Like, std::string("5*0")), true},
        {Condition(Column::Size, Op::BeginsWith, std::string("6")), false},
        {Condition(Column::Size, Op::IsEmpty), false},
        {Condition(Column::Size, Op::IsNotEmpty), true},
    };
    for (const TOperatorCase& c : cases) {
        SCOPED_TRACE(std::string(FilterOperatorName(c.Condition.Operator)) + " " +
                     c.Condition.DisplayText);
        EXPECT_EQ(ConditionPasses(c.Condition, kRow), c.Passes);
    }
}

TEST(FilterConditions, DatesCompareToTheSecond) {
    const TDateTime when = kRow.Date;
    const TOperatorCase cases[] = {
        {Condition(Column::Date, Op::Equal, TFilterDate{when}), true},
        // A day fraction that went through another rounding still names the same second.
        {Condition(Column::Date, Op::Equal, TFilterDate{when + 1e-9}), true},
        {Condition(Column::Date, Op::Equal, TFilterDate{Date(2024, 3, 5, 10, 20, 32)}), false},
        {Condition(Column::Date, Op::NotEqual, TFilterDate{Date(2024, 3, 5)}), true},
        {Condition(Column::Date, Op::Greater, TFilterDate{Date(2024, 3, 5)}), true},
        {Condition(Column::Date, Op::Less, TFilterDate{Date(2024, 3, 5)}), false},
        {Condition(Column::Date, Op::LessEqual, TFilterDate{when}), true},
        {Condition(Column::Date, Op::GreaterEqual, TFilterDate{Date(2024, 3, 6)}), false},
        {Condition(Column::Date, Op::Between,
                   List({TFilterDate{Date(2024, 1, 1)}, TFilterDate{Date(2024, 12, 31)}})),
         true},
        {Condition(Column::Date, Op::NotBetween,
                   List({TFilterDate{Date(2024, 1, 1)}, TFilterDate{Date(2024, 12, 31)}})),
         false},
        {Condition(Column::Date, Op::InList,
                   List({TFilterDate{Date(2020, 1, 1)}, TFilterDate{when}})),
         true},
        {Condition(Column::Date, Op::NotInList, List({TFilterDate{Date(2020, 1, 1)}})), true},
        {Condition(Column::Date, Op::Equal, std::string("2024-03-05 10:20:30")), true},
        {Condition(Column::Date, Op::Greater, std::string("2024-03-05 10:20")), true},
        {Condition(Column::Date, Op::Less, std::string("2024-03-06")), true},
        {Condition(Column::Date, Op::Greater, Date(2024, 3, 5)), true}, // a day number
        {Condition(Column::Date, Op::IsEmpty), false},
        {Condition(Column::Date, Op::IsNotEmpty), true},
    };
    for (const TOperatorCase& c : cases) {
        SCOPED_TRACE(std::string(FilterOperatorName(c.Condition.Operator)) + " " +
                     c.Condition.DisplayText);
        EXPECT_EQ(ConditionPasses(c.Condition, kRow), c.Passes);
    }
}

TEST(FilterConditions, ComparingWithNoValueAsksForAnEmptyColumn) {
    const TFilterRowValues noName{"", 0, 0, "/"};
    for (const TFilterValue& missing :
         {TFilterValue(TFilterNull{}), TFilterValue(TFilterUnassigned{})}) {
        EXPECT_TRUE(ConditionPasses(Condition(Column::Name, Op::Equal, missing), noName));
        EXPECT_FALSE(ConditionPasses(Condition(Column::Name, Op::Equal, missing), kRow));
        EXPECT_TRUE(ConditionPasses(Condition(Column::Name, Op::NotEqual, missing), kRow));
        EXPECT_FALSE(ConditionPasses(Condition(Column::Size, Op::Equal, missing), noName));
    }
    EXPECT_TRUE(ConditionPasses(Condition(Column::Name, Op::IsEmpty), noName));
}

TEST(FilterConditions, UnusableConditionsAreRefusedWithTheirReason) {
    const struct {
        TFilterCondition Condition;
        std::string Message;
    } cases[] = {
        {Condition(Column::Size, Op::Equal, std::string("abc")),
         "The filter condition Size equals \"abc\" cannot be used: \"abc\" is not a whole number "
         "of bytes"},
        {Condition(Column::Size, Op::Equal, std::string("12abc")),
         "is not a whole number of bytes"},
        {Condition(Column::Size, Op::Equal, std::string("99999999999999999999")),
         "is not a whole number"},
        {Condition(Column::Size, Op::Greater, true), "\"True\" is not a number of bytes"},
        {Condition(Column::Size, Op::Greater, std::nan("")), "not a finite number"},
        {Condition(Column::Date, Op::Equal, std::string("yesterday")), "is not a date of the form"},
        {Condition(Column::Date, Op::Equal, std::string("2024-02-30")),
         "is not a date of the form"},
        {Condition(Column::Date, Op::Equal, std::string("2024-02-03 25:00")),
         "is not a date of the form"},
        {Condition(Column::Date, Op::Equal, std::string("2024-02-03x")),
         "is not a date of the form"},
        {Condition(Column::Date, Op::Equal, TFilterCurrency{1}), "is not a date"},
        {Condition(Column::Date, Op::Like, std::string("2024*")),
         "dates cannot be matched as text"},
        {Condition(Column::Name, Op::Less), "it has no value to compare with"},
        {Condition(Column::Name, Op::Like, TFilterUnassigned{}), "it has no value to compare with"},
        {Condition(Column::Name, Op::Equal, List({std::string("a")})),
         "it takes one value, not a list"},
        {Condition(Column::Name, Op::Between, std::string("a")), "it needs a list of two values"},
        {Condition(Column::Size, Op::Between, List({int32_t{1}, int32_t{2}, int32_t{3}})),
         "it needs a list of two values"},
        {Condition(Column::Name, Op::InList, List({})), "its list of values is empty"},
        {Condition(Column::Name, Op::InList, List({std::string("a"), TFilterNull{}})),
         "it has no value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        const TFilterGroup criteria{GroupOp::Or, {TFilterGroup{GroupOp::And, {c.Condition}}}};
        const std::string message = ThrownMessage([&] { TFilterEvaluator evaluator(criteria); });
        EXPECT_NE(message.find(c.Message), std::string::npos) << message;
    }
}

// --- Groups ------------------------------------------------------------------------------------

TEST(FilterGroups, OperatorsCombineTheirItems) {
    const TFilterCondition yes = Condition(Column::Name, Op::Like, std::string("*.txt"));
    const TFilterCondition no = Condition(Column::Name, Op::Like, std::string("*.doc"));
    const struct {
        GroupOp Operator;
        std::vector<TFilterItem> Items;
        bool Passes;
    } cases[] = {
        {GroupOp::And, {yes, yes}, true},     {GroupOp::And, {yes, no}, false},
        {GroupOp::Or, {no, yes}, true},       {GroupOp::Or, {no, no}, false},
        {GroupOp::NotAnd, {yes, yes}, false}, {GroupOp::NotAnd, {yes, no}, true},
        {GroupOp::NotOr, {no, no}, true},     {GroupOp::NotOr, {no, yes}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Operator));
        EXPECT_EQ(Passes(TFilterGroup{c.Operator, c.Items}, kRow), c.Passes);
    }
}

TEST(FilterGroups, NestedGroupsDecideFromTheInsideOut) {
    // Name like "*.txt" AND (Size > 1 GB OR Path begins with "/tmp/") AND NOT (Name equals "a.txt"
    // OR Date before 2000).
    const TFilterGroup criteria{
        GroupOp::And,
        {Condition(Column::Name, Op::Like, std::string("*.txt")),
         TFilterGroup{GroupOp::Or,
                      {Condition(Column::Size, Op::Greater, int32_t{1'000'000'000}),
                       Condition(Column::Path, Op::BeginsWith, std::string("/tmp/"))}},
         TFilterGroup{GroupOp::NotOr,
                      {Condition(Column::Name, Op::Equal, std::string("a.txt")),
                       Condition(Column::Date, Op::Less, TFilterDate{Date(2000, 1, 1)})}}}};
    const TFilterEvaluator evaluator(criteria);
    const TDateTime recent = Date(2020, 6, 1);
    const struct {
        TFilterRowValues Row;
        bool Passes;
    } cases[] = {
        {{"big.txt", 2'000'000'000, recent, "/home/"}, true},
        {{"small.txt", 10, recent, "/tmp/"}, true},
        {{"small.txt", 10, recent, "/home/"}, false},          // fails the OR group
        {{"big.doc", 2'000'000'000, recent, "/home/"}, false}, // fails the first condition
        {{"A.TXT", 2'000'000'000, recent, "/home/"}, false},   // the NOT OR group excludes it
        {{"old.txt", 10, Date(1999, 1, 1), "/tmp/"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Row.Name) + " " + std::string(c.Row.Path));
        EXPECT_EQ(evaluator.Passes(c.Row), c.Passes);
    }
}

TEST(FilterGroups, GroupsWithoutConditionsImposeNothing) {
    EXPECT_TRUE(TFilterEvaluator(TFilterGroup{GroupOp::NotOr, {}}).PassesAll());
    EXPECT_TRUE(TFilterEvaluator().Passes(kRow));
    const TFilterGroup onlyEmptyGroups{
        GroupOp::NotAnd, {TFilterGroup{GroupOp::Or, {TFilterGroup{GroupOp::NotOr, {}}}}}};
    EXPECT_TRUE(TFilterEvaluator(onlyEmptyGroups).PassesAll());
    // An empty group beside a failing condition does not turn an AND or an OR around.
    const TFilterCondition no = Condition(Column::Name, Op::Equal, std::string("other"));
    EXPECT_FALSE(Passes(TFilterGroup{GroupOp::And, {TFilterGroup{GroupOp::NotOr, {}}, no}}, kRow));
    EXPECT_FALSE(Passes(TFilterGroup{GroupOp::Or, {TFilterGroup{GroupOp::And, {}}, no}}, kRow));
    EXPECT_FALSE(TFilterEvaluator(TFilterGroup{GroupOp::And, {no}}).PassesAll());
}

// --- The default filters at work ---------------------------------------------------------------

TFilterEvaluator DefaultFilter(const std::string& name) {
    for (const TNamedFilterText& filter : DefaultFilters())
        if (filter.Name == name)
            return TFilterEvaluator(DecodeStoredFilter(filter.CriteriaHex));
    throw std::runtime_error("no default filter " + name);
}

TEST(FilterDefaults, DocumentsAndNotSupportFilesKeepTheRightRows) {
    const std::vector<std::string> names = {
        "REPORT.DOC", "notes.txt", "sheet.Xls",      "a.rtf",  "talk.ppt",    "lib.dll",
        "setup.INI",  "x.sys",     "archive.tar.gz", "readme", "doc.txt.bak", "photo.jpg"};
    const TFilterEvaluator documents = DefaultFilter("Documents");
    const TFilterEvaluator support = DefaultFilter("Support files");
    const TFilterEvaluator notSupport = DefaultFilter("Not Support files");
    const TFilterEvaluator compressed = DefaultFilter("Compressed files");
    std::vector<std::string> keptAsDocuments;
    for (const std::string& name : names) {
        const TFilterRowValues row{name, 1, 0, "/d/"};
        if (documents.Passes(row))
            keptAsDocuments.push_back(name);
        EXPECT_NE(support.Passes(row), notSupport.Passes(row)) << name;
    }
    EXPECT_EQ(keptAsDocuments, (std::vector<std::string>{"REPORT.DOC", "notes.txt", "sheet.Xls",
                                                         "a.rtf", "talk.ppt"}));
    EXPECT_TRUE(compressed.Passes({"archive.tar.gz", 1, 0, "/d/"}));
    EXPECT_TRUE(support.Passes({"setup.INI", 1, 0, "/d/"}));
}

} // namespace
} // namespace quorvane
