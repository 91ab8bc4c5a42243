// Sorting and classifying a large file list: the sort of each group order beside a plain
// std::sort of the same records by name bytes and size, the classification pass, and the
// restore point a cancellable regrouping keeps, and how long a sort runs on after Cancel.
//
// The records are generated once per process. Every sort iteration starts from the same
// shuffled order: the copy of the pointer list is made with the timer paused.
// BM_SortMemory reports the memory per record beyond the name and folder texts: the record's
// heap block with the allocator's header, its list slot, and the sort's peak working memory,
// sampled from the allocator's statistics every 100 microseconds while one sort runs.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/SortRestorePoint.h"
#include "duplicates/Classify.h"
#include "duplicates/SortThd.h"
#include "platform/MainThreadQueue.h"

namespace {

using namespace quorvane;

constexpr std::size_t RecordCount = 1'000'000;
constexpr std::size_t FolderCount = 20'000;

const std::array<const char*, 40> Words = {
    "report",  "budget", "holiday", "family",  "project", "draft",  "final",     "notes",
    "invoice", "letter", "photo",   "summer",  "winter",  "backup", "scan",      "music",
    "video",   "setup",  "readme",  "index",   "config",  "image",  "thumb",     "cover",
    "track",   "album",  "chapter", "lecture", "slides",  "résumé", "Übersicht", "café",
    "archive", "sample", "release", "patch",   "module",  "driver", "assets",    "texture"};
const std::array<const char*, 16> Extensions = {".jpg", ".JPG",  ".png",  ".pdf", ".docx", ".txt",
                                                ".mp3", ".flac", ".cpp",  ".h",   ".so",   ".zip",
                                                ".mkv", ".html", ".json", ".xml"};

// Names in the shapes a home folder holds: camera files, numbered tracks, documents, sources.
class TNameMaker {
public:
    explicit TNameMaker(std::mt19937_64& random) : FRandom(random) {}

    std::string Name() {
        std::string stem;
        switch (FRandom() % 6) {
        case 0:
            stem = "IMG_" + Digits(8) + "_" + Digits(6);
            break;
        case 1:
            stem = "DSC" + Digits(5);
            break;
        case 2:
            stem = Word() + " " + Word() + " (" + Digits(1) + ")";
            break;
        case 3:
            stem = Digits(2) + " - " + Word() + " " + Word();
            break;
        case 4:
            stem = Word() + "_" + Word() + Digits(3);
            break;
        default:
            stem = Word() + Word() + "-" + Digits(4);
            stem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(stem[0])));
        }
        return stem + Extensions[FRandom() % Extensions.size()];
    }
    std::string Word() { return Words[FRandom() % Words.size()]; }

private:
    std::string Digits(int count) {
        std::string digits;
        for (int i = 0; i < count; ++i)
            digits += static_cast<char>('0' + FRandom() % 10);
        return digits;
    }

    std::mt19937_64& FRandom;
};

// The generated records: owned by Files, in a shuffled order in Shuffled.
struct TCorpus {
    TFilesList Files;
    std::vector<TFile*> Shuffled;

    TCorpus() {
        std::mt19937_64 random(20240611);
        TNameMaker names(random);
        std::vector<TFolderPath> folders;
        for (std::size_t i = 0; i < FolderCount; ++i) {
            std::string path = "/home/user";
            for (int depth = 2 + static_cast<int>(random() % 5); depth > 0; --depth) {
                path += '/';
                path += names.Word();
            }
            folders.push_back(MakeFolderPath(path + std::to_string(i)));
        }
        std::uniform_real_distribution<double> logSize(std::log(100.0), std::log(4e9));
        const auto date = [&] {
            return 40000.0 + static_cast<double>(random() % 4000) +
                   static_cast<double>(random() % 43200) * 2 / 86400;
        };
        Files.Reserve(RecordCount);
        while (Files.Count() < RecordCount) {
            const std::string name = names.Name();
            const auto size = static_cast<int64_t>(std::exp(logSize(random)));
            const double groupDate = date();
            // 30% of the files lie in groups of 2 to 4, some named in other case, some with
            // another date.
            const std::size_t members = random() % 1000 < 125 ? 2 + random() % 3 : 1;
            for (std::size_t k = 0; k < members && Files.Count() < RecordCount; ++k) {
                std::string memberName = name;
                if (k > 0 && random() % 4 == 0)
                    for (char& c : memberName)
                        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                Files.Add(new TFile(folders[random() % folders.size()], std::move(memberName), size,
                                    k > 0 && random() % 3 == 0 ? date() : groupDate));
            }
        }
        Shuffled = Files.Items();
        std::shuffle(Shuffled.begin(), Shuffled.end(), random);
    }

    static const TCorpus& Get() {
        static const TCorpus corpus;
        return corpus;
    }
};

template <typename TSort> void TimeSorts(benchmark::State& state, TSort sort) {
    const TCorpus& corpus = TCorpus::Get();
    TFilesList list(false);
    list.Reserve(corpus.Shuffled.size());
    for (auto _ : state) {
        state.PauseTiming();
        list.Items().assign(corpus.Shuffled.begin(), corpus.Shuffled.end());
        state.ResumeTiming();
        sort(list);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * list.Count()));
}

void BM_Sort(benchmark::State& state) {
    const auto order = static_cast<TGroupOrder>(state.range(0));
    TSimpleQueue queue;
    TSortThread context(queue, order);
    context.SetCompareMode(cmNone);
    TimeSorts(state, [&](TFilesList& list) {
        SortFiles(list, TSortThread::ComparatorOf(order), context);
    });
}
BENCHMARK(BM_Sort)->DenseRange(goNameSize, goNameSizeDate)->Unit(benchmark::kMillisecond);

void BM_SortBaseline(benchmark::State& state) {
    TimeSorts(state, [](TFilesList& list) {
        std::sort(list.Items().begin(), list.Items().end(), [](const TFile* a, const TFile* b) {
            if (int c = a->Name.compare(b->Name))
                return c < 0;
            return a->Size > b->Size;
        });
    });
}
BENCHMARK(BM_SortBaseline)->Unit(benchmark::kMillisecond);

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_SortMemory(benchmark::State& state) {
    const auto order = static_cast<TGroupOrder>(state.range(0));
    const TCorpus& corpus = TCorpus::Get();
    TFilesList list(false);
    list.Reserve(corpus.Shuffled.size());
    TSimpleQueue queue;
    TSortThread context(queue, order);
    std::size_t peakExtra = 0;
    for (auto _ : state) {
        list.Items().assign(corpus.Shuffled.begin(), corpus.Shuffled.end());
        const std::size_t before = HeapInUse();
        std::atomic<bool> sorting{true};
        std::size_t peak = before;
        std::thread sampler([&] {
            while (sorting) {
                peak = std::max(peak, HeapInUse());
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        });
        SortFiles(list, TSortThread::ComparatorOf(order), context);
        sorting = false;
        sampler.join();
        peakExtra = std::max(peakExtra, peak - before);
    }
    const double count = static_cast<double>(list.Count());
    const double record = static_cast<double>(malloc_usable_size(list[0]) + sizeof(std::size_t));
    const double slot = static_cast<double>(list.Items().capacity() * sizeof(TFile*)) / count;
    const double sortExtra = static_cast<double>(peakExtra) / count;
    state.counters["record_B"] = record;
    state.counters["slot_B"] = slot;
    state.counters["sort_extra_B"] = sortExtra;
    state.counters["total_B"] = record + slot + sortExtra;
}
BENCHMARK(BM_SortMemory)
    ->DenseRange(goNameSize, goNameSizeDate)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_Classify(benchmark::State& state) {
    const TCorpus& corpus = TCorpus::Get();
    TFilesList list(false);
    list.Items() = corpus.Shuffled;
    TSimpleQueue queue;
    TSortThread context(queue, goNameSize);
    SortFiles(list, &TSortThread::CompareByNameSize, context);
    const TProtectedFolders protectedFolders = {
        {"/usr/", true}, {"/etc/", true}, {"/boot/", true}, {"/home/user/backup/", false}};
    std::size_t rows = 0;
    for (auto _ : state) {
        const TClassification result =
            ClassifyFiles(list, goNameSize, true, protectedFolders, [] {});
        rows = result.Rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * list.Count()));
}
BENCHMARK(BM_Classify)->Unit(benchmark::kMillisecond);

// What a cancellable regrouping costs besides its sort: keeping the order and the checksum
// states at its start, and giving them back when it is cancelled.
void BM_SortRestorePoint(benchmark::State& state) {
    const TCorpus& corpus = TCorpus::Get();
    TFilesList list(false);
    list.Items() = corpus.Shuffled;
    for (auto _ : state) {
        const TSortRestorePoint point(list, goNameSize, false);
        point.Restore(list);
        benchmark::DoNotOptimize(list.Items().data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * list.Count()));
}
BENCHMARK(BM_SortRestorePoint)->Unit(benchmark::kMillisecond);

// Sorts `list` on a thread, asks it to stop after `delay` and returns how long the sort ran on
// after that (0 when it had ended before).
double CancelLatencyMs(TFilesList& list, TGroupOrder order, TCompareMode mode,
                       std::chrono::milliseconds delay) {
    using TClock = std::chrono::steady_clock;
    TSimpleQueue queue;
    TSortThread context(queue, order);
    context.SetCompareMode(mode);
    TClock::time_point finished;
    std::thread sorter([&] {
        SortFiles(list, TSortThread::ComparatorOf(order), context);
        finished = TClock::now();
    });
    std::this_thread::sleep_for(delay);
    const TClock::time_point requested = TClock::now();
    context.Cancel();
    sorter.join();
    return std::max(0.0, std::chrono::duration<double, std::milli>(finished - requested).count());
}

// The million records sorted by name and size, stopped at several points (the argument, in
// milliseconds after the start). Reports the worst delay over the iterations.
void BM_SortCancelLatency(benchmark::State& state) {
    const TCorpus& corpus = TCorpus::Get();
    TFilesList list(false);
    double worst = 0;
    for (auto _ : state) {
        list.Items() = corpus.Shuffled;
        const double latency =
            CancelLatencyMs(list, goNameSize, cmNone, std::chrono::milliseconds(state.range(0)));
        worst = std::max(worst, latency);
        state.SetIterationTime(latency / 1000);
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_SortCancelLatency)
    ->Arg(0)
    ->Arg(20)
    ->Arg(100)
    ->Arg(300)
    ->Arg(600)
    ->Arg(1000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Two files of 2 GiB that tie on name and size, compared by MD5, stopped 300 ms in. The files are
// sparse, so they read at memory speed: a disk would only make each block slower.
void BM_SortCancelLatencyReading(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvane-cancel-" + std::to_string(getpid()));
    TFilesList list;
    for (const char* sub : {"a", "b"}) {
        std::filesystem::create_directories(folder / sub);
        const std::filesystem::path file = folder / sub / "disk.img";
        {
            std::FILE* created = std::fopen(file.c_str(), "wb");
            std::fclose(created);
        }
        std::filesystem::resize_file(file, std::uintmax_t{2} << 30);
        list.Add(new TFile(MakeFolderPath((folder / sub).string() + "/"), "disk.img",
                           int64_t{2} << 30, 0));
    }
    double worst = 0;
    for (auto _ : state) {
        for (TFile* file : list.Items())
            file->Checksum = TChecksum();
        const double latency =
            CancelLatencyMs(list, goNameSize, static_cast<TCompareMode>(state.range(0)),
                            std::chrono::milliseconds(300));
        worst = std::max(worst, latency);
        state.SetIterationTime(latency / 1000);
    }
    state.counters["worst_ms"] = worst;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SortCancelLatencyReading)
    ->Arg(cmCrc)
    ->Arg(cmMD5)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
