#include "CliFilter.h"

#include "app/ConfigFile.h"
#include "app/StoredFilters.h"
#include "results/CriteriaStreamHex.h"
#include "results/FilterPredicate.h"

namespace quorvane::cli {

TRowPredicate CliFilter(const TCliOptions& options) {
    if (options.FilterHex) {
        try {
            return FilterRowPredicate(DecodeStoredFilter(*options.FilterHex));
        } catch (const TFilterError& error) {
            throw TFilterError(std::string("The filter of --filter-hex cannot be used: ") +
                               error.what());
        }
    }
    if (options.Filter) {
        const TFilterGroup criteria =
            LoadStoredFilterOrDefault(ConfigFileLocation(), *options.Filter);
        try {
            return FilterRowPredicate(criteria);
        } catch (const TFilterError& error) {
            throw StoredFilterError(*options.Filter, error);
        }
    }
    return {};
}

} // namespace quorvane::cli
