// bench/intersection_bench.cpp: throughput of circle-segment and arc-arc intersection over a
// fixed set of 4096 random inputs (seeded, so runs compare; points_per_call shows the mix).
// Items are single intersection calls; the checksum keeps the work from being optimised out.
#include <benchmark/benchmark.h>

#include <veltcore/geometry/arc.h>

#include <random>
#include <vector>

namespace {

constexpr int kInputs = 4096;

std::vector<LINE_2D> randomSegments() {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> coord(-20.0, 20.0);
  std::vector<LINE_2D> segs;
  for (int i = 0; i < kInputs; ++i)
    segs.emplace_back(coord(rng), coord(rng), coord(rng), coord(rng));
  return segs;
}

std::vector<ARC_3D> randomArcs() {
  std::mt19937 rng(54321);
  std::uniform_real_distribution<double> coord(-10.0, 10.0);
  std::uniform_real_distribution<double> radius(1.0, 10.0);
  std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
  std::vector<ARC_3D> arcs;
  for (int i = 0; i < kInputs; ++i) {
    arcs.emplace_back(coord(rng), coord(rng), 0.0, radius(rng), angle(rng), angle(rng));
  }
  return arcs;
}

void CircleSegment(benchmark::State& state) {
  const std::vector<LINE_2D> segs = randomSegments();
  const CIRCLE_3D circle(1.0, -2.0, 0.0, 8.0);
  long found = 0;
  for (auto _ : state) {
    for (const LINE_2D& s : segs) {
      PNT_2D p1, p2;
      found += circle.intersect(s, &p1, &p2);
      benchmark::DoNotOptimize(p1);
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * kInputs);
  state.counters["points_per_call"] =
      static_cast<double>(found) / static_cast<double>(state.iterations() * kInputs);
}

void ArcArc(benchmark::State& state) {
  const std::vector<ARC_3D> arcs = randomArcs();
  long found = 0;
  for (auto _ : state) {
    for (int i = 0; i < kInputs; ++i) {
      PNT_2D p1, p2;
      found += arcs[i].intersect(arcs[(i + 1) % kInputs], p1, p2);
      benchmark::DoNotOptimize(p1);
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * kInputs);
  state.counters["points_per_call"] =
      static_cast<double>(found) / static_cast<double>(state.iterations() * kInputs);
}

}  // namespace

BENCHMARK(CircleSegment);
BENCHMARK(ArcArc);
