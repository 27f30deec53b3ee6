// bench/lexer_bench.cpp: the DXF lexer's reading speed through CFileStdLib, in pairs and bytes
// per second, beside the floor every line reader pays: a plain fgets + atoi loop over the same
// file. The file (about 40 MB of entity pairs) is written once to the temp directory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/in/lexer.h>

namespace {

constexpr long kRecords = 250000;

// A DXF-like file: blank-padded group codes, names, handles and coordinates, as a writer
// produces them for lines, circles and texts. Removed when the program ends.
class BenchFile {
 public:
  BenchFile() {
    path_ = (std::filesystem::temp_directory_path() /
             ("veltcore_lexer_bench_" + std::to_string(::getpid()) + ".dxf"))
                .string();
    std::FILE* out = std::fopen(path_.c_str(), "w");
    if (out == nullptr) std::abort();
    std::fputs("  0\nSECTION\n  2\nENTITIES\n", out);
    pairs_ = 2;
    for (long i = 0; i < kRecords; ++i) {
      const double x = static_cast<double>(i) * 0.125;
      std::fprintf(out,
                   "  0\nLINE\n  5\n%lX\n  8\nWALLS\n  6\nDASHED\n 62\n%ld\n"
                   " 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 11\n%.6f\n 21\n%.6f\n 31\n0.0\n",
                   static_cast<unsigned long>(i + 32), i % 255 + 1, x, -x, x + 1000.5, x * 3);
      std::fprintf(out,
                   "  0\nCIRCLE\n  5\n%lX\n  8\n0\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n%.6f\n",
                   static_cast<unsigned long>(i + 1000000), x, x / 3, 1.0 + x / 7);
      std::fprintf(out,
                   "  0\nTEXT\n  5\n%lX\n  8\nNOTES\n 10\n%.6f\n 20\n%.6f\n 40\n2.5\n"
                   "  1\nRoom number %ld on the ground floor\n  7\nSTANDARD\n 72\n1\n",
                   static_cast<unsigned long>(i + 2000000), x, x, i);
      pairs_ += 11 + 7 + 9;
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", out);
    pairs_ += 2;
    std::fclose(out);
    bytes_ = static_cast<long>(std::filesystem::file_size(path_));
  }
  ~BenchFile() { std::remove(path_.c_str()); }

  const std::string& path() const { return path_; }
  long pairs() const { return pairs_; }
  long bytes() const { return bytes_; }

 private:
  std::string path_;
  long pairs_ = 0;
  long bytes_ = 0;
};

const BenchFile& benchFile() {
  static const BenchFile file;
  return file;
}

void report(benchmark::State& state, long pairs) {
  const BenchFile& f = benchFile();
  if (pairs != f.pairs()) state.SkipWithError("pair count differs from the file's");
  state.SetItemsProcessed(state.iterations() * f.pairs());
  state.SetBytesProcessed(state.iterations() * f.bytes());
}

// The floor: two fgets per pair and atoi of the group code, nothing else.
void BM_FgetsAtoiFloor(benchmark::State& state) {
  const BenchFile& f = benchFile();
  long pairs = 0;
  for (auto _ : state) {
    std::FILE* in = std::fopen(f.path().c_str(), "r");
    char line[4096];
    long groups = 0;
    pairs = 0;
    while (std::fgets(line, sizeof line, in) != nullptr) {
      groups += std::atoi(line);
      if (std::fgets(line, sizeof line, in) == nullptr) break;
      ++pairs;
    }
    std::fclose(in);
    benchmark::DoNotOptimize(groups);
  }
  report(state, pairs);
}
BENCHMARK(BM_FgetsAtoiFloor)->Unit(benchmark::kMillisecond);

// The lexer through CFileStdLib up to the end of the file.
void BM_LexerStdLib(benchmark::State& state) {
  const BenchFile& f = benchFile();
  long pairs = 0;
  for (auto _ : state) {
    CFileStdLib file(f.path().c_str(), IFile::kRead);
    file.open();
    CFileDXFILexer lexer(file);
    long groups = 0;
    pairs = 0;
    try {
      for (;;) {
        groups += lexer.read();
        ++pairs;
      }
    } catch (const IFile::IFileEOF&) {
    }
    file.close();
    benchmark::DoNotOptimize(groups);
  }
  report(state, pairs);
}
BENCHMARK(BM_LexerStdLib)->Unit(benchmark::kMillisecond);

// The lexer with the value conversions a reader asks for on most pairs.
void BM_LexerStdLibWithValues(benchmark::State& state) {
  const BenchFile& f = benchFile();
  long pairs = 0;
  for (auto _ : state) {
    CFileStdLib file(f.path().c_str(), IFile::kRead);
    file.open();
    CFileDXFILexer lexer(file);
    double sum = 0;
    pairs = 0;
    try {
      for (;;) {
        const long group = lexer.read();
        ++pairs;
        if (group == 5)
          sum += static_cast<double>(lexer.getHex());
        else if (group >= 10 && group < 60)
          sum += lexer.getDouble();
        else if (group >= 60 && group < 80)
          sum += static_cast<double>(lexer.getInt());
        else
          sum += lexer.getString().c_str()[0];
      }
    } catch (const IFile::IFileEOF&) {
    }
    file.close();
    benchmark::DoNotOptimize(sum);
  }
  report(state, pairs);
}
BENCHMARK(BM_LexerStdLibWithValues)->Unit(benchmark::kMillisecond);

}  // namespace
