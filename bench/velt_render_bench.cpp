// bench/velt_render_bench.cpp: what `velt info` and `velt render` cost beside the library's load,
// on the load benchmark's generated drawing (100 MB; VELT_BENCH_MB changes the size), with
// velt's own FreeType font measuring the texts as the tool does. Each figure is one step alone:
// the load, then, on a drawing already loaded, the statistics, the PNG and the SVG render (the
// image written to a scratch folder, the drawing not freed). Whole commands, the drawing's
// release included, are timed from outside with farm-bench.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/dxf_bench_drawing.h"
#include "command.h"
#include "font/freetype_font.h"
#include "info/drawing_stats.h"
#include "io/load_drawing.h"
#include "render/render.h"

namespace {

namespace fs = std::filesystem;

// The generated drawing and a folder for the images, made on first use and removed at exit.
class Scratch {
 public:
  static const Scratch& get() {
    static const Scratch scratch;
    return scratch;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string drawing() const { return (dir_ / "bench.dxf").string(); }
  std::string image(const char* name) const { return (dir_ / name).string(); }
  double megabytes() const { return megabytes_; }

 private:
  fs::path dir_;
  double megabytes_ = 0;

  Scratch() : dir_(fs::temp_directory_path() / "velt_render_bench") {
    fs::create_directories(dir_);
    const char* mb = std::getenv("VELT_BENCH_MB");
    const long long size = mb != nullptr && std::atoll(mb) > 0 ? std::atoll(mb) : 100;
    megabytes_ =
        static_cast<double>(dxfbench::writeBenchDrawing(drawing(), size << 20).bytes) / (1 << 20);
    velt::registerDefaultFont();
  }
};

// One drawing, loaded once for the steps that read it.
const velt::LoadedDrawing& loaded() {
  static const velt::LoadedDrawing drawing = velt::loadDrawing(Scratch::get().drawing());
  return drawing;
}

void BM_Load(benchmark::State& state) {
  const Scratch& scratch = Scratch::get();
  for (auto _ : state) {
    velt::LoadedDrawing d = velt::loadDrawing(scratch.drawing());
    state.PauseTiming();
    d.data.reset();
    state.ResumeTiming();
  }
  state.counters["MB"] = scratch.megabytes();
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InfoStatistics(benchmark::State& state) {
  const CData& data = *loaded().data;
  for (auto _ : state) benchmark::DoNotOptimize(velt::collectStats(data));
}
BENCHMARK(BM_InfoStatistics)->Unit(benchmark::kMillisecond)->Iterations(3);

void render(benchmark::State& state, const char* name, velt::ImageFormat format) {
  const CData& data = *loaded().data;
  const std::string image = Scratch::get().image(name);
  const velt::RenderOptions options;
  for (auto _ : state) velt::renderDrawing(data, image, format, options);
}

void BM_RenderPng(benchmark::State& state) {
  render(state, "bench.png", velt::ImageFormat::kPng);
}
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_RenderSvg(benchmark::State& state) {
  render(state, "bench.svg", velt::ImageFormat::kSvg);
}
BENCHMARK(BM_RenderSvg)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
