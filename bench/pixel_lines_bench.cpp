// bench/pixel_lines_bench.cpp: velt's raster line drawing, the part of `velt render` to PNG
// that grows with the ink a drawing puts on the image. Lines run between random points of a
// 1200 x 900 image (long lines in every direction, as a dense drawing fitted to the image
// gives), short lines stay within a few pixels, and dots are the marks of points.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/pixel_buffer.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;
constexpr int kItems = 100000;
const velt::Rgb kInk{40, 90, 200};

struct Segment {
  velt::PixelPoint a, b;
};

std::vector<Segment> segments(double reach) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> x(0, kWidth - 1), y(0, kHeight - 1), d(-reach, reach);
  std::vector<Segment> out(kItems);
  for (Segment& s : out) {
    s.a = {x(rng), y(rng)};
    s.b = reach > 0 ? velt::PixelPoint{s.a.x + d(rng), s.a.y + d(rng)}
                    : velt::PixelPoint{x(rng), y(rng)};
  }
  return out;
}

// Counter "columns": the pixel columns (rows for steep lines) the lines walk, per second.
void drawLines(benchmark::State& state, double reach) {
  const std::vector<Segment> lines = segments(reach);
  std::vector<std::uint32_t> pixels(std::size_t{kWidth} * kHeight, 0xffffffffu);
  double columns = 0;
  for (const Segment& s : lines)
    columns += std::max(std::abs(s.b.x - s.a.x), std::abs(s.b.y - s.a.y));
  for (auto _ : state) {
    velt::PixelBuffer buffer(pixels.data(), kWidth, kHeight, kWidth);
    for (const Segment& s : lines) buffer.line(s.a, s.b, kInk);
    buffer.flush();
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * kItems);
  state.counters["columns"] = benchmark::Counter(columns * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

void BM_LongLines(benchmark::State& state) {
  drawLines(state, 0);
}
BENCHMARK(BM_LongLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShortLines(benchmark::State& state) {
  drawLines(state, 4);
}
BENCHMARK(BM_ShortLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same long lines on the calling thread, in one band: the rasteriser alone.
void BM_LongLinesOneThread(benchmark::State& state) {
  const std::vector<Segment> lines = segments(0);
  std::vector<std::uint32_t> pixels(std::size_t{kWidth} * kHeight, 0xffffffffu);
  velt::PixelBuffer::Batch batch;
  for (const Segment& s : lines)
    batch.push_back({static_cast<float>(s.a.x), static_cast<float>(s.a.y),
                     static_cast<float>(s.b.x), static_cast<float>(s.b.y), 0x285ac8u, 0});
  for (auto _ : state) {
    velt::drawBatchBand(batch, pixels.data(), kWidth, kWidth, 0, kHeight);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_LongLinesOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Dots(benchmark::State& state) {
  const std::vector<Segment> at = segments(0);
  std::vector<std::uint32_t> pixels(std::size_t{kWidth} * kHeight, 0xffffffffu);
  for (auto _ : state) {
    velt::PixelBuffer buffer(pixels.data(), kWidth, kHeight, kWidth);
    for (const Segment& s : at) buffer.square(s.a, 2.0, kInk);
    buffer.flush();
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Dots)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
