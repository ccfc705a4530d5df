// Adding many rows to a selection panel that removes duplicates and sizes its
// columns: each row must cost about the same however long the list is.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "controls/SelectPnl.h"

namespace {

void BM_AddRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    std::vector<std::vector<std::string>> data;
    data.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        // Shuffled keys, some repeated, so sorted insertion and duplicate
        // removal both do real work.
        int key = static_cast<int>((static_cast<long long>(i) * 7919) % rows);
        data.push_back({"K" + std::to_string(key % (rows - rows / 10)), "名称" + std::to_string(i), "x"});
    }
    for (auto _ : state) {
        zb::TSelectPanel panel(nullptr);
        panel.SetStyle(zb::TSelectStyle::sp_Discrete);
        panel.SetCheckDuplicate(zb::TCheckDuplicate::cd_CheckCase);
        panel.SetColumnsAutoSize(true);
        for (const auto& row : data) panel.ListView->AddRow(row);
        benchmark::DoNotOptimize(panel.Items()->Count());
    }
}
BENCHMARK(BM_AddRows)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
