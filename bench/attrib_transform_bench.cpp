// bench/attrib_transform_bench.cpp: logical-to-physical transforms of attributes per second, over
// 4096 seeded random attributes, on an identity insert and on a stretched, turned one.
// Items are single transform_attrib_logic_2_phisic calls; the checksum keeps the work alive.
#include <benchmark/benchmark.h>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/text.h>

#include <memory>
#include <random>
#include <vector>

#include "tests/database/test_insert.h"

namespace {

constexpr int kInputs = 4096;

struct DataDeleter {
  void operator()(CData* d) const { deleteData(d); }
};

// Attributes with rotations over the whole turn, obliques within +-0.5 rad; no style (the
// transform never measures the text).
std::vector<std::unique_ptr<CEntAttrib>> randomAttribs(CData& d) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> coord(-50.0, 50.0);
  std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
  std::uniform_real_distribution<double> slant(-0.5, 0.5);
  std::uniform_real_distribution<double> size(0.5, 5.0);
  std::vector<std::unique_ptr<CEntAttrib>> out;
  for (int i = 0; i < kInputs; ++i) {
    const TEXT_3D t("value", nullptr, size(rng), slant(rng), size(rng) / 5.0, angle(rng),
                    coord(rng), coord(rng), 0.0, 0);
    out.emplace_back(d.getEntFactory().createEntAttrib(d.getHandleGestor(), nullptr, nullptr, 256,
                                                       t, "TAG", 0, 0));
  }
  return out;
}

// range(0): 0 the identity insert, 1 scales (2, 0.5, 1) turned by 0.7 rad.
void LogicToPhysical(benchmark::State& state) {
  CDataFactory factory;
  const std::unique_ptr<CData, DataDeleter> d(factory.createData());
  const auto attribs = randomAttribs(*d);
  TestInsert ins(nullptr, PNT_3D(10, 20, 0));
  if (state.range(0) == 1) ins.setInsert(PNT_3D(10, 20, 0), 2.0, 0.5, 1.0, 0.7);
  double sum = 0.0;
  for (auto _ : state) {
    for (const auto& a : attribs) {
      PNT_3D pos;
      double h, r, o, w;
      transform_attrib_logic_2_phisic(ins, *a, pos, h, r, o, w);
      sum += h + r + o + w + pos.getX();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kInputs);
}

}  // namespace

BENCHMARK(LogicToPhysical)->Arg(0)->Arg(1);
