// bench/load_dxf_bench.cpp: loadDXF of a generated AC1009 drawing of about 100 MB (every entity
// kind, hundreds of layers and blocks; see dxf_bench_drawing.h) through CFileStdLib, beside the
// floor any DXF reader pays: a plain fgets + strtol / strtod loop over the same file. Also the
// lexer alone with the conversions a reader asks for, and a load in a fresh process with its
// peak memory, so that nothing else the program holds or has freed is counted.
// VELTCORE_LOAD_DXF_MB sets another size; the file is written once and removed at the end.
// main() also offers whole-process forms of the load and of the floor, for timing from outside.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/geometry/font.h>

#include "bench/dxf_bench_drawing.h"

namespace {

constexpr double kMB = 1024.0 * 1024.0;

long long targetBytes() {
  const char* mb = std::getenv("VELTCORE_LOAD_DXF_MB");
  const long long size = mb != nullptr ? std::atoll(mb) : 100;
  return (size > 0 ? size : 100) * 1024 * 1024;
}

// The generated drawing in the temp directory, removed when the program ends.
class BenchDrawing {
 public:
  BenchDrawing()
      : path_((std::filesystem::temp_directory_path() /
               ("veltcore_load_dxf_bench_" + std::to_string(::getpid()) + ".dxf"))
                  .string()),
        counts_(dxfbench::writeBenchDrawing(path_, targetBytes())) {}
  ~BenchDrawing() { std::remove(path_.c_str()); }
  BenchDrawing(const BenchDrawing&) = delete;
  BenchDrawing& operator=(const BenchDrawing&) = delete;

  const std::string& path() const { return path_; }
  const dxfbench::DrawingFile& counts() const { return counts_; }

 private:
  std::string path_;
  dxfbench::DrawingFile counts_;
};

const BenchDrawing& benchDrawing() {
  static const BenchDrawing drawing;
  return drawing;
}

void reportRates(benchmark::State& state) {
  const dxfbench::DrawingFile& c = benchDrawing().counts();
  state.SetBytesProcessed(state.iterations() * c.bytes);
  state.counters["entities/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * c.entities), benchmark::Counter::kIsRate);
  state.counters["file_MB"] = static_cast<double>(c.bytes) / kMB;
}

bool isRealGroup(long g) {
  return (g >= 10 && g < 60) || (g >= 210 && g < 240) || (g >= 1010 && g < 1060);
}

bool isIntegerGroup(long g) {
  return (g >= 60 && g < 80) || (g >= 90 && g < 100) || (g >= 1060 && g < 1072);
}

// The floor: two fgets per pair, strtol of the group code, strtod or strtol of numeric values
// by group range, strtol base 16 of handles. Gives the pair count; what it computes goes to sum
// so that none of it is skipped. -1 when the file cannot be opened.
long long floorPass(const char* path, double& sum) {
  std::FILE* in = std::fopen(path, "r");
  if (in == nullptr) return -1;
  char line[4096];
  long long pairs = 0;
  while (std::fgets(line, sizeof line, in) != nullptr) {
    const long group = std::strtol(line, nullptr, 10);
    if (std::fgets(line, sizeof line, in) == nullptr) break;
    ++pairs;
    if (isRealGroup(group))
      sum += std::strtod(line, nullptr);
    else if (isIntegerGroup(group))
      sum += static_cast<double>(std::strtol(line, nullptr, 10));
    else if (group == 5)
      sum += static_cast<double>(std::strtol(line, nullptr, 16));
  }
  std::fclose(in);
  return pairs;
}

void BM_FgetsStrtodFloor(benchmark::State& state) {
  const BenchDrawing& d = benchDrawing();
  for (auto _ : state) {
    double sum = 0;
    if (floorPass(d.path().c_str(), sum) != d.counts().pairs)
      state.SkipWithError("pair count differs from the file's");
    benchmark::DoNotOptimize(sum);
  }
  reportRates(state);
}
BENCHMARK(BM_FgetsStrtodFloor)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The byte level of the reader: CFileStdLib and the lexer with the same conversions.
void BM_LexerWithValues(benchmark::State& state) {
  const BenchDrawing& d = benchDrawing();
  for (auto _ : state) {
    CFileStdLib file(d.path().c_str(), IFile::kRead);
    file.open();
    CFileDXFILexer lexer(file);
    double sum = 0;
    long long pairs = 0;
    try {
      for (;;) {
        const long group = lexer.read();
        ++pairs;
        if (lexer.getString().c_str()[0] == '\0') continue;
        if (isRealGroup(group))
          sum += lexer.getDouble();
        else if (isIntegerGroup(group))
          sum += static_cast<double>(lexer.getInt());
        else if (group == 5)
          sum += static_cast<double>(lexer.getHex());
      }
    } catch (const IFile::IFileEOF&) {
    }
    file.close();
    if (pairs != d.counts().pairs) state.SkipWithError("pair count differs from the file's");
    benchmark::DoNotOptimize(sum);
  }
  reportRates(state);
}
BENCHMARK(BM_LexerWithValues)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The whole load into a new drawing; deleting the drawing is not timed. Counts what the
// drawing holds afterwards, which grows as entity readers arrive.
void BM_LoadDXF(benchmark::State& state) {
  const BenchDrawing& d = benchDrawing();
  dxfbench::registerBenchFont();
  std::size_t loaded = 0;
  for (auto _ : state) {
    CData* drawing = CDataFactory().createData();
    CFileStdLib file(d.path().c_str(), IFile::kRead);
    try {
      loadDXF(*drawing, file);
    } catch (const CFileDXFIParser::FileDXFException& e) {
      state.SkipWithError(("load failed at line " + std::to_string(e.getErrorLine()) + ": " +
                           e.getErrorMessage().c_str())
                              .c_str());
    }
    state.PauseTiming();
    loaded = drawing->getEntTable().getEntityTbl().size();
    deleteData(drawing);
    state.ResumeTiming();
  }
  reportRates(state);
  state.counters["drawing_entities"] = static_cast<double>(loaded);
  state.counters["file_entities"] = static_cast<double>(d.counts().topLevel);
}
BENCHMARK(BM_LoadDXF)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Deleting the loaded drawing: every entity's tables and handle released in list order, as a
// host that closes a drawing does. The load is not timed.
void BM_DeleteLoadedDrawing(benchmark::State& state) {
  const BenchDrawing& d = benchDrawing();
  dxfbench::registerBenchFont();
  for (auto _ : state) {
    state.PauseTiming();
    CData* drawing = CDataFactory().createData();
    CFileStdLib file(d.path().c_str(), IFile::kRead);
    try {
      loadDXF(*drawing, file);
    } catch (const CFileDXFIParser::FileDXFException&) {
      state.SkipWithError("load failed");
    }
    state.ResumeTiming();
    deleteData(drawing);
  }
  state.counters["file_MB"] = static_cast<double>(d.counts().bytes) / kMB;
}
BENCHMARK(BM_DeleteLoadedDrawing)->Unit(benchmark::kMillisecond)->Iterations(5);

long residentKB() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  return 0;
}

constexpr const char* kChildOption = "--load-once";

// One child's report: resident size before the load and peak, in kB, and the load's seconds.
struct ChildLoad {
  long residentKB = 0;
  long peakKB = 0;
  double seconds = 0;
};

// The child's part: one load of path in a fresh process, its figures printed to stdout.
int loadOnceAndReport(const char* path) {
  dxfbench::registerBenchFont();
  ChildLoad r;
  r.residentKB = residentKB();
  const auto start = std::chrono::steady_clock::now();
  CData* drawing = CDataFactory().createData();
  CFileStdLib file(path, IFile::kRead);
  try {
    loadDXF(*drawing, file);
  } catch (const CFileDXFIParser::FileDXFException&) {
    return 1;
  }
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  r.peakKB = usage.ru_maxrss;
  std::printf("%ld %ld %.6f\n", r.residentKB, r.peakKB, r.seconds);
  return 0;
}

// Runs this program with kChildOption on path and reads what it prints.
bool runChild(const std::string& path, ChildLoad& r) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    ::execl("/proc/self/exe", "load_dxf_bench", kChildOption, path.c_str(), nullptr);
    ::_exit(127);
  }
  ::close(fds[1]);
  char text[128] = {};
  const ssize_t n = child > 0 ? ::read(fds[0], text, sizeof text - 1) : -1;
  ::close(fds[0]);
  int status = -1;
  if (child > 0) ::waitpid(child, &status, 0);
  return n > 0 && std::sscanf(text, "%ld %ld %lf", &r.residentKB, &r.peakKB, &r.seconds) == 3 &&
         WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The load as a program that reads one drawing meets it: in a new process (this program run
// with kChildOption), with a heap that no earlier load has grown, and its peak memory. The
// time is the child's load alone, without starting the process.
void BM_LoadDXFFreshProcess(benchmark::State& state) {
  const BenchDrawing& d = benchDrawing();
  long peakKB = 0, residentKBBefore = 0;
  for (auto _ : state) {
    ChildLoad r;
    if (!runChild(d.path(), r)) {
      state.SkipWithError("the child's load failed");
      break;
    }
    state.SetIterationTime(r.seconds);
    peakKB = std::max(peakKB, r.peakKB);
    residentKBBefore = r.residentKB;
  }
  reportRates(state);
  const double fileMB = static_cast<double>(d.counts().bytes) / kMB;
  state.counters["rss_before_MB"] = static_cast<double>(residentKBBefore) / 1024.0;
  state.counters["peak_rss_MB"] = static_cast<double>(peakKB) / 1024.0;
  state.counters["peak_per_file"] = static_cast<double>(peakKB) / 1024.0 / fileMB;
}
BENCHMARK(BM_LoadDXFFreshProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

// Whole-process forms, for timing from outside (farm-bench) against each other:
//   --write-drawing PATH [MB]  writes the generated drawing (100 MB unless MB is given);
//   --load-once PATH           loads it once (also the child of BM_LoadDXFFreshProcess);
//   --floor-once PATH          runs the fgets + strtol / strtod floor over it once.
// Without these, the benchmarks.
int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kChildOption) == 0) return loadOnceAndReport(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--floor-once") == 0) {
    double sum = 0;
    const long long pairs = floorPass(argv[2], sum);
    std::printf("%lld pairs (%g)\n", pairs, sum);
    return pairs < 0 ? 1 : 0;
  }
  if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--write-drawing") == 0) {
    const long long mb = argc == 4 ? std::atoll(argv[3]) : 100;
    const dxfbench::DrawingFile c = dxfbench::writeBenchDrawing(argv[2], (mb > 0 ? mb : 100) << 20);
    std::printf("%lld bytes, %lld entity records, %lld in the drawing\n", c.bytes, c.entities,
                c.topLevel);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
