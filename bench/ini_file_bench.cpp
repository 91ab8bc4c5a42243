// Reading a large INI file and looking up every key in it, as the configuration and profile
// readers do: one section of many keys (a long folder list) and many sections of one key each.
// The file is written once per benchmark and size, outside the timing; every iteration reads it
// again from the page cache and then reads each key's value by name.
//   build/bin/quorvane-bench --benchmark_filter=BM_IniRead --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"

namespace {

using namespace quorvane;

// A file in the temporary folder that is removed when the benchmark ends.
class TBenchFile {
public:
    TBenchFile(std::string_view name, std::string_view text)
        : FPath((std::filesystem::temp_directory_path() /
                 (std::string(name) + "-" + std::to_string(::getpid()) + ".ini"))
                    .string()) {
        WriteFileAtomically(FPath, text);
    }
    ~TBenchFile() { std::remove(FPath.c_str()); }
    TBenchFile(const TBenchFile&) = delete;
    TBenchFile& operator=(const TBenchFile&) = delete;

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

std::string FolderKey(int i) {
    return "/home/user/Pictures/Holidays 2019/folder" + std::to_string(1'000'000 + i) + "/";
}

// One section of `count` folder keys, half of them with the value "N", between two small
// sections.
void BM_IniReadKeys(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<std::string> keys;
    std::string text = "[Config]\nUseSkin=1\n\n[ProtectedFolders]\n";
    for (int i = 0; i < count; ++i) {
        keys.push_back(FolderKey(i));
        text += keys.back() + (i % 2 ? "=N\n" : "=\n");
    }
    text += "\n[SearchOpts]\nCompareMode=1\n";
    const TBenchFile file("quorvane-bench-keys", text);

    for (auto _ : state) {
        const TIniFile ini(file.Path());
        std::size_t alone = 0;
        for (const std::string& key : keys)
            alone += ini.ReadString("ProtectedFolders", key, "").size();
        if (alone != static_cast<std::size_t>(count / 2))
            state.SkipWithError("a key was not read back");
        benchmark::DoNotOptimize(alone);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_IniReadKeys)
    ->Arg(10'000)
    ->Arg(40'000)
    ->Arg(1'000'000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// `count` sections of one key each, then the value of every section's key.
void BM_IniReadSections(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<std::string> sections;
    std::string text;
    for (int i = 0; i < count; ++i) {
        sections.push_back("Section" + std::to_string(i));
        text += "[" + sections.back() + "]\nValue=" + std::to_string(i) + "\n\n";
    }
    const TBenchFile file("quorvane-bench-sections", text);

    for (auto _ : state) {
        const TIniFile ini(file.Path());
        long long sum = 0;
        for (const std::string& section : sections)
            sum += ini.ReadInteger(section, "value", -1);
        if (sum != static_cast<long long>(count) * (count - 1) / 2)
            state.SkipWithError("a section was not read back");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_IniReadSections)
    ->Arg(10'000)
    ->Arg(40'000)
    ->Arg(200'000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
