#include "results/FilterColumnOperators.h"

namespace quorvane {

std::vector<TFilterOperator> FilterOperatorsFor(TFilterColumn column) {
    using Op = TFilterOperator;
    std::vector<Op> operators;
    for (uint8_t code = 0; const std::optional<Op> op = FilterOperatorFromCode(code); ++code) {
        const bool emptiness = *op == Op::IsEmpty || *op == Op::IsNotEmpty;
        const bool pattern = IsTextPatternOperator(*op);
        if (emptiness && (column == TFilterColumn::Size || column == TFilterColumn::Date))
            continue;
        if (pattern && column == TFilterColumn::Date)
            continue;
        operators.push_back(*op);
    }
    return operators;
}

bool IsTextPatternOperator(TFilterOperator op) {
    using Op = TFilterOperator;
    return op == Op::Like || op == Op::NotLike || op == Op::Contains || op == Op::NotContains ||
           op == Op::BeginsWith || op == Op::EndsWith;
}

TFilterOperands FilterOperandsOf(TFilterOperator op) {
    switch (op) {
    case TFilterOperator::IsEmpty:
    case TFilterOperator::IsNotEmpty:
        return TFilterOperands::None;
    case TFilterOperator::Between:
    case TFilterOperator::NotBetween:
        return TFilterOperands::Two;
    case TFilterOperator::InList:
    case TFilterOperator::NotInList:
        return TFilterOperands::List;
    default:
        return TFilterOperands::One;
    }
}

} // namespace quorvane
