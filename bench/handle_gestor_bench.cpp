// bench/handle_gestor_bench.cpp: CHandleGestorDefault with a million handles: book, reserve and
// release; book everything then reserve it; release every other handle and rebook after the seed
// has wrapped. Each iteration uses a fresh manager, so times are for the whole million.
#include <benchmark/benchmark.h>

#include <veltcore/database/handle.h>

namespace {

constexpr long kHandles = 1000000;

// One object standing for every entity in turn.
class Ent : public IHandleEnt {
 public:
  Ent() : IHandleEnt(0) {}
  void accept(IEntVisitor&) override {}
  void set(long h) { SetHandle(h); }
};

void BookReserveRelease(benchmark::State& state) {
  Ent ent;
  for (auto _ : state) {
    CHandleGestorDefault g(32, 1000000000);
    for (long i = 0; i < kHandles; ++i) {
      ent.set(g.bookNext());
      g.reserve(&ent);
    }
    for (long h = 32; h < 32 + kHandles; ++h) g.release(h);
    benchmark::DoNotOptimize(g.nextseed());
  }
  state.SetItemsProcessed(state.iterations() * kHandles);
}

void BookAllThenReserveAll(benchmark::State& state) {
  Ent ent;
  for (auto _ : state) {
    CHandleGestorDefault g(32, 1000000000);
    for (long i = 0; i < kHandles; ++i) benchmark::DoNotOptimize(g.bookNext());
    for (long h = 32; h < 32 + kHandles; ++h) {
      ent.set(h);
      g.reserve(&ent);
    }
    benchmark::DoNotOptimize(g.nextseed());
  }
  state.SetItemsProcessed(state.iterations() * kHandles);
}

// The limit leaves exactly a million values, so the seed wraps after the first fill; releasing
// every other handle leaves half a million separate holes for the wrapped search to find.
void RebookAfterWrap(benchmark::State& state) {
  Ent ent;
  for (auto _ : state) {
    state.PauseTiming();
    CHandleGestorDefault g(1, kHandles + 1);
    for (long i = 0; i < kHandles; ++i) {
      ent.set(g.bookNext());
      g.reserve(&ent);
    }
    state.ResumeTiming();
    for (long h = 1; h <= kHandles; h += 2) g.release(h);
    for (long i = 0; i < kHandles / 2; ++i) {
      ent.set(g.bookNext());
      g.reserve(&ent);
    }
    benchmark::DoNotOptimize(g.nextseed());
  }
  state.SetItemsProcessed(state.iterations() * kHandles);
}

}  // namespace

BENCHMARK(BookReserveRelease)->Unit(benchmark::kMillisecond);
BENCHMARK(BookAllThenReserveAll)->Unit(benchmark::kMillisecond);
BENCHMARK(RebookAfterWrap)->Unit(benchmark::kMillisecond);
