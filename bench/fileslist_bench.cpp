// Writing and reading files-list lines: the cost of saving and loading a large result.
#include <benchmark/benchmark.h>

#include "search/FilesListFormat.h"

namespace {

using namespace quorvane;

TFile SampleFile(int i) {
    return TFile(MakeFolderPath("/home/user/Pictures/Holidays 2019/"),
                 "IMG_" + std::to_string(20190000 + i) + ".jpg", 1234567 + i,
                 EncodeDateTime({2019, 7, 14, 10, 20, 30}));
}

void BM_FilesListFormat(benchmark::State& state) {
    const TFile file = SampleFile(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatFilesListLine(file));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilesListFormat);

void BM_FilesListParse(benchmark::State& state) {
    const std::string line = FormatFilesListLine(SampleFile(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseFilesListLine(line));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilesListParse);

} // namespace
