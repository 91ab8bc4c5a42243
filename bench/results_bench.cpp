// The result view over a million rows: putting them in display order, and the summary step that
// runs after every recount (count, total, stripes, checked list).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "platform/TextCompare.h"
#include "results/DisplayOrder.h"
#include "results/ResultGrid.h"

namespace {

using namespace quorvane;

constexpr std::size_t kRows = 1'000'000;

// A million grouped files (groups of two to four, as 30% of 3.3M found files would give), sorted
// and numbered the way the sort stage and classification leave them for the group order.
struct TBenchRows {
    TFilesList Files;
    std::vector<TResultRow> Rows;
};

struct TFileSpec {
    uint32_t NameIndex;
    int64_t Size;
    TDateTime Date;
    uint32_t Folder;
};

const std::vector<std::string>& Names() {
    static const std::vector<std::string> names = [] {
        static const char* const stems[] = {"IMG_",   "DSC",   "Document ", "report-2019-",
                                            "Track ", "Scan_", "invoice_",  "Screenshot from "};
        static const char* const extensions[] = {".jpg", ".pdf", ".mp3", ".docx", ".png", ".txt"};
        std::mt19937 random(1);
        std::vector<std::string> result;
        for (int i = 0; i < 300'000; ++i) {
            std::string name = stems[random() % 8];
            name += std::to_string(random() % 10'000'000);
            name += extensions[random() % 6];
            if (random() % 10 == 0) // some names differ from another only in case
                std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            result.push_back(std::move(name));
        }
        return result;
    }();
    return names;
}

// Collation rank of every name, so that the setup sorts without the collator.
const std::vector<uint32_t>& NameRanks() {
    static const std::vector<uint32_t> ranks = [] {
        const auto& names = Names();
        std::vector<uint32_t> order(names.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return CompareTextNoCase(names[a], names[b]) < 0;
        });
        std::vector<uint32_t> result(names.size());
        uint32_t rank = 0;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (i > 0 && CompareTextNoCase(names[order[i - 1]], names[order[i]]) != 0)
                ++rank;
            result[order[i]] = rank;
        }
        return result;
    }();
    return ranks;
}

std::vector<TFileSpec> GroupedFiles() {
    std::mt19937_64 random(2);
    std::vector<TFileSpec> files;
    files.reserve(kRows);
    while (files.size() < kRows) {
        const std::size_t members = std::min<std::size_t>(2 + random() % 3, kRows - files.size());
        const auto name = static_cast<uint32_t>(random() % Names().size());
        const int64_t size = static_cast<int64_t>(random() % (int64_t{1} << (10 + random() % 24)));
        const TDateTime date = 40000 + static_cast<double>(random() % 5000);
        for (std::size_t i = 0; i < members; ++i)
            files.push_back({name, size, date, static_cast<uint32_t>(random() % 20'000)});
    }
    return files;
}

// The sort keys of each group order as the sort stage orders them (checksums are all empty).
bool SortsBefore(TGroupOrder order, const TFileSpec& a, const TFileSpec& b) {
    const auto& ranks = NameRanks();
    const auto nameA = ranks[a.NameIndex], nameB = ranks[b.NameIndex];
    switch (order) {
    case goName:
        return nameA < nameB;
    case goSize:
        return a.Size > b.Size;
    case goSizeName:
        return a.Size != b.Size ? a.Size > b.Size : nameA < nameB;
    case goNameSizeDate:
        if (nameA != nameB)
            return nameA < nameB;
        return a.Size != b.Size ? a.Size < b.Size : a.Date < b.Date;
    case goNameSize:
    default:
        return nameA != nameB ? nameA < nameB : a.Size > b.Size;
    }
}

bool SameGroup(TGroupOrder order, const TFileSpec& a, const TFileSpec& b) {
    const bool sameName = NameRanks()[a.NameIndex] == NameRanks()[b.NameIndex];
    switch (order) {
    case goName:
        return sameName;
    case goSize:
        return a.Size == b.Size;
    case goNameSizeDate:
        return sameName && a.Size == b.Size && a.Date == b.Date;
    default:
        return sameName && a.Size == b.Size;
    }
}

const TBenchRows& RowsFor(TGroupOrder order) {
    static std::map<TGroupOrder, std::unique_ptr<TBenchRows>> cache;
    auto& entry = cache[order];
    if (entry)
        return *entry;
    std::vector<TFileSpec> specs = GroupedFiles();
    std::stable_sort(specs.begin(), specs.end(), [order](const TFileSpec& a, const TFileSpec& b) {
        return SortsBefore(order, a, b);
    });
    std::vector<TFolderPath> folders;
    for (int i = 0; i < 20'000; ++i)
        folders.push_back(MakeFolderPath("/home/user/Pictures/Holidays " + std::to_string(i)));
    entry = std::make_unique<TBenchRows>();
    entry->Files.Reserve(specs.size());
    uint32_t group = 0;
    bool inGroup = false;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const TFileSpec& spec = specs[i];
        entry->Files.Add(std::make_unique<TFile>(folders[spec.Folder], Names()[spec.NameIndex],
                                                 spec.Size, spec.Date));
        const bool joins = i > 0 && SameGroup(order, specs[i - 1], spec);
        if (!joins) {
            inGroup = false;
            continue;
        }
        if (!inGroup)
            entry->Rows.push_back({static_cast<uint32_t>(i - 1), ++group, true});
        inGroup = true;
        entry->Rows.push_back({static_cast<uint32_t>(i), group, true});
    }
    return *entry;
}

// Arguments: group order, groups separated (1) or a flat list (0).
void BM_DisplayOrder(benchmark::State& state) {
    const auto order = static_cast<TGroupOrder>(state.range(0));
    const bool separate = state.range(1) != 0;
    const TBenchRows& rows = RowsFor(order);
    const TResultLayout layout = ClassifiedLayout(order, separate, false, false);
    for (auto _ : state) {
        TDisplayOrder displayOrder;
        displayOrder.Build(rows.Files, rows.Rows, layout.GroupingColumns());
        benchmark::DoNotOptimize(displayOrder.Records().data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.Rows.size()));
    state.counters["rows"] = static_cast<double>(rows.Rows.size());
}
BENCHMARK(BM_DisplayOrder)
    ->ArgsProduct({{goNameSize, goName, goSize, goSizeName, goNameSizeDate}, {1}})
    ->Args({goNameSize, 0})
    ->Unit(benchmark::kMillisecond);

// A whole load as the front end runs it after classification: order, group rows, summary step.
void BM_ResultLoad(benchmark::State& state) {
    const TBenchRows& rows = RowsFor(goNameSize);
    const TResultLayout layout = ClassifiedLayout(goNameSize, true, false, false);
    for (auto _ : state) {
        TResultGrid grid;
        grid.Load(rows.Files, rows.Rows, layout);
        benchmark::DoNotOptimize(grid.Summary());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.Rows.size()));
}
BENCHMARK(BM_ResultLoad)->Unit(benchmark::kMillisecond);

// The summary step alone over every row: count, total, stripes, and the checked-list rebuild
// with every third row checked. Argument: groups separated (1) or a flat list (0), where the
// display order (by size) is far from the record order.
void BM_Summary(benchmark::State& state) {
    const TBenchRows& rows = RowsFor(goNameSize);
    TResultGrid grid;
    grid.Load(rows.Files, rows.Rows,
              ClassifiedLayout(goNameSize, state.range(0) != 0, false, false));
    std::vector<uint32_t> selected;
    for (uint32_t record = 0; record < rows.Rows.size(); record += 3)
        selected.push_back(record);
    grid.Checks().CheckSelected(selected);
    std::vector<bool> stripes;
    for (auto _ : state) {
        const TSummary summary = SummarizePassingRows(grid.View(), stripes);
        grid.Checks().RebuildCheckedList();
        benchmark::DoNotOptimize(summary);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.Rows.size()));
}
BENCHMARK(BM_Summary)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A filter switched on: every row tested, group rows rebuilt, then the summary step.
void BM_FilterRecount(benchmark::State& state) {
    const TBenchRows& rows = RowsFor(goNameSize);
    TResultGrid grid;
    grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goNameSize, true, false, false));
    for (auto _ : state)
        grid.SetFilter([](const TResultRow&, const TFile& file) { return file.Size >= 4096; });
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows.Rows.size()));
}
BENCHMARK(BM_FilterRecount)->Unit(benchmark::kMillisecond);

} // namespace
