#include "results/FilterTree.h"

namespace quorvane {

std::optional<TFilterColumn> FilterColumnFromCode(int32_t code) {
    if (code < static_cast<int32_t>(TFilterColumn::Name) ||
        code > static_cast<int32_t>(TFilterColumn::Path))
        return std::nullopt;
    return static_cast<TFilterColumn>(code);
}

std::string_view FilterColumnName(TFilterColumn column) {
    switch (column) {
    case TFilterColumn::Name:
        return "Name";
    case TFilterColumn::Size:
        return "Size";
    case TFilterColumn::Date:
        return "Date";
    case TFilterColumn::Path:
        return "Path";
    }
    return "?";
}

} // namespace quorvane
