// bench/polyline_bench.cpp: appending wide vertices one by one to a polyline (addVertex), the way
// the DXF reader builds them. Every append leaves the box of the whole outline; the cost per
// vertex must not grow with the polyline, so it is measured at 1,000, 10,000 and 100,000.
#include <benchmark/benchmark.h>

#include <memory>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>

namespace {

void appendWideVertices(benchmark::State& state) {
  const long n = static_cast<long>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    CDataFactory factory;
    CData* d = factory.createData();
    std::unique_ptr<CEntPolyline> p(createEntPolyline(*d, 0, 0, 0));
    state.ResumeTiming();
    for (long i = 0; i < n; ++i) {
      // A zigzag, so that every joint is mitred.
      const PNT_3D at(static_cast<double>(i), (i % 2) ? 1.0 : 0.0, 0.0);
      p->addVertex(*createVertex(*d, at, 0.5, 0.5, 0));
    }
    benchmark::DoNotOptimize(p->getBdry());
    state.PauseTiming();
    d->getEntFactory().unbookHandle(d->getHandleGestor(), p.get());
    p.reset();
    deleteData(d);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(appendWideVertices)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
