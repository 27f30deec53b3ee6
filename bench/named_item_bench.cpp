// bench/named_item_bench.cpp: name lookups in a drawing's 10,000-layer table and progressive
// "*PAT" numbers over 10,000 blocks, the two per-entity and per-hatch costs of reading and
// hatching large drawings. Each lookup should cost the same whatever the table's size.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>

namespace {

constexpr long kItems = 10000;

// A drawing with layers LAYER1 ... LAYERn on the continuous linetype.
CData* drawingWithLayers(long n) {
  CData* d = CDataFactory().createData();
  for (long i = 1; i <= n; ++i) {
    const String name(("LAYER" + std::to_string(i)).c_str());
    addLayer(*d, d->getLayerFactory().create(name, &d->getLtypeContinuous(), 7, 0));
  }
  return d;
}

// Names of existing layers in random order and other case, so each lookup misses the cache
// of the previous one and has to fold case.
std::vector<String> shuffledLayerNames(long n) {
  std::vector<String> names;
  std::mt19937 rng(7);
  for (long i = 0; i < n; ++i) {
    names.emplace_back(("layer" + std::to_string(1 + rng() % static_cast<unsigned>(n))).c_str());
  }
  return names;
}

void getLayerByName(benchmark::State& state) {
  CData* d = drawingWithLayers(kItems);
  const std::vector<String> names = shuffledLayerNames(kItems);
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(getLayer(*d, names[next]));
    next = (next + 1) % names.size();
  }
  deleteData(d);
  state.SetItemsProcessed(state.iterations());
}

void getLayerMissing(benchmark::State& state) {
  CData* d = drawingWithLayers(kItems);
  const String absent("NO_SUCH_LAYER");
  for (auto _ : state) benchmark::DoNotOptimize(getLayer(*d, absent));
  deleteData(d);
  state.SetItemsProcessed(state.iterations());
}

// getProgNum("*PAT") on a table that already holds *PAT1 ... *PATn: asked repeatedly.
void progNumOverFullTable(benchmark::State& state) {
  CData* d = CDataFactory().createData();
  CBlockTable& blocks = d->getBlockTable();
  for (long i = 1; i <= kItems; ++i) {
    blocks.add(d->getBlockFactory().create(("*PAT" + std::to_string(i)).c_str(), 1));
  }
  const String base("*PAT");
  for (auto _ : state) benchmark::DoNotOptimize(blocks.getProgNum(base));
  deleteData(d);
  state.SetItemsProcessed(state.iterations());
}

// The hatching pattern without the geometry: ask for the next *PAT name, add a block under it,
// n times in one fresh drawing.
void addProgressiveBlocks(benchmark::State& state) {
  const long n = static_cast<long>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    CData* d = CDataFactory().createData();
    state.ResumeTiming();
    CBlockTable& blocks = d->getBlockTable();
    for (long i = 0; i < n; ++i) {
      blocks.add(d->getBlockFactory().create(GetBlockProgressiveName("*PAT", blocks), 1));
    }
    state.PauseTiming();
    deleteData(d);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(getLayerByName);
BENCHMARK(getLayerMissing);
BENCHMARK(progNumOverFullTable);
BENCHMARK(addProgressiveBlocks)->Arg(kItems)->Unit(benchmark::kMillisecond);

}  // namespace
