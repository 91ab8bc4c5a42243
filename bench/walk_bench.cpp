// The folder walk over a generated tree, to set beside `find TREE -type f -printf '%s %T@\n'`
// on the same tree (both on a warm cache):
//   bench/make_tree.sh TREE
//   QUORVANE_BENCH_TREE=TREE build/bin/quorvane-bench --benchmark_filter=BM_Walk
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "platform/MainThreadQueue.h"
#include "platform/StatusMailbox.h"
#include "search/SearchCriteria.h"
#include "search/SearchThd.h"

namespace {

using namespace quorvane;

void BM_Walk(benchmark::State& state) {
    const char* tree = std::getenv("QUORVANE_BENCH_TREE");
    struct stat treeStatus;
    if (!tree || !*tree) {
        state.SkipWithError("set QUORVANE_BENCH_TREE to a tree made by bench/make_tree.sh TREE");
        return;
    }
    if (::stat(tree, &treeStatus) != 0 || !S_ISDIR(treeStatus.st_mode)) {
        const std::string message = "QUORVANE_BENCH_TREE names no folder: " + std::string(tree) +
                                    " (make one with bench/make_tree.sh TREE)";
        state.SkipWithError(message.c_str());
        return;
    }
    // Everything find -type f lists: hidden entries and empty files too.
    SearchCriteria criteria;
    criteria.IncludeFolders = {tree};
    criteria.IncludeSysFolders = criteria.IncludeSysFiles = criteria.ShowZeroBytes = true;

    TSimpleQueue mainThread;
    TStatusMailbox status; // as a front end would have it
    TFilesList files;
    int64_t found = 0;
    for (auto _ : state) {
        bool ended = false;
        auto* thread = new TSearchThread(mainThread, &status); // frees itself
        thread->SetOnTerminate([&ended](TThread&) { ended = true; });
        thread->SetSearch(files, criteria);
        thread->Start();
        mainThread.RunUntil([&ended] { return ended; });

        state.PauseTiming(); // emptying the list belongs to the next search, not this one
        found += static_cast<int64_t>(files.Count());
        files.Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(found);
    state.counters["files"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Walk)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
