// bench/save_dxf_bench.cpp: SaveDXF of the load benchmark's generated drawing (about 100 MB, see
// dxf_bench_drawing.h), loaded once with loadDXF, beside the floor any DXF writer pays: the same
// pairs formatted with snprintf ("%3d", "%.6f", "%d", "%X", "%s") and written with fputs.
// The floor's pairs are read once from the saved file, so it writes exactly what SaveDXF wrote,
// whatever entity kinds the writer knows at the time; the figures say how much that was.
// VELTCORE_SAVE_DXF_MB sets another size; every file is in the temp directory, removed at the end.
// main() also offers whole-process forms of the save and of the floor, for timing from outside.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/out/saver.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/geometry/font.h>

#include "bench/dxf_bench_drawing.h"

namespace {

constexpr double kMB = 1024.0 * 1024.0;

long long targetBytes() {
  const char* mb = std::getenv("VELTCORE_SAVE_DXF_MB");
  const long long size = mb != nullptr ? std::atoll(mb) : 100;
  return (size > 0 ? size : 100) * 1024 * 1024;
}

std::string tempPath(const char* what) {
  return (std::filesystem::temp_directory_path() /
          ("veltcore_save_dxf_bench_" + std::to_string(::getpid()) + "_" + what + ".dxf"))
      .string();
}

// ---- The pairs of a saved file, as the floor formats them -------------------------------

// How the writer formatted a value, told from its group code and its text.
enum class Kind : unsigned char { Real, Integer, Hex, Text };

struct Pair {
  int code;
  Kind kind;
  long integer;      // Integer and Hex
  double real;       // Real
  std::size_t text;  // Text: offset of its NUL-terminated bytes in SavedPairs::texts
};

struct SavedPairs {
  std::vector<Pair> pairs;
  std::vector<char> texts;
};

bool isNumericGroup(long g) {
  return (g >= 10 && g < 80) || (g >= 90 && g < 100) || (g >= 210 && g < 240) ||
         (g >= 1010 && g < 1072);
}

// A numeric group's value is a real when the writer put a point in it: the hatch data
// writes some integers under real group codes.
Pair pairOf(long code, const std::string& value, std::vector<char>& texts) {
  Pair p{static_cast<int>(code), Kind::Text, 0, 0.0, 0};
  if (code == 5) {
    p.kind = Kind::Hex;
    p.integer = static_cast<long>(std::strtoul(value.c_str(), nullptr, 16));
  } else if (isNumericGroup(code) && value.find('.') != std::string::npos) {
    p.kind = Kind::Real;
    p.real = std::strtod(value.c_str(), nullptr);
  } else if (isNumericGroup(code)) {
    p.kind = Kind::Integer;
    p.integer = std::strtol(value.c_str(), nullptr, 10);
  } else {
    p.text = texts.size();
    texts.insert(texts.end(), value.begin(), value.end());
    texts.push_back('\0');
  }
  return p;
}

// Every pair of the file at path; false when it cannot be read or a line is not a pair.
bool readPairs(const std::string& path, SavedPairs& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string code, value;
  while (std::getline(in, code)) {
    if (!std::getline(in, value)) return false;
    char* end = nullptr;
    const long g = std::strtol(code.c_str(), &end, 10);
    if (end == code.c_str()) return false;
    out.pairs.push_back(pairOf(g, value, out.texts));
  }
  return true;
}

// The floor: each line formatted with snprintf into a stack buffer and written with fputs, as
// a plain writer over the C streams does. False when the output cannot be written.
bool floorPass(const SavedPairs& saved, const char* path) {
  std::FILE* out = std::fopen(path, "w");
  if (out == nullptr) return false;
  char line[1024];
  bool ok = true;
  for (const Pair& p : saved.pairs) {
    std::snprintf(line, sizeof line, "%3d\n", p.code);
    ok &= std::fputs(line, out) >= 0;
    switch (p.kind) {
      case Kind::Real:
        std::snprintf(line, sizeof line, "%.6f\n", p.real);
        break;
      case Kind::Integer:
        std::snprintf(line, sizeof line, "%d\n", static_cast<int>(p.integer));
        break;
      case Kind::Hex:
        std::snprintf(line, sizeof line, "%X\n", static_cast<unsigned>(p.integer));
        break;
      case Kind::Text:
        std::snprintf(line, sizeof line, "%s\n", saved.texts.data() + p.text);
        break;
    }
    ok &= std::fputs(line, out) >= 0;
  }
  return std::fclose(out) == 0 && ok;
}

// ---- The drawing, loaded once, and its saved file ---------------------------------------

CData* loadDrawing(const std::string& path) {
  dxfbench::registerBenchFont();
  CData* drawing = CDataFactory().createData();
  CFileStdLib file(path.c_str(), IFile::kRead);
  try {
    loadDXF(*drawing, file);
  } catch (const CFileDXFIParser::FileDXFException& e) {
    std::fprintf(stderr, "%s: load failed at line %ld: %s\n", path.c_str(),
                 static_cast<long>(e.getErrorLine()), e.getErrorMessage().c_str());
    deleteData(drawing);
    return nullptr;
  }
  return drawing;
}

// False when the file cannot be written.
bool saveDrawing(const CData& drawing, const std::string& path) {
  CFileStdLib file(path.c_str(), IFile::kWrite);
  try {
    SaveDXF(drawing, file, 0);
  } catch (const IFile::IFileException&) {
    return false;
  }
  return true;
}

std::string contentsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Entity records among the pairs: every 0 pair but the section, block and end markers
// (vertices and attributes count, as in the generated file; SEQEND does not).
long long entityRecords(const SavedPairs& saved) {
  static const char* const kNotEntities[] = {"SECTION", "ENDSEC", "TABLE",  "ENDTAB",
                                             "BLOCK",   "ENDBLK", "SEQEND", "EOF",
                                             "LTYPE",   "LAYER",  "STYLE"};
  long long n = 0;
  for (const Pair& p : saved.pairs) {
    if (p.code != 0) continue;
    const char* name = saved.texts.data() + p.text;
    bool entity = true;
    for (const char* other : kNotEntities) entity &= std::strcmp(name, other) != 0;
    n += entity ? 1 : 0;
  }
  return n;
}

// The generated file, the drawing loaded from it, the first save and its pairs, all made
// once; the files are removed when the program ends.
class Fixture {
 public:
  Fixture() : source_(tempPath("source")), saved_(tempPath("saved")), out_(tempPath("out")) {
    generated_ = dxfbench::writeBenchDrawing(source_, targetBytes());
    drawing_ = loadDrawing(source_);
    if (drawing_ == nullptr || !saveDrawing(*drawing_, saved_) || !readPairs(saved_, pairs_)) {
      error_ = "the drawing could not be loaded, saved and read back";
      return;
    }
    savedBytes_ = static_cast<long long>(std::filesystem::file_size(saved_));
    savedEntities_ = entityRecords(pairs_);
    // The floor must write the very bytes SaveDXF wrote, or it measures something else.
    if (!floorPass(pairs_, out_.c_str()) || contentsOf(out_) != contentsOf(saved_))
      error_ = "the floor's output differs from SaveDXF's";
  }
  ~Fixture() {
    if (drawing_ != nullptr) deleteData(drawing_);
    std::remove(source_.c_str());
    std::remove(saved_.c_str());
    std::remove(out_.c_str());
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  const char* error() const { return error_.empty() ? nullptr : error_.c_str(); }
  const CData& drawing() const { return *drawing_; }
  const SavedPairs& pairs() const { return pairs_; }
  const std::string& outPath() const { return out_; }

  void reportRates(benchmark::State& state) const {
    state.SetBytesProcessed(state.iterations() * savedBytes_);
    state.counters["entities/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * savedEntities_), benchmark::Counter::kIsRate);
    state.counters["saved_MB"] = static_cast<double>(savedBytes_) / kMB;
    state.counters["saved_entities"] = static_cast<double>(savedEntities_);
    state.counters["pairs"] = static_cast<double>(pairs_.pairs.size());
    state.counters["drawing_entities"] =
        static_cast<double>(drawing_->getEntTable().getEntityTbl().size());
    state.counters["source_entities"] = static_cast<double>(generated_.entities);
  }

 private:
  std::string source_, saved_, out_;
  dxfbench::DrawingFile generated_;
  CData* drawing_ = nullptr;
  SavedPairs pairs_;
  long long savedBytes_ = 0;
  long long savedEntities_ = 0;
  std::string error_;
};

const Fixture& fixture() {
  static const Fixture f;
  return f;
}

void BM_SaveDXF(benchmark::State& state) {
  const Fixture& f = fixture();
  if (f.error() != nullptr) {
    state.SkipWithError(f.error());
    return;
  }
  for (auto _ : state)
    if (!saveDrawing(f.drawing(), f.outPath())) state.SkipWithError("the save failed");
  f.reportRates(state);
}
BENCHMARK(BM_SaveDXF)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_SnprintfFputsFloor(benchmark::State& state) {
  const Fixture& f = fixture();
  if (f.error() != nullptr) {
    state.SkipWithError(f.error());
    return;
  }
  for (auto _ : state)
    if (!floorPass(f.pairs(), f.outPath().c_str())) state.SkipWithError("the floor failed");
  f.reportRates(state);
}
BENCHMARK(BM_SnprintfFputsFloor)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// ---- Whole-process forms ----------------------------------------------------------------

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int saveOnce(const char* in, const char* out, bool save) {
  const auto start = std::chrono::steady_clock::now();
  CData* drawing = loadDrawing(in);
  if (drawing == nullptr) return 1;
  const double loaded = secondsSince(start);
  const auto saveStart = std::chrono::steady_clock::now();
  const bool ok = !save || saveDrawing(*drawing, out);
  const double saved = secondsSince(saveStart);
  const std::size_t entities = drawing->getEntTable().getEntityTbl().size();
  // Deleted in both forms, so that the save is all that one adds to the other.
  deleteData(drawing);
  if (!ok) return 1;
  std::printf("%zu entities, load %.3f s, save %.3f s\n", entities, loaded, save ? saved : 0.0);
  return 0;
}

int floorOnce(const char* saved, const char* out, bool write) {
  const auto start = std::chrono::steady_clock::now();
  SavedPairs pairs;
  if (!readPairs(saved, pairs)) return 1;
  const double read = secondsSince(start);
  const auto floorStart = std::chrono::steady_clock::now();
  if (write && !floorPass(pairs, out)) return 1;
  std::printf("%zu pairs, read %.3f s, floor %.3f s\n", pairs.pairs.size(), read,
              write ? secondsSince(floorStart) : 0.0);
  return 0;
}

}  // namespace

// Whole-process forms, for timing from outside (farm-bench) against each other:
//   --write-drawing PATH [MB]     writes the generated drawing (100 MB unless MB is given);
//   --save-once PATH_IN PATH_OUT  loads PATH_IN and saves it to PATH_OUT with SaveDXF;
//   --load-once PATH_IN           the same load without the save (what --save-once adds to);
//   --floor-once SAVED PATH_OUT   reads the pairs of a saved file and writes them with the floor;
//   --pairs-once SAVED            the same read without the floor (what --floor-once adds to).
// Each prints its own split of the time. Without these, the benchmarks.
int main(int argc, char** argv) {
  const auto is = [&](int n, const char* option) {
    return argc == n && std::strcmp(argv[1], option) == 0;
  };
  if (is(4, "--save-once")) return saveOnce(argv[2], argv[3], true);
  if (is(3, "--load-once")) return saveOnce(argv[2], nullptr, false);
  if (is(4, "--floor-once")) return floorOnce(argv[2], argv[3], true);
  if (is(3, "--pairs-once")) return floorOnce(argv[2], nullptr, false);
  if (is(3, "--write-drawing") || is(4, "--write-drawing")) {
    const long long mb = argc == 4 ? std::atoll(argv[3]) : 100;
    const dxfbench::DrawingFile c = dxfbench::writeBenchDrawing(argv[2], (mb > 0 ? mb : 100) << 20);
    std::printf("%lld bytes, %lld entity records\n", c.bytes, c.entities);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
