// Saving a million-row results list in each format, against writing the same bytes with plain
// buffered writes (stdio, then fsync, as the exporters also make the file durable). The counter
// peak_growth_MiB is how much the peak resident memory rose during the export: it should stay near
// the size of the output buffer, whatever the number of rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/AtomicFile.h"
#include "reports/ExportList.h"
#include "results/ResultGrid.h"

namespace {

using namespace quorvane;

constexpr std::size_t kRows = 1'000'000;

// A million files in pairs, in 20,000 folders, with the name, size and date of a real tree.
struct TBenchResults {
    TFilesList Files;
    TResultGrid Flat;
    TResultGrid Grouped;

    TBenchResults() {
        std::vector<TFolderPath> folders;
        for (int i = 0; i < 20'000; ++i)
            folders.push_back(
                MakeFolderPath("/home/user/Pictures/2019/holiday-" + std::to_string(i) + "/raw/"));
        std::vector<TResultRow> rows;
        for (std::size_t i = 0; i < kRows; ++i) {
            const std::size_t group = i / 2;
            Files.Add(std::make_unique<TFile>(folders[(i * 7919) % folders.size()],
                                              "IMG_" + std::to_string(1'000'000 + group) + ".jpg",
                                              static_cast<int64_t>(10'000'000 - group * 7),
                                              43000.0 + static_cast<double>(group % 3000) / 7));
            rows.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(group + 1), true});
        }
        Flat.Load(Files, rows, ClassifiedLayout(goNameSize, false, false, false));
        Grouped.Load(Files, rows, ClassifiedLayout(goNameSize, true, false, false));
    }
};

const TBenchResults& Results() {
    static const TBenchResults results;
    return results;
}

std::string OutputFile(const char* name) {
    const char* base = std::getenv("TMPDIR");
    return std::string(base && *base ? base : "/tmp") + "/quorvane-bench-" + name;
}

long StatusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::string(key).size());
    return 0;
}

void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct TFormatCase {
    const char* Name;
    TReportFormat Format;
};
constexpr TFormatCase kFormats[] = {{"xls", TReportFormat::Xls},
                                    {"csv", TReportFormat::Csv},
                                    {"txt", TReportFormat::Text},
                                    {"html", TReportFormat::Html},
                                    {"xml", TReportFormat::Xml}};

void BM_Export(benchmark::State& state) {
    const TFormatCase& format = kFormats[state.range(0)];
    const TResultGrid& grid = state.range(1) ? Results().Grouped : Results().Flat;
    const TReportSource source{grid.View(), grid.Summary(), {}};
    const std::string file = OutputFile(format.Name);
    long growth = 0;
    for (auto _ : state) {
        ResetPeakMemory();
        const long before = StatusKiB("VmRSS:");
        WriteReport(source, format.Format, file);
        growth = std::max(growth, StatusKiB("VmHWM:") - before);
    }
    const auto bytes = static_cast<int64_t>(ReadWholeFile(file).size());
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["peak_growth_MiB"] = static_cast<double>(growth) / 1024;
    state.SetLabel(std::string(format.Name) + (state.range(1) ? " grouped" : " flat"));
    ::unlink(file.c_str());
}

// The anchor: the same bytes (the export's own output) written with stdio's buffered writes.
void BM_PlainWrite(benchmark::State& state) {
    const TFormatCase& format = kFormats[state.range(0)];
    const TResultGrid& grid = state.range(1) ? Results().Grouped : Results().Flat;
    const std::string file = OutputFile(format.Name);
    WriteReport({grid.View(), grid.Summary(), {}}, format.Format, file);
    const std::string bytes = ReadWholeFile(file);
    for (auto _ : state) {
        FILE* out = std::fopen(file.c_str(), "wb");
        for (std::size_t at = 0; at < bytes.size(); at += 4096)
            std::fwrite(bytes.data() + at, 1, std::min<std::size_t>(4096, bytes.size() - at), out);
        std::fflush(out);
        ::fsync(::fileno(out));
        std::fclose(out);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
    state.SetLabel(std::string(format.Name) + (state.range(1) ? " grouped" : " flat"));
    ::unlink(file.c_str());
}

void Formats(benchmark::internal::Benchmark* bench) {
    for (int grouped = 0; grouped < 2; ++grouped)
        for (int format = 0; format < 5; ++format)
            bench->Args({format, grouped});
}

BENCHMARK(BM_Export)->Apply(Formats)->Unit(benchmark::kMillisecond)->MinTime(1)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Apply(Formats)->Unit(benchmark::kMillisecond)->MinTime(1)->UseRealTime();

} // namespace
