#include "results/GridFilter.h"

#include "results/FilterPredicate.h"
#include "results/FilterText.h"

namespace quorvane {

void TGridFilter::Apply(const TFilterGroup& criteria, const TPump& pump) {
    TRowPredicate predicate = FilterRowPredicate(criteria);
    FGrid.SetFilter(predicate, pump);
    FCriteria = criteria;
    FPredicate = std::move(predicate);
    FActive = HasFilter();
}

void TGridFilter::SetActive(bool active, const TPump& pump) {
    if (!HasFilter() || active == FActive)
        return;
    FGrid.SetFilter(active ? FPredicate : TRowPredicate{}, pump);
    FActive = active;
}

std::string TGridFilter::Text() const {
    return FilterText(FCriteria);
}

} // namespace quorvane
