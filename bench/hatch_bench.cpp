// bench/hatch_bench.cpp: hatch generation over a 10 m x 10 m room (millimetres) with ANSI31 at
// scale 1, NET at 1 and DASH at 10, bare and with 400 round holes (radius 150 on a 500 grid)
// chained into the outer boundary by bridges walked out and back. Reports the entities made;
// a failure notice aborts the run, since these boundaries must hatch cleanly. One case runs the
// plain crossing search over every segment, to show what the indexed one saves.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/hatch/pattern.h>

#include "hatch/generator.h"

namespace {

constexpr double kRoom = 10000;
constexpr int kHolesPerRow = 20;
constexpr double kPitch = 500;
constexpr double kHoleRadius = 150;

void abortOnFailure(const char* title, const char* text) {
  std::fprintf(stderr, "hatch_bench: %s: %s\n", title, text);
  std::abort();
}

// One row of holes hung on the left wall at height y: out along the row, each hole walked
// round from its rightmost point, and back along the same bridges.
void appendHoleRow(double y, std::vector<PNT_3D>& pts) {
  std::vector<PNT_3D> back;
  for (int i = 0; i < kHolesPerRow; ++i) {
    const double cx = kPitch / 2 + i * kPitch;
    hatch_add_circle(PNT_3D(cx, y, 0), kHoleRadius, pts);
    back.emplace_back(cx + kHoleRadius, y, 0);
  }
  pts.insert(pts.end(), back.rbegin(), back.rend());
  pts.emplace_back(0, y, 0);
}

std::vector<PNT_3D> room(bool holes) {
  std::vector<PNT_3D> pts{PNT_3D(0, 0, 0), PNT_3D(kRoom, 0, 0), PNT_3D(kRoom, kRoom, 0),
                          PNT_3D(0, kRoom, 0)};
  if (holes) {
    for (int j = kHolesPerRow - 1; j >= 0; --j) {
      const double y = kPitch / 2 + j * kPitch;
      pts.emplace_back(0, y, 0);
      appendHoleRow(y, pts);
    }
  }
  return pts;
}

using veltcore::hatch::CrossingSearchKind;

void hatchRoom(benchmark::State& state, const char* pattern, double scale, bool holes,
               CrossingSearchKind search = CrossingSearchKind::kIndexed) {
  setHatchFailureHandler(&abortOnFailure);
  CDataFactory factory;
  std::unique_ptr<CData, void (*)(CData*)> d(factory.createData(), deleteData);
  const std::vector<PNT_3D> boundary = room(holes);
  const HATCH_TYPE& t = *getHatch(pattern);
  int entities = 0;
  for (auto _ : state) {
    std::unique_ptr<CBlock> b(veltcore::hatch::generateHatch(
        search, "*PAT1", t, scale, 0, boundary, d->getBlockFactory(), d->getHandleGestor(),
        d->getEntFactory(), getCurLayer(*d), getLtypeByBlock(*d), 0));
    if (!b) {
      state.SkipWithError("hatch refused");
      break;
    }
    entities = b->size();
  }
  state.counters["entities"] = entities;
  state.counters["boundary points"] = static_cast<double>(boundary.size());
  setHatchFailureHandler(nullptr);
}

BENCHMARK_CAPTURE(hatchRoom, ANSI31_1, "ANSI31", 1.0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hatchRoom, NET_1, "NET", 1.0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hatchRoom, DASH_10, "DASH", 10.0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hatchRoom, ANSI31_1_holes, "ANSI31", 1.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hatchRoom, NET_1_holes, "NET", 1.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hatchRoom, DASH_10_holes, "DASH", 10.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hatchRoom, ANSI31_1_holes_plain_search, "ANSI31", 1.0, true,
                  CrossingSearchKind::kPlain)
    ->Unit(benchmark::kMillisecond);

}  // namespace
