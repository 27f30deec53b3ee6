// bench/hatch_entity_bench.cpp: creating 10,000 small hatches in one drawing with createEntHatch,
// each with its own "*PAT" block in the block table (so the block-name search and the block
// table grow with every hatch), and adding them to the entity table.
#include <benchmark/benchmark.h>

#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

namespace {

void createSmallHatches(benchmark::State& state) {
  const long n = static_cast<long>(state.range(0));
  const HATCH_TYPE& ansi31 = *getHatch(String("ANSI31"));
  long blocks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CDataFactory factory;
    CData* d = factory.createData();
    state.ResumeTiming();
    for (long i = 0; i < n; ++i) {
      // 20 mm squares on a 100-wide grid, a handful of lines each; the grid is offset so that no
      // hatch line runs exactly through a corner.
      const double x = static_cast<double>(i % 100) * 30 + 0.37;
      const double y = static_cast<double>(i / 100) * 30 + 0.11;
      const std::vector<PNT_3D> square{
          {x, y, 0}, {x + 20, y, 0}, {x + 20, y + 20, 0}, {x, y + 20, 0}};
      CEntHatch* h = createEntHatch(*d, ansi31, 1, 0, square, 0);
      if (h == nullptr) {
        state.SkipWithError("a hatch was refused");
        break;
      }
      d->getEntTable().add(h);
    }
    state.PauseTiming();
    blocks = d->getBlockTable().size();
    deleteData(d);
    state.ResumeTiming();
  }
  state.counters["blocks"] = static_cast<double>(blocks);
  state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(createSmallHatches)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
