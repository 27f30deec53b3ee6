// bench/remap_bench.cpp: CTableRemapper::Remap over a drawing of a million lines, half in the
// entity table and half in 1,000 blocks of 500, with 100 layer pairs and 10 linetype pairs.
// Remap changes the drawing, so the moving benchmark alternates two remappers, old -> new and
// new -> old: every iteration moves every entity, and no rebuild is needed between them. The
// second benchmark pairs only items nothing uses: the walk and the lookups alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/table_remapper.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/line.h>
#include <veltcore/geometry/line.h>

namespace {

constexpr long kEntities = 1000000;
constexpr int kBlocks = 1000;
constexpr int kPerBlock = 500;  // kBlocks * kPerBlock lines in blocks, the rest in the table
constexpr int kLayerPairs = 100;
constexpr int kLtypePairs = 10;

// Line i is on old layer i % 100 and old linetype i % 10; each old layer is on an old linetype.
// The new layers and linetypes start unused; the spare ones (the spare layers are continuous)
// stay unused.
struct Drawing {
  CData* d = CDataFactory().createData();
  std::vector<CLayer*> oldLayers, newLayers, spareLayers;
  std::vector<CLtype*> oldLtypes, newLtypes, spareLtypes;

  Drawing() {
    for (int i = 0; i < kLtypePairs; ++i) {
      oldLtypes.push_back(addLtype("OLD" + std::to_string(i)));
      newLtypes.push_back(addLtype("NEW" + std::to_string(i)));
      spareLtypes.push_back(addLtype("SPARE" + std::to_string(i)));
    }
    for (int i = 0; i < kLayerPairs; ++i) {
      oldLayers.push_back(addLayer("OLD" + std::to_string(i), oldLtypes[i % kLtypePairs]));
      newLayers.push_back(addLayer("NEW" + std::to_string(i), newLtypes[i % kLtypePairs]));
      spareLayers.push_back(addLayer("SPARE" + std::to_string(i), &d->getLtypeContinuous()));
    }
    long n = 0;
    for (int b = 0; b < kBlocks; ++b) {
      CBlock* block = d->getBlockFactory().create(("B" + std::to_string(b)).c_str(), 0);
      for (int i = 0; i < kPerBlock; ++i) block->add(line(n++));
      d->getBlockTable().add(block);
    }
    while (n < kEntities) d->getEntTable().add(line(n++));
  }
  ~Drawing() { deleteData(d); }

  CLtype* addLtype(const std::string& name) {
    const double dashes[] = {1.0, -0.5};
    CLtype* lt = d->getLtypeFactory().create(name.c_str(), "", dashes, 2, 0);
    d->getLtypeTable().add(lt);
    return lt;
  }
  CLayer* addLayer(const std::string& name, CLtype* lt) {
    CLayer* layer = d->getLayerFactory().create(name.c_str(), lt, 7, 0);
    d->getLayerTable().add(layer);
    return layer;
  }
  CEnt* line(long i) {
    const double x = static_cast<double>(i % 1000), y = static_cast<double>(i / 1000);
    return createEntLine(*d, oldLayers[i % kLayerPairs], oldLtypes[i % kLtypePairs], 256,
                         LINE_3D(x, y, 0, x + 1, y + 1, 0), 0);
  }

  static Drawing& get() {
    static Drawing drawing;
    return drawing;
  }
};

void declarePairs(CTableRemapper& r, const std::vector<CLayer*>& from,
                  const std::vector<CLayer*>& to, const std::vector<CLtype*>& fromLt,
                  const std::vector<CLtype*>& toLt) {
  for (std::size_t i = 0; i < from.size(); ++i) r.ChangeInto(from[i], to[i]);
  for (std::size_t i = 0; i < fromLt.size(); ++i) r.ChangeInto(fromLt[i], toLt[i]);
}

void remapMovingEverything(benchmark::State& state) {
  Drawing& w = Drawing::get();
  CTableRemapper forward(*w.d, false), back(*w.d, false);
  declarePairs(forward, w.oldLayers, w.newLayers, w.oldLtypes, w.newLtypes);
  declarePairs(back, w.newLayers, w.oldLayers, w.newLtypes, w.oldLtypes);
  bool onOld = true;
  for (auto _ : state) {
    (onOld ? forward : back).Remap();
    onOld = !onOld;
  }
  if (!onOld) back.Remap();  // leave the drawing as the next benchmark expects it
  if (w.oldLayers[0]->getEntities() != kEntities / kLayerPairs) state.SkipWithError("lost uses");
  state.SetItemsProcessed(state.iterations() * kEntities);
}

void remapWithIdlePairs(benchmark::State& state) {
  Drawing& w = Drawing::get();
  CTableRemapper idle(*w.d, false);
  declarePairs(idle, w.spareLayers, w.newLayers, w.spareLtypes, w.newLtypes);
  for (auto _ : state) idle.Remap();
  state.SetItemsProcessed(state.iterations() * kEntities);
}

}  // namespace

BENCHMARK(remapMovingEverything)->Unit(benchmark::kMillisecond);
BENCHMARK(remapWithIdlePairs)->Unit(benchmark::kMillisecond);
