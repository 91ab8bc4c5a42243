#include "results/FilterCondition.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"
#include "results/FilterError.h"
#include "results/FilterOperands.h"
#include "results/FilterTextPattern.h"

namespace quorvane {
namespace {

using Op = TFilterOperator;

bool IsPatternOperator(Op op) {
    return op == Op::Like || op == Op::NotLike || op == Op::Contains || op == Op::NotContains ||
           op == Op::BeginsWith || op == Op::EndsWith;
}

bool IsNegated(Op op) {
    return op == Op::NotEqual || op == Op::NotLike || op == Op::NotBetween || op == Op::NotInList ||
           op == Op::NotContains || op == Op::IsNotEmpty;
}

const TFilterValue& SingleValue(const TFilterValue& value) {
    if (value.IsMissing())
        throw TFilterError("it has no value to compare with");
    if (value.Is<TFilterValueList>())
        throw TFilterError("it takes one value, not a list");
    return value;
}

// The elements of an "in list" value; a single value counts as a list of one.
std::vector<TFilterValue> ListValues(const TFilterValue& value) {
    if (!value.Is<TFilterValueList>())
        return {SingleValue(value)};
    std::vector<TFilterValue> elements = value.As<TFilterValueList>();
    if (elements.empty())
        throw TFilterError("its list of values is empty");
    for (const TFilterValue& element : elements)
        SingleValue(element);
    return elements;
}

// A column as the conditions see it: how to read it from a row, how to turn a condition's value
// into an operand and how to compare the two.
struct TTextColumn {
    std::string_view TFilterRowValues::*Field;
    using TOperand = std::string;
    std::string_view Get(const TFilterRowValues& row) const { return row.*Field; }
    static TOperand Operand(const TFilterValue& value) { return TextOperand(value); }
    static int Compare(std::string_view value, const TOperand& operand) {
        return CompareTextNoCase(value, operand);
    }
    std::string_view Text(const TFilterRowValues& row) const { return Get(row); }
    static constexpr bool kHasEmptyValues = true;
};

struct TSizeColumn {
    using TOperand = TSizeOperand;
    static int64_t Get(const TFilterRowValues& row) { return row.Size; }
    static TOperand Operand(const TFilterValue& value) { return SizeOperand(value); }
    static int Compare(int64_t value, const TOperand& operand) {
        return CompareSize(value, operand);
    }
    static std::string Text(const TFilterRowValues& row) { return std::to_string(row.Size); }
    static constexpr bool kHasEmptyValues = false; // every file has one
};

struct TDateColumn {
    using TOperand = int64_t;
    static int64_t Get(const TFilterRowValues& row) { return DateSeconds(row.Date); }
    static TOperand Operand(const TFilterValue& value) { return DateOperandSeconds(value); }
    static int Compare(int64_t value, TOperand operand) {
        return (value > operand) - (value < operand);
    }
    static constexpr bool kHasEmptyValues = false; // every file has one
};

template <typename TColumn> TFilterRowTest EmptinessTest(const TColumn& column, bool negated) {
    if constexpr (TColumn::kHasEmptyValues)
        return [column, negated](const TFilterRowValues& row) {
            return column.Get(row).empty() != negated;
        };
    else
        return [negated](const TFilterRowValues&) { return negated; };
}

TFilterTextPattern TextPattern(Op op, std::string_view text) {
    switch (op) {
    case Op::Contains:
    case Op::NotContains:
        return TFilterTextPattern::Contains(text);
    case Op::BeginsWith:
        return TFilterTextPattern::BeginsWith(text);
    case Op::EndsWith:
        return TFilterTextPattern::EndsWith(text);
    default:
        return TFilterTextPattern::Like(text);
    }
}

template <typename TColumn>
TFilterRowTest PatternTest(const TColumn& column, const TFilterCondition& c) {
    TFilterTextPattern pattern = TextPattern(c.Operator, TextOperand(SingleValue(c.Value)));
    const bool negated = IsNegated(c.Operator);
    return [column, pattern = std::move(pattern), negated](const TFilterRowValues& row) {
        return pattern.Matches(column.Text(row)) != negated;
    };
}

template <typename TColumn>
TFilterRowTest ComparisonTest(const TColumn& column, const TFilterCondition& c) {
    using TOperand = typename TColumn::TOperand;
    const bool negated = IsNegated(c.Operator);
    switch (c.Operator) {
    case Op::Between:
    case Op::NotBetween: {
        if (!c.Value.Is<TFilterValueList>() || c.Value.As<TFilterValueList>().size() != 2)
            throw TFilterError("it needs a list of two values");
        const auto& bounds = c.Value.As<TFilterValueList>();
        const TOperand low = TColumn::Operand(SingleValue(bounds[0]));
        const TOperand high = TColumn::Operand(SingleValue(bounds[1]));
        // Bounds given the wrong way round still mean the range between them.
        return [column, low, high, negated](const TFilterRowValues& row) {
            const auto value = column.Get(row);
            const int fromLow = TColumn::Compare(value, low);
            const int fromHigh = TColumn::Compare(value, high);
            const bool inside = (fromLow >= 0 && fromHigh <= 0) || (fromLow <= 0 && fromHigh >= 0);
            return inside != negated;
        };
    }
    case Op::InList:
    case Op::NotInList: {
        std::vector<TOperand> operands;
        for (const TFilterValue& element : ListValues(c.Value))
            operands.push_back(TColumn::Operand(element));
        return [column, operands = std::move(operands), negated](const TFilterRowValues& row) {
            const auto value = column.Get(row);
            const bool found =
                std::any_of(operands.begin(), operands.end(),
                            [&](const TOperand& o) { return TColumn::Compare(value, o) == 0; });
            return found != negated;
        };
    }
    default:
        break;
    }
    const TOperand operand = TColumn::Operand(SingleValue(c.Value));
    const Op op = c.Operator;
    return [column, operand, op](const TFilterRowValues& row) {
        const int order = TColumn::Compare(column.Get(row), operand);
        switch (op) {
        case Op::Equal:
            return order == 0;
        case Op::NotEqual:
            return order != 0;
        case Op::Less:
            return order < 0;
        case Op::LessEqual:
            return order <= 0;
        case Op::Greater:
            return order > 0;
        default:
            return order >= 0;
        }
    };
}

template <typename TColumn>
TFilterRowTest ColumnTest(const TColumn& column, const TFilterCondition& c) {
    const Op op = c.Operator;
    if (op == Op::IsEmpty || op == Op::IsNotEmpty)
        return EmptinessTest(column, op == Op::IsNotEmpty);
    // Comparing with no value asks whether the column is empty.
    if ((op == Op::Equal || op == Op::NotEqual) && c.Value.IsMissing())
        return EmptinessTest(column, op == Op::NotEqual);
    if (IsPatternOperator(op)) {
        if constexpr (requires(const TFilterRowValues& row) { column.Text(row); })
            return PatternTest(column, c);
        else
            throw TFilterError("dates cannot be matched as text");
    }
    return ComparisonTest(column, c);
}

std::string Describe(const TFilterCondition& c) {
    return std::string(FilterColumnName(c.Column)) + " " +
           std::string(FilterOperatorName(c.Operator)) +
           (c.DisplayText.empty() ? "" : " \"" + c.DisplayText + "\"");
}

} // namespace

TFilterRowTest CompileFilterCondition(const TFilterCondition& condition) {
    try {
        switch (condition.Column) {
        case TFilterColumn::Name:
            return ColumnTest(TTextColumn{&TFilterRowValues::Name}, condition);
        case TFilterColumn::Path:
            return ColumnTest(TTextColumn{&TFilterRowValues::Path}, condition);
        case TFilterColumn::Size:
            return ColumnTest(TSizeColumn{}, condition);
        case TFilterColumn::Date:
            return ColumnTest(TDateColumn{}, condition);
        }
        throw TFilterError("its column cannot be filtered");
    } catch (const TFilterError& error) {
        throw TFilterError("The filter condition " + Describe(condition) +
                           " cannot be used: " + error.what());
    }
}

} // namespace quorvane
