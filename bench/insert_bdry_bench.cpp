// bench/insert_bdry_bench.cpp: CEntTable::getBdry after invalidateBdry on a drawing of inserts,
// each with two attributes, of blocks nested three deep, at 25k to 200k inserts: the time per
// insert shows whether recomputing the extent is linear in the entities. The pass reads about
// half a kilobyte per insert, so compare sizes on the same side of the last-level cache.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/style.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/text.h>
#include <veltcore/geometry/font.h>

namespace {

// Fixed metrics, enough for attributes to have a real box.
class BenchFont : public ICADFont {
 public:
  BenchFont() : ICADFont("benchfont") {}
  int getCellHeight() const override { return 10; }
  int getDescent() const override { return 2; }
  void measure(const char* s, bool, bool, bool, int* width, int* top, int* bottom) const override {
    *width = static_cast<int>(std::strlen(s)) * 6;
    *top = 8;
    *bottom = -2;
  }
};

const ICADFont* benchFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (const ICADFont* f = fonts.get("benchfont", false)) return f;
  fonts.add(new BenchFont);
  const ICADFont* f = fonts.get("benchfont", false);
  fonts.setDefault(f);
  return f;
}

CBlock* newBlock(CData& d, const char* name) {
  return d.getBlockFactory().create(name, PNT_3D(0, 0, 0), 0);
}

CEntInsert* newInsert(CData& d, CBlock& b, double x, double y, double rotate, long rows,
                      long columns) {
  return createEntInsert(d, b, PNT_3D(x, y, 0), 1, 1, 1, rotate, rows, columns, 3, 4, 0);
}

CEntAttrib* newAttrib(CData& d, const char* value, double x, double y) {
  const TEXT_3D t(value, &d.getStyleTable().getStyleStandard(), 1, 0, 1, 0, x, y, 0, 0);
  return d.getEntFactory().createEntAttrib(d.getHandleGestor(), getCurLayer(d), getCurLtype(d), 256,
                                           t, "TAG", 0, 0);
}

struct DataDeleter {
  void operator()(CData* d) const { deleteData(d); }
};
using DataPtr = std::unique_ptr<CData, DataDeleter>;

// A square in A; three inserts of A in B; two inserts of B in C, one an array; then n inserts
// of C on a grid in the drawing, each with two attributes.
DataPtr buildDrawing(long n) {
  benchFont();
  DataPtr d(CDataFactory().createData());
  CBlock* a = newBlock(*d, "A");
  const double square[4][4] = {{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0}};
  for (const auto& s : square) a->add(createEntLine(*d, LINE_3D(s[0], s[1], 0, s[2], s[3], 0), 0));
  d->getBlockTable().add(a);
  CBlock* b = newBlock(*d, "B");
  for (int i = 0; i < 3; ++i) b->add(newInsert(*d, *a, 2.0 * i, 0, 0.3 * i, 1, 1));
  d->getBlockTable().add(b);
  CBlock* c = newBlock(*d, "C");
  c->add(newInsert(*d, *b, 0, 0, 0, 1, 1));
  c->add(newInsert(*d, *b, 10, 0, 0.5, 2, 2));
  d->getBlockTable().add(c);
  CEntTable& table = d->getEntTable();
  for (long i = 0; i < n; ++i) {
    const double x = static_cast<double>(i % 1000) * 30;
    const double y = static_cast<double>(i / 1000) * 30;
    CEntInsert* ins = newInsert(*d, *c, x, y, 0.001 * static_cast<double>(i % 7), 1, 1);
    ins->add(newAttrib(*d, "NAME", 0, -2));
    ins->add(newAttrib(*d, "NUMBER", 0, -4));
    table.add(ins);
  }
  return d;
}

void BM_ExtentOfNestedInserts(benchmark::State& state) {
  const long n = state.range(0);
  const DataPtr d = buildDrawing(n);
  const CEntTable& table = d->getEntTable();
  for (auto _ : state) {
    table.invalidateBdry();
    benchmark::DoNotOptimize(table.getBdry());
  }
  // Entities the pass walks: the inserts themselves (their attributes are read inside). Linear
  // means a flat time per insert.
  state.SetComplexityN(n);
  state.counters["per_insert"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}
BENCHMARK(BM_ExtentOfNestedInserts)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
