// bench/create_lines_bench.cpp: a million lines through a real drawing: createEntLine (current
// layer, fresh handles), adding them to the drawing's entity table, removing and deleting them.
// Each phase is timed on its own (the others paused), then the whole cycle together.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>

namespace {

constexpr long kLines = 1000000;

enum class Phase { kCreate, kAdd, kRemoveAndDelete, kAll };

void createAll(const CData& d, std::vector<CEntLine*>& lines) {
  for (long i = 0; i < kLines; ++i) {
    const double x = static_cast<double>(i);
    lines.push_back(createEntLine(d, LINE_3D(x, 0, 0, x + 1, 1, 0), 0));
  }
}

void addAll(CData& d, const std::vector<CEntLine*>& lines) {
  for (CEntLine* e : lines) d.getEntTable().add(e);
}

void removeAndDeleteAll(CData& d, const std::vector<CEntLine*>& lines) {
  for (CEntLine* e : lines) {
    d.getEntTable().remove(e);
    delete e;
  }
}

// Runs one full cycle per iteration on a fresh drawing and times only the chosen phase.
void cycle(benchmark::State& state, Phase timed) {
  std::vector<CEntLine*> lines;
  lines.reserve(kLines);
  for (auto _ : state) {
    state.PauseTiming();
    CData* d = CDataFactory().createData();
    lines.clear();
    const auto run = [&](Phase phase, auto&& work) {
      const bool on = timed == Phase::kAll || timed == phase;
      if (on) state.ResumeTiming();
      work();
      if (on) state.PauseTiming();
    };
    run(Phase::kCreate, [&] { createAll(*d, lines); });
    run(Phase::kAdd, [&] { addAll(*d, lines); });
    run(Phase::kRemoveAndDelete, [&] { removeAndDeleteAll(*d, lines); });
    benchmark::DoNotOptimize(d->getEntTable().getEntityTbl().size());
    deleteData(d);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void CreateLines(benchmark::State& state) {
  cycle(state, Phase::kCreate);
}

void AddToEntityTable(benchmark::State& state) {
  cycle(state, Phase::kAdd);
}

void RemoveAndDelete(benchmark::State& state) {
  cycle(state, Phase::kRemoveAndDelete);
}

void WholeCycle(benchmark::State& state) {
  cycle(state, Phase::kAll);
}

}  // namespace

BENCHMARK(CreateLines)->Unit(benchmark::kMillisecond);
BENCHMARK(AddToEntityTable)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveAndDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeCycle)->Unit(benchmark::kMillisecond);
