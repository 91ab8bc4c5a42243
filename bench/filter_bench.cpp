// Applying a stored filter to a large result: the five default filters (OR and NOT OR of "like"
// patterns on Name) over 1,000,000 rows of generated names.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "results/CriteriaStreamHex.h"
#include "results/DefaultFilters.h"
#include "results/FilterEvaluator.h"

namespace {

using namespace quorvane;

const std::vector<std::string>& GeneratedNames() {
    static const std::vector<std::string> names = [] {
        const char* const extensions[] = {".txt", ".jpg", ".DOC", ".mp3",
                                          ".dll", ".png", ".cpp", ".tar.gz"};
        std::mt19937 random(7);
        std::vector<std::string> result;
        result.reserve(1'000'000);
        for (int i = 0; i < 1'000'000; ++i) {
            std::string name(5 + random() % 20, ' ');
            for (char& c : name)
                c = static_cast<char>('a' + random() % 26);
            result.push_back(name + extensions[random() % 8]);
        }
        return result;
    }();
    return names;
}

void BM_FilterDefault(benchmark::State& state) {
    const TNamedFilterText& filter = DefaultFilters()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(filter.Name);
    const TFilterEvaluator evaluator(DecodeStoredFilter(filter.CriteriaHex));
    const std::vector<std::string>& names = GeneratedNames();
    for (auto _ : state) {
        std::size_t passed = 0;
        for (const std::string& name : names)
            passed += evaluator.Passes({name, 1, 0, "/home/user/"});
        benchmark::DoNotOptimize(passed);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_FilterDefault)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

} // namespace
