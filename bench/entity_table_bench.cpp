// bench/entity_table_bench.cpp: CEntTable with a million line entities: add them all and remove
// them all (in order and shuffled), and get(handle) on the full table against a walk of the list.
// The table uses a manager that only counts, so the times are the table's own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/linetypes/linetype.h>

namespace {

constexpr long kEntities = 1000000;
constexpr long kFirstHandle = 32;

// A segment between two points: the smallest entity with a real box.
class Line : public CEnt {
 public:
  Line(long handle, CLayer* layer, CLtype* ltype, const PNT_3D& a, const PNT_3D& b)
      : CEnt(handle, layer, ltype, 256), a_(a), b_(b) {
    calcBdry();
  }
  void accept(IEntVisitor&) override {}
  void setMemento(CData&, const IEntDerivedMemento*) override {}
  short getType() const override { return 2; }
  void calcBdry() override { getBdry().set(a_, b_); }
  IEntDerivedMemento* createDerivedMemento() const override { return nullptr; }

 protected:
  CEnt* clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
              long handle) const override {
    return new Line(handle, getLayer(), getLtype(), a_, b_);
  }

 private:
  PNT_3D a_, b_;
};

// A million lines with handles 32, 33, ..., on one layer, owned here while out of the table.
struct Drawing {
  CLtypeContinuous continuous;
  std::unique_ptr<CLayer> layer{CLayerFactory().create("WALLS", &continuous, 7, 0)};
  std::vector<std::unique_ptr<CEnt>> lines;
  CHandleGestorFoo gestor;
  CBlockXRefDepend depend;

  Drawing() {
    lines.reserve(kEntities);
    for (long i = 0; i < kEntities; ++i) {
      const double x = static_cast<double>(i);
      lines.push_back(std::make_unique<Line>(kFirstHandle + i, layer.get(), &continuous,
                                             PNT_3D(x, 0, 0), PNT_3D(x + 1, 1, 0)));
    }
  }
};

void addAll(Drawing& d, CEntTable& t) {
  for (auto& e : d.lines) t.add(e.release());
}

// Takes every line out again, in the given order, and gives it back to d.
void removeAll(Drawing& d, CEntTable& t, const std::vector<CEnt*>& order) {
  for (std::size_t i = 0; i < order.size(); ++i) {
    t.remove(order[i]);
    d.lines[i].reset(order[i]);
  }
}

void addRemove(benchmark::State& state, bool shuffled) {
  Drawing d;
  std::vector<CEnt*> order;
  for (auto& e : d.lines) order.push_back(e.get());
  if (shuffled) std::shuffle(order.begin(), order.end(), std::mt19937(7));
  for (auto _ : state) {
    CEntTable t(d.gestor, d.depend);
    addAll(d, t);
    removeAll(d, t, order);
    benchmark::DoNotOptimize(t.getEntityTbl().size());
  }
  state.SetItemsProcessed(state.iterations() * kEntities);
}

void AddThenRemoveInOrder(benchmark::State& state) {
  addRemove(state, false);
}

void AddThenRemoveShuffled(benchmark::State& state) {
  addRemove(state, true);
}

void GetOnFullTable(benchmark::State& state) {
  Drawing d;
  CEntTable t(d.gestor, d.depend);
  addAll(d, t);
  std::mt19937 rng(11);
  std::uniform_int_distribution<long> handle(kFirstHandle, kFirstHandle + kEntities);
  for (auto _ : state) benchmark::DoNotOptimize(t.get(handle(rng)));
  state.SetItemsProcessed(state.iterations());
}

// What get would cost without its index: a walk to the middle of the list.
void WalkToMiddleForReference(benchmark::State& state) {
  Drawing d;
  CEntTable t(d.gestor, d.depend);
  addAll(d, t);
  const long wanted = kFirstHandle + kEntities / 2;
  for (auto _ : state) {
    CEnt* found = nullptr;
    for (CEnt* e : t.getEntityTbl())
      if (e->GetHandle() == wanted) {
        found = e;
        break;
      }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(AddThenRemoveInOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(AddThenRemoveShuffled)->Unit(benchmark::kMillisecond);
BENCHMARK(GetOnFullTable);
BENCHMARK(WalkToMiddleForReference)->Unit(benchmark::kMillisecond);
