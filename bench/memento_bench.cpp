// bench/memento_bench.cpp: undo snapshots at drawing scale: taking, comparing and restoring the
// snapshots of a million lines, and restoring a long polyline after one vertex was removed, whose
// cost must stay close to linear in the vertex count (it is fitted over 25k to 200k vertices).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/memento.h>
#include <veltcore/entities/polyline.h>

namespace {

constexpr long kLines = 1000000;

// A drawing with a million listed lines and one snapshot of each, made once for the three line
// benchmarks.
struct Lines {
  CData* d = CDataFactory().createData();
  std::vector<CEntLine*> lines;
  std::vector<std::unique_ptr<IEntDerivedMemento>> snaps;

  Lines() {
    lines.reserve(kLines);
    for (long i = 0; i < kLines; ++i) {
      const double x = static_cast<double>(i % 1000), y = static_cast<double>(i / 1000);
      lines.push_back(createEntLine(*d, LINE_3D(x, y, 0, x + 1, y + 1, 0), 0));
      d->getEntTable().add(lines.back());
    }
    takeAll();
  }
  ~Lines() {
    snaps.clear();
    deleteData(d);
  }
  void takeAll() {
    snaps.clear();
    snaps.reserve(lines.size());
    for (const CEntLine* l : lines) snaps.emplace_back(l->createDerivedMemento());
  }

  static Lines& get() {
    static Lines lines;
    return lines;
  }
};

void snapshotLines(benchmark::State& state) {
  Lines& w = Lines::get();
  for (auto _ : state) {
    state.PauseTiming();
    w.snaps.clear();
    w.snaps.reserve(w.lines.size());
    state.ResumeTiming();
    for (const CEntLine* l : w.lines) w.snaps.emplace_back(l->createDerivedMemento());
    benchmark::DoNotOptimize(w.snaps.back().get());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void compareLines(benchmark::State& state) {
  Lines& w = Lines::get();
  for (auto _ : state) {
    long equal = 0;
    for (std::size_t i = 0; i < w.lines.size(); ++i) equal += *w.lines[i] == *w.snaps[i];
    benchmark::DoNotOptimize(equal);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void restoreLines(benchmark::State& state) {
  Lines& w = Lines::get();
  for (auto _ : state) {
    for (std::size_t i = 0; i < w.lines.size(); ++i) w.lines[i]->setMemento(*w.d, w.snaps[i].get());
    benchmark::DoNotOptimize(w.lines.back()->getBdry());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

// A listed polyline of n vertices and its snapshot; each iteration removes (and deletes) the
// middle vertex untimed, then times the restore, which rebuilds the whole vertex list.
void restorePolylineAfterRemoval(benchmark::State& state) {
  const long n = static_cast<long>(state.range(0));
  CData* d = CDataFactory().createData();
  CEntPolyline* p = createEntPolyline(*d, 0, 0, 0);
  for (long i = 0; i < n; ++i)
    p->addVertex(*createVertex(*d, PNT_3D(static_cast<double>(i), i % 2, 0), 0, 0, 0));
  d->getEntTable().add(p);
  const std::unique_ptr<IEntDerivedMemento> m(p->createDerivedMemento());
  for (auto _ : state) {
    state.PauseTiming();
    delete p->removeVertex(d->getHandleGestor(), n / 2);
    state.ResumeTiming();
    p->setMemento(*d, m.get());
    benchmark::DoNotOptimize(p->getNoTotalVertexes());
  }
  state.SetComplexityN(n);
  state.SetItemsProcessed(state.iterations() * n);
  deleteData(d);
}

BENCHMARK(snapshotLines)->Unit(benchmark::kMillisecond);
BENCHMARK(compareLines)->Unit(benchmark::kMillisecond);
BENCHMARK(restoreLines)->Unit(benchmark::kMillisecond);
BENCHMARK(restorePolylineAfterRemoval)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
