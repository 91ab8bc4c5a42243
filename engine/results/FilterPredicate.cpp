#include "results/FilterPredicate.h"

#include <memory>

#include "results/FilterEvaluator.h"

namespace quorvane {

TRowPredicate FilterRowPredicate(const TFilterGroup& criteria) {
    auto evaluator = std::make_shared<const TFilterEvaluator>(criteria);
    if (evaluator->PassesAll())
        return {};
    return [evaluator](const TResultRow&, const TFile& file) {
        return evaluator->Passes({file.Name, file.Size, file.Date, file.Path()});
    };
}

} // namespace quorvane
