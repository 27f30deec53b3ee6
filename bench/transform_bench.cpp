// bench/transform_bench.cpp: CEntMoveVisitor, CEntRotateXYVisitor and CEntScaleVisitor over
// 1,000,000 entities of a drafting mix, one benchmark each. Items are single entity transforms.
// The mix, per 20 entities: 6 lines, 2 circles, 2 arcs, 2 points, 2 texts (measured through a
// registered font), 4 polylines of 4 vertices and 2 inserts of a 4-line block. Moves and scales
// alternate with their inverses so that the geometry stays put over any number of iterations.
#include <benchmark/benchmark.h>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/style.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/geometry/arc.h>
#include <veltcore/geometry/font.h>
#include <veltcore/geometry/line.h>
#include <veltcore/geometry/text.h>

#include <memory>
#include <random>
#include <vector>

#include "tests/geometry/test_font.h"

namespace {

constexpr long kEntities = 1000000;

struct DataDeleter {
  void operator()(CData* d) const { deleteData(d); }
};

// The drawing and its entities, built once for the three benchmarks. The entities are in no
// table: the visitors need none, and the set deletes them before the drawing.
struct Mix {
  std::unique_ptr<CData, DataDeleter> d;
  std::vector<std::unique_ptr<CEnt>> owned;
  std::vector<CEnt*> entities;

  Mix() {
    CDataFactory factory;
    d.reset(factory.createData());
    CFontTable& fonts = CFontTable::getInstance();
    if (fonts.get("benchfont", false) == nullptr)
      fonts.add(new TestFont("benchfont", {10, 2, 6, 8, -2}));
    CStyle* style =
        d->getStyleFactory().create("BENCH", fonts.get("benchfont", false), 0, 1, 0, 0, 0);
    addStyle(*d, style);
    CBlock* block = d->getBlockFactory().create("DOOR", PNT_3D(0, 0, 0), 0);
    block->add(createEntLine(*d, LINE_3D(0, 0, 0, 1, 0, 0), 0));
    block->add(createEntLine(*d, LINE_3D(1, 0, 0, 1, 2, 0), 0));
    block->add(createEntLine(*d, LINE_3D(1, 2, 0, 0, 2, 0), 0));
    block->add(createEntLine(*d, LINE_3D(0, 2, 0, 0, 0, 0), 0));
    d->getBlockTable().add(block);

    std::mt19937 rng(1234);
    std::uniform_real_distribution<double> coord(-5000.0, 5000.0);
    std::uniform_real_distribution<double> size(0.5, 20.0);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    owned.reserve(kEntities);
    entities.reserve(kEntities);
    for (long i = 0; i < kEntities; ++i) {
      const double x = coord(rng), y = coord(rng);
      const long k = i % 20;
      CEnt* e = nullptr;
      if (k < 6) {
        e = createEntLine(*d, LINE_3D(x, y, 0, x + size(rng), y + size(rng), 0), 0);
      } else if (k < 8) {
        e = createEntCircle(*d, CIRCLE_3D(x, y, 0, size(rng)), 0);
      } else if (k < 10) {
        e = createEntArc(*d, ARC_3D(x, y, 0, size(rng), angle(rng), angle(rng)), 0);
      } else if (k < 12) {
        e = createEntPnt(*d, PNT_3D(x, y, 0), 0);
      } else if (k < 14) {
        e = createEntText(*d, TEXT_3D("Room 101", style, 2.5, 0, 1, angle(rng), x, y, 0, 0), 0);
      } else if (k < 18) {
        CEntPolyline* p = createEntPolyline(*d, 0, 0, 0);
        for (int v = 0; v < 4; ++v)
          p->addVertex(*createVertex(*d, PNT_3D(x + size(rng), y + size(rng), 0), 0, 0, 0));
        e = p;
      } else {
        e = createEntInsert(*d, *block, PNT_3D(x, y, 0), 1, 1, 1, angle(rng), 1, 1, 0, 0, 0);
      }
      owned.emplace_back(e);
      entities.push_back(e);
    }
  }
};

Mix& mix() {
  static Mix m;
  return m;
}

void transformAll(IEntVisitor& v) {
  for (CEnt* e : mix().entities) e->accept(v);
}

void Move(benchmark::State& state) {
  mix();
  CEntMoveVisitor there(PNT_3D(1.5, -2.5, 0));
  CEntMoveVisitor back(PNT_3D(-1.5, 2.5, 0));
  bool out = true;
  for (auto _ : state) {
    transformAll(out ? static_cast<IEntVisitor&>(there) : back);
    out = !out;
  }
  benchmark::DoNotOptimize(mix().entities.front()->getBdry());
  state.SetItemsProcessed(state.iterations() * kEntities);
}

void Rotate(benchmark::State& state) {
  mix();
  CEntRotateXYVisitor turn(PNT_3D(100, 200, 0), 0.1);
  for (auto _ : state) transformAll(turn);
  benchmark::DoNotOptimize(mix().entities.front()->getBdry());
  state.SetItemsProcessed(state.iterations() * kEntities);
}

void Scale(benchmark::State& state) {
  mix();
  CEntScaleVisitor grow(PNT_3D(100, 200, 0), 2.0);
  CEntScaleVisitor shrink(PNT_3D(100, 200, 0), 0.5);
  bool up = true;
  for (auto _ : state) {
    transformAll(up ? static_cast<IEntVisitor&>(grow) : shrink);
    up = !up;
  }
  benchmark::DoNotOptimize(mix().entities.front()->getBdry());
  state.SetItemsProcessed(state.iterations() * kEntities);
}

}  // namespace

BENCHMARK(Move)->Unit(benchmark::kMillisecond);
BENCHMARK(Rotate)->Unit(benchmark::kMillisecond);
BENCHMARK(Scale)->Unit(benchmark::kMillisecond);
