#include "results/CellCondition.h"

namespace quorvane {

std::optional<TFilterCondition> CellEqualsCondition(TResultColumn column, const TFile& file) {
    const std::optional<TFilterColumn> filterColumn = FilterColumnFromCode(column);
    if (!filterColumn)
        return std::nullopt;
    TFilterValue value;
    switch (*filterColumn) {
    case TFilterColumn::Name:
        value = file.Name;
        break;
    case TFilterColumn::Size:
        value = FilterValueFromInt64(file.Size);
        break;
    case TFilterColumn::Date:
        value = TFilterDate{file.Date};
        break;
    case TFilterColumn::Path:
        value = file.Path();
        break;
    }
    return TFilterCondition{TFilterOperator::Equal, FilterValueToText(value), *filterColumn, value};
}

} // namespace quorvane
