// bench/ltype_loader_bench.cpp: CLtypeLoader reading and writing a generated library of 100,000
// linetype definitions (2 to 12 length dashes each, every fifth with one or two text dashes on
// two styles, a comment every hundred), in definitions and bytes per second, beside the floor any
// line reader pays: fgets over the same file. Load is timed into a new loader and into one that
// holds the library already, which Load empties first. Files are in the temp directory, removed at
// the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <veltcore/database/style.h>
#include <veltcore/linetypes/ltype_loader.h>

namespace {

constexpr int kDefinitions = 100000;

std::string tempPath(const char* what) {
  return (std::filesystem::temp_directory_path() /
          ("veltcore_ltype_bench_" + std::to_string(::getpid()) + "_" + what + ".lin"))
      .string();
}

// The generated library, written once; removed when the program ends.
class BenchLibrary {
 public:
  BenchLibrary() : path_(tempPath("library")) {
    std::FILE* out = std::fopen(path_.c_str(), "w");
    if (out == nullptr) std::abort();
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
      seed = seed * 1103515245u + 12345u;
      return (seed >> 16) % n;
    };
    for (int i = 0; i < kDefinitions; ++i) {
      if (i % 100 == 0) std::fprintf(out, ";; group %d\n", i / 100);
      std::fprintf(out, "*LT%06d,Generated linetype %d __ . __\nA,%.4f", i, i,
                   0.05 + next(1000) / 400.0);
      const unsigned dashes = 1 + next(11);
      for (unsigned d = 0; d < dashes; ++d) {
        if (i % 5 == 0 && d % 6 == 2)
          std::fprintf(out, ",[\"T%u\",%s,S=%.2f,R=%u,X=-0.1,Y=-.05]", next(100),
                       i % 10 == 0 ? "STANDARD" : "ROMANS", 0.1 + next(10) / 10.0, next(360));
        else
          std::fprintf(out, ",%.4f", (d % 2 == 0 ? -1.0 : 1.0) * next(1000) / 400.0);
      }
      std::fputc('\n', out);
    }
    std::fclose(out);
    bytes_ = static_cast<long>(std::filesystem::file_size(path_));
  }
  ~BenchLibrary() { std::remove(path_.c_str()); }

  const std::string& path() const { return path_; }
  long bytes() const { return bytes_; }

 private:
  std::string path_;
  long bytes_ = 0;
};

const BenchLibrary& library() {
  static const BenchLibrary lib;
  return lib;
}

// The loader's setting: the standard style and one more.
struct Setting {
  Setting() { styles.add(CStyleFactory().create("ROMANS", nullptr, 0.0, 1.0, 0.0, 2.5, 0)); }
  CStyleTable styles;
  CLtypeFactory factory;
};

void report(benchmark::State& state, long bytes) {
  state.SetItemsProcessed(state.iterations() * kDefinitions);
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The floor: every line through fgets into a buffer of the loader's size, nothing else.
void BM_FgetsFloor(benchmark::State& state) {
  const BenchLibrary& lib = library();
  char line[CLtypeLoader::CFileLtypeLexer::kLineSize];
  long lines = 0;
  for (auto _ : state) {
    std::FILE* in = std::fopen(lib.path().c_str(), "r");
    while (std::fgets(line, sizeof line, in) != nullptr) ++lines;
    std::fclose(in);
  }
  benchmark::DoNotOptimize(lines);
  report(state, lib.bytes());
}

// Into a new loader each time; destroying it is not timed.
void BM_LtypeLoad(benchmark::State& state) {
  const BenchLibrary& lib = library();
  Setting setting;
  for (auto _ : state) {
    auto loader = std::make_unique<CLtypeLoader>(setting.styles, setting.factory);
    if (loader->Load(lib.path().c_str()) != 0 || loader->GetNoLtype() != kDefinitions)
      state.SkipWithError("the library did not load whole");
    state.PauseTiming();
    loader.reset();
    state.ResumeTiming();
  }
  report(state, lib.bytes());
}

// Into the same loader each time: every Load first destroys the 100,000 linetypes it holds.
void BM_LtypeReload(benchmark::State& state) {
  const BenchLibrary& lib = library();
  Setting setting;
  CLtypeLoader loader(setting.styles, setting.factory);
  for (auto _ : state) {
    if (loader.Load(lib.path().c_str()) != 0 || loader.GetNoLtype() != kDefinitions)
      state.SkipWithError("the library did not load whole");
  }
  report(state, lib.bytes());
}

void BM_LtypeSave(benchmark::State& state) {
  const BenchLibrary& lib = library();
  Setting setting;
  CLtypeLoader loader(setting.styles, setting.factory);
  if (loader.Load(lib.path().c_str()) != 0) state.SkipWithError("the library did not load");
  const std::string out = tempPath("saved");
  for (auto _ : state) loader.Save(out.c_str());
  const long bytes = static_cast<long>(std::filesystem::file_size(out));
  std::remove(out.c_str());
  report(state, bytes);
}

BENCHMARK(BM_FgetsFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LtypeLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LtypeReload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LtypeSave)->Unit(benchmark::kMillisecond);

}  // namespace
