// The tree grid's model at blotter size: 10,000 nodes (100 accounts of 99
// positions) inserted with their rows, every node expanded, the accounts and
// their positions sorted by label, and one position's P&L cell changed with
// its row looked up, as a feed update does before the cell is repainted.
// The control under the window system, repaint included, is measured by
// bench/win/TreeGridPaintBench.cpp (scripts/bench win-treegrid).
#include "controls/TreeGridModel.h"
#include "TreeGridBenchRows.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kAccounts = bench::kTreeAccounts;
constexpr int kPositions = bench::kTreePositions;

// A row view that keeps a count, as a list view keeps its rows.
class CountingRows : public ITreeGridRows {
public:
    void InsertRow(int, CTreeGridItem*) override { ++m_rows; }
    void DeleteRow(int) override { --m_rows; }
    int m_rows = 0;
};


void Fill(CTreeGridModel& model, bool update)
{
    for (int a = 0; a < kAccounts; ++a) {
        CTreeGridItem* account = model.InsertRootItem(bench::TreeRowInfo(bench::TreeRowLabel('A', a)));
        for (int p = 0; p < kPositions; ++p)
            model.InsertItem(account, bench::TreeRowInfo(bench::TreeRowLabel('P', p)), update);
    }
}

// Runs `timed` on a model filled (or not) outside the timing, each
// iteration with a fresh model whose destruction is not timed either.
template <class Timed>
void OnFreshModels(benchmark::State& state, bool fill, bool update, Timed timed)
{
    for (auto _ : state) {
        state.PauseTiming();
        CountingRows rows;
        auto model = std::make_unique<CTreeGridModel>();
        model->SetRowView(&rows);
        if (fill)
            Fill(*model, update);
        state.ResumeTiming();
        timed(*model);
        benchmark::DoNotOptimize(rows.m_rows);
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}

void BM_Insert10000WithRows(benchmark::State& state)
{
    OnFreshModels(state, false, false, [](CTreeGridModel& model) { Fill(model, true); });
}
BENCHMARK(BM_Insert10000WithRows)->Unit(benchmark::kMillisecond);

void BM_ExpandAll10000(benchmark::State& state)
{
    OnFreshModels(state, true, false, [](CTreeGridModel& model) {
        for (int a = 0; a < model.GetRootCount(); ++a)
            model.ExpandAll(model.GetRootItem(a));
    });
}
BENCHMARK(BM_ExpandAll10000)->Unit(benchmark::kMillisecond);

void BM_SortExpanded10000(benchmark::State& state)
{
    OnFreshModels(state, true, true, [](CTreeGridModel& model) { model.Sort(nullptr, TRUE); });
}
BENCHMARK(BM_SortExpanded10000)->Unit(benchmark::kMillisecond);

// One P&L cell: the text set in the node's info and the row found.
void BM_OneCellUpdate(benchmark::State& state)
{
    CountingRows rows;
    CTreeGridModel model;
    model.SetRowView(&rows);
    Fill(model, true);
    CTreeGridItem* position = model.GetRootItem(kAccounts - 1)->GetChild(kPositions - 1);
    int tick = 0;
    for (auto _ : state) {
        position->GetData()->SetSubItemText(1, std::to_string(++tick).c_str());
        benchmark::DoNotOptimize(model.NodeToIndex(position));
    }
}
BENCHMARK(BM_OneCellUpdate)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
