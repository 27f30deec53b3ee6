// bench/silhouette_bench.cpp: the outline of a 100,000-vertex wide polyline (CPolylineSilhouette),
// a zigzag so that every joint is mitred; the polyline is built once, outside the timing.
#include <benchmark/benchmark.h>

#include <memory>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/polyline_silhouette.h>

namespace {

constexpr long kVertices = 100000;

void silhouetteOfWidePolyline(benchmark::State& state) {
  CDataFactory factory;
  CData* d = factory.createData();
  std::unique_ptr<CEntPolyline> p(createEntPolyline(*d, 0, 0, 0));
  // Thin appends only extend the box; the width comes last, so building stays linear.
  for (long i = 0; i < kVertices; ++i) {
    const PNT_3D at(static_cast<double>(i), (i % 2) ? 1.0 : 0.0, 0.0);
    p->addVertex(*createVertex(*d, at, 0.0, 0.0, 0));
  }
  p->setWidth(0.5);
  for (auto _ : state) {
    CPolylineSilhouette s(*p);
    benchmark::DoNotOptimize(s.GetNoRuns());
  }
  state.SetItemsProcessed(state.iterations() * kVertices);
  d->getEntFactory().unbookHandle(d->getHandleGestor(), p.get());
  p.reset();
  deleteData(d);
}

BENCHMARK(silhouetteOfWidePolyline)->Unit(benchmark::kMillisecond);

}  // namespace
