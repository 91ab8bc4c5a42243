// The results grid over a million rows and the event loop during a search, measured as the
// user feels them: how long the window is away (the longest stretch without handling events)
// and how long the whole step takes.
//
//   build-gui/bin/quorvane-gui-bench --benchmark_filter=BM_GridFill
//   bench/make_tree.sh /tmp/tree
//   QUORVANE_BENCH_TREE=/tmp/tree build-gui/bin/quorvane-gui-bench
//   --benchmark_filter=BM_SearchStall
//   build/bin/quorvane-gui-bench --benchmark_filter=BM_FilterApply
//
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "dialogs/ScriptedPrompts.h"
#include "duplicates/Classify.h"
#include "results/CriteriaStreamHex.h"
#include "results/DefaultFilters.h"
#include "results/FilterCommands.h"
#include "results/ResultGrid.h"
#include "results/ResultLayout.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsModel.h"
#include "results/ResultsView.h"

namespace {

using namespace quorvane;
using TClock = std::chrono::steady_clock;

constexpr uint32_t kRows = 1'000'000;

double Milliseconds(TClock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The longest time between two events let through.
class TStallMeter {
public:
    void Start() {
        FLast = TClock::now();
        FLongest = {};
    }
    void Tick() {
        const TClock::time_point now = TClock::now();
        FLongest = std::max(FLongest, now - FLast);
        FLast = now;
    }
    double LongestMs() const { return Milliseconds(FLongest); }

private:
    TClock::time_point FLast;
    TClock::duration FLongest{};
};

// A million files in duplicate groups of two to four, sorted the way the sort stage leaves them
// under Name/Size (names ascending, sizes descending), and the rows classification makes of them.
struct TGridData {
    TFilesList Files;
    std::vector<TResultRow> Rows;
};

const TGridData& GridData() {
    static const std::unique_ptr<TGridData> data = [] {
        auto made = std::make_unique<TGridData>();
        std::mt19937 random(7);
        std::vector<TFolderPath> folders;
        for (int folder = 0; folder < 5'000; ++folder)
            folders.push_back(
                MakeFolderPath("/home/user/Pictures/" + std::to_string(folder) + "/"));
        made->Files.Reserve(kRows);
        char name[32];
        for (uint32_t group = 0; made->Files.Count() < kRows; ++group) {
            std::snprintf(name, sizeof name, "IMG_%08u.jpg", group);
            const int64_t size = 1'000 + static_cast<int64_t>(random() % 50'000'000);
            const std::size_t copies =
                std::min<std::size_t>(2 + random() % 3, kRows - made->Files.Count());
            for (std::size_t copy = 0; copy < copies; ++copy)
                made->Files.Add(new TFile(folders[random() % folders.size()], name, size,
                                          EncodeDateTime({2021, 1 + int(random() % 12), 10})));
        }
        made->Rows = ClassifyFiles(made->Files, goNameSize, false, {}).Rows;
        return made;
    }();
    return *data;
}

// Fills the grid as the pipeline does after a sort: the engine takes the rows (letting events
// through between batches), then the model shows them and the grid paints. Time: the whole fill.
// Counters: the longest stall, and the model's reload with the grid's layout and one paint.
void BM_GridFill(benchmark::State& state) {
    const bool separateGroups = state.range(0) != 0;
    const TGridData& data = GridData();
    const TResultLayout layout = ClassifiedLayout(goNameSize, separateGroups, false, false);
    TResultGrid results;
    TResultsModel model(results);
    TResultLinesModel lines(model);
    TResultsView grid(lines);
    grid.resize(1000, 700);
    grid.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&grid));
    TStallMeter stalls;
    const TPump pump = [&stalls] {
        stalls.Tick();
        QCoreApplication::processEvents();
        stalls.Tick();
    };
    double longest = 0;
    double reload = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.Detach();
        results.Load(data.Files, {}, layout);
        QCoreApplication::processEvents();
        state.ResumeTiming();

        stalls.Start();
        results.Load(data.Files, data.Rows, layout, pump);
        const TClock::time_point shown = TClock::now();
        model.Reload();
        grid.ApplyLayout(results.View().Layout());
        grid.FocusFirstRow();
        grid.viewport()->repaint();
        reload = std::max(reload, Milliseconds(TClock::now() - shown));
        stalls.Tick();
        longest = std::max(longest, stalls.LongestMs());
    }
    state.counters["rows"] = static_cast<double>(results.View().RowCount());
    state.counters["lines"] = static_cast<double>(lines.rowCount());
    state.counters["longest_stall_ms"] = longest;
    state.counters["reload_and_paint_ms"] = reload;
}
BENCHMARK(BM_GridFill)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("separate_groups")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One full summary step over the million rows shown: count, total, stripes, checked list, with
// events let through between batches; the status text follows.
void BM_SummaryStep(benchmark::State& state) {
    const TGridData& data = GridData();
    TResultGrid results;
    results.Load(data.Files, data.Rows, ClassifiedLayout(goNameSize, false, false, false));
    TStallMeter stalls;
    const TPump pump = [&stalls] {
        stalls.Tick();
        QCoreApplication::processEvents();
        stalls.Tick();
    };
    double longest = 0;
    for (auto _ : state) {
        stalls.Start();
        results.Recount(pump);
        benchmark::DoNotOptimize(results.SummaryText());
        stalls.Tick();
        longest = std::max(longest, stalls.LongestMs());
    }
    state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_SummaryStep)->Unit(benchmark::kMillisecond)->Iterations(5);

// The incremental search typing the name of the last row of a million: the engine walks the
// rows in display order, comparing without regard to case. With groups separated the rows show
// in the order of the file list; the flat list shows the largest files first, so its walk goes
// through the file records in no order.
void BM_IncrementalSearch(benchmark::State& state) {
    const TGridData& data = GridData();
    TResultGrid results;
    results.Load(data.Files, data.Rows,
                 ClassifiedLayout(goNameSize, state.range(0) != 0, false, false));
    const TResultView& view = results.View();
    const std::string last = view.File(view.PassingRecord(view.PassingCount() - 1)).Name;
    for (auto _ : state)
        benchmark::DoNotOptimize(view.FindNamePrefix(last));
}

BENCHMARK(BM_IncrementalSearch)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("separate_groups")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Points the window at a configuration of its own in `config`, one that has been shown before (so
// that no search options open at start). False when the file cannot be written.
bool UseTemporaryConfiguration(const QTemporaryDir& config) {
    QDir().mkpath(config.path() + QStringLiteral("/Brindlecot"));
    QFile ini(config.path() + QStringLiteral("/Brindlecot/quorvane.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Config]\nFirstShow=0\n") < 0)
        return false;
    ini.close();
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    return true;
}

// A search of the tree in $QUORVANE_BENCH_TREE through the main window's Search action, from
// the click until the window is idle with the results shown. A 1 ms timer runs all the while:
// the longest gap between its ticks is the longest time the window did not answer. Argument: the
// compare mode.
void BM_SearchStall(benchmark::State& state) {
    const QByteArray tree = qgetenv("QUORVANE_BENCH_TREE");
    if (tree.isEmpty()) {
        state.SkipWithError("set QUORVANE_BENCH_TREE to a tree made by bench/make_tree.sh");
        return;
    }
    QTemporaryDir config;
    if (!UseTemporaryConfiguration(config)) {
        state.SkipWithError("cannot write a configuration file");
        return;
    }
    TScriptedPrompts prompts; // a message box must not wait for a click
    TMainForm form;
    form.Settings().Criteria.IncludeFolders = {tree.toStdString()};
    form.Settings().Criteria.CompareMode = static_cast<TCompareMode>(state.range(0));
    form.Settings().DontShowCompareMessage = true;
    form.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&form));

    TStallMeter stalls;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&stalls] { stalls.Tick(); });
    double longest = 0;
    for (auto _ : state) {
        ticker.start();
        stalls.Start();
        form.Actions().Search->trigger();
        while (form.Controller().WorkerRunning() || form.Controller().Busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        stalls.Tick();
        ticker.stop();
        longest = std::max(longest, stalls.LongestMs());
    }
    state.counters["files"] = static_cast<double>(form.Controller().Files().Count());
    state.counters["rows"] = static_cast<double>(form.Controller().Results().View().RowCount());
    state.counters["longest_stall_ms"] = longest;
    form.close();
    form.FormDestroy();
}
BENCHMARK(BM_SearchStall)
    ->Arg(cmNone)
    ->Arg(cmCrc)
    ->ArgName("compare")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// A stored filter applied to a million rows through the main window's filter commands, as a
// click on the Filter menu does: from the click until the grid shows the passing rows. A 1 ms
// timer runs all the while: the longest gap between its ticks is the longest time the window did
// not answer, and each tick notes whether the wait cursor showed. Argument: the default filter
// ("Documents" passes no row of this data, "Not Support files" every row).
void BM_FilterApply(benchmark::State& state) {
    const TNamedFilterText& filter = DefaultFilters()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(filter.Name);
    QTemporaryDir config;
    if (!UseTemporaryConfiguration(config)) {
        state.SkipWithError("cannot write a configuration file");
        return;
    }
    TScriptedPrompts prompts;
    TMainForm form;
    form.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&form));
    const TGridData& data = GridData();
    form.Controller().Results().Load(data.Files, data.Rows,
                                     ClassifiedLayout(goNameSize, true, false, false));
    const TFilterGroup criteria = DecodeStoredFilter(filter.CriteriaHex);

    TStallMeter stalls;
    std::size_t ticks = 0;
    std::size_t waitTicks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        stalls.Tick();
        ++ticks;
        const QCursor* cursor = QApplication::overrideCursor();
        waitTicks += cursor && cursor->shape() == Qt::WaitCursor;
    });
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.Filters().ApplyCriteria({});
        QCoreApplication::processEvents();
        ticks = waitTicks = 0;
        state.ResumeTiming();
        ticker.start();
        stalls.Start();
        form.Filters().ApplyCriteria(criteria);
        stalls.Tick();
        ticker.stop();
        longest = std::max(longest, stalls.LongestMs());
    }
    state.counters["passing"] =
        static_cast<double>(form.Controller().Results().View().PassingCount());
    state.counters["longest_stall_ms"] = longest;
    state.counters["ticks_with_wait_cursor"] =
        ticks == 0 ? 0 : static_cast<double>(waitTicks) / static_cast<double>(ticks);
    form.close();
    form.FormDestroy();
}
BENCHMARK(BM_FilterApply)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
