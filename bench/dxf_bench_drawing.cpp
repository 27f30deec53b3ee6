// bench/dxf_bench_drawing.cpp: the generator of the load benchmark's drawing. Values come from a
// fixed-seed splitmix64 sequence and are written with std::to_chars, so the bytes depend on
// nothing but the target size. Reals take the forms DXF writers use: six fixed decimals (the
// common case), short trimmed decimals, whole numbers, shortest round-trip digits and the
// occasional exponent, so that the reader meets its fast and its slow number paths.
#include "bench/dxf_bench_drawing.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <veltcore/geometry/font.h>
#include <string_view>

namespace dxfbench {
namespace {

class Rng {
 public:
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n).
  long below(long n) { return static_cast<long>(next() % static_cast<std::uint64_t>(n)); }
  // Uniform in [lo, hi).
  double between(double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(next() >> 11) * 0x1.0p-53;
  }
  bool chance(int percent) { return below(100) < percent; }

 private:
  std::uint64_t state_ = 0x5EED0FD0C5ull;
};

// Pairs as AutoCAD lays them out: group codes right-aligned in three columns, LF line ends.
// Buffered in memory and written in large blocks.
class PairWriter {
 public:
  explicit PairWriter(std::FILE* out) : out_(out) { buffer_.reserve(kFlushAt + 4096); }
  ~PairWriter() { flush(); }
  PairWriter(const PairWriter&) = delete;
  PairWriter& operator=(const PairWriter&) = delete;

  void text(int code, std::string_view value) {
    group(code);
    buffer_.append(value);
    endLine();
  }
  void integer(int code, long long value) {
    group(code);
    append(std::to_chars(digits_, digits_ + sizeof digits_, value).ptr);
  }
  void hex(int code, unsigned long value) {
    group(code);
    char* end = std::to_chars(digits_, digits_ + sizeof digits_, value, 16).ptr;
    for (char* p = digits_; p != end; ++p)
      if (*p >= 'a') *p = static_cast<char>(*p - 'a' + 'A');
    append(end);
  }
  // One of the textual forms of value, chosen by form (0 to 99, see formReal).
  void real(int code, double value, long form) {
    group(code);
    append(formReal(value, form));
  }

  long long pairs() const { return pairs_; }
  long long bytes() const { return written_ + static_cast<long long>(buffer_.size()); }

  void flush() {
    if (buffer_.empty()) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) std::abort();
    written_ += static_cast<long long>(buffer_.size());
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;

  std::FILE* out_;
  std::string buffer_;
  char digits_[64];
  long long pairs_ = 0;
  long long written_ = 0;

  void group(int code) {
    if (code < 10)
      buffer_.append("  ");
    else if (code < 100)
      buffer_.push_back(' ');
    append(std::to_chars(digits_, digits_ + sizeof digits_, code).ptr);
    ++pairs_;
  }
  void append(const char* end) {
    buffer_.append(digits_, static_cast<std::size_t>(end - digits_));
    endLine();
  }
  void endLine() {
    buffer_.push_back('\n');
    if (buffer_.size() >= kFlushAt) flush();
  }
  // 70 % six fixed decimals, 12 % up to ten significant digits, 10 % one decimal, 6 % the
  // shortest round-trip digits (up to 17), 2 % scientific with an upper-case exponent.
  char* formReal(double value, long form) {
    char* const end = digits_ + sizeof digits_;
    if (form < 70) return std::to_chars(digits_, end, value, std::chars_format::fixed, 6).ptr;
    if (form < 82) return std::to_chars(digits_, end, value, std::chars_format::general, 10).ptr;
    if (form < 92) return std::to_chars(digits_, end, value, std::chars_format::fixed, 1).ptr;
    if (form < 98) return std::to_chars(digits_, end, value).ptr;
    char* last = std::to_chars(digits_, end, value, std::chars_format::scientific, 9).ptr;
    for (char* p = digits_; p != last; ++p)
      if (*p == 'e') *p = 'E';
    return last;
  }
};

constexpr long kLayerGroups = 8;
constexpr long kLayersPerGroup = 50;
constexpr long kBlocks = 300;
const char* const kLayerPrefixes[kLayerGroups] = {"A-WALL", "A-DOOR", "E-LITE", "M-HVAC",
                                                  "S-COLS", "C-TOPO", "P-PIPE", "X-ANNO"};
const char* const kLinetypes[] = {"DASHED", "CENTER", "HIDDEN", "DOT"};
const char* const kStyles[] = {"STANDARD", "NOTES", "TITLE"};
const char* const kWords[] = {"Room",   "Door",   "Window", "Stair", "Kitchen", "Office",
                              "Level",  "Corr.",  "Store",  "Plant", "North",   "Section",
                              "Detail", "Type A", "DN 120", "H=2.40"};

std::string numbered(const char* prefix, long n) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "-%03ld", n);
  return prefix + std::string(digits);
}

std::string layerName(long i) {
  return numbered(kLayerPrefixes[i / kLayersPerGroup], i % kLayersPerGroup);
}

// Blocks of even number carry two attribute definitions.
std::string blockName(long i) {
  return numbered(i % 2 == 0 ? "TAGGED" : "SYMBOL", i);
}

class DrawingWriter {
 public:
  DrawingWriter(std::FILE* out, DrawingFile& counts) : out_(out), counts_(counts) {}

  void write(long long targetBytes) {
    header();
    tables();
    blocks();
    entities(targetBytes);
    out_.text(0, "EOF");
    out_.flush();
    counts_.pairs = out_.pairs();
    counts_.bytes = out_.bytes();
  }

 private:
  PairWriter out_;
  DrawingFile& counts_;
  Rng rng_;
  unsigned long nextHandle_ = 0x30;
  bool inBlock_ = false;

  void section(const char* name) {
    out_.text(0, "SECTION");
    out_.text(2, name);
  }

  void header() {
    section("HEADER");
    out_.text(9, "$ACADVER");
    out_.text(1, "AC1009");
    out_.text(9, "$LIMMIN");
    out_.real(10, 0.0, 0);
    out_.real(20, 0.0, 0);
    out_.text(9, "$LIMMAX");
    out_.real(10, 100000.0, 0);
    out_.real(20, 80000.0, 0);
    out_.text(9, "$LTSCALE");
    out_.real(40, 50.0, 0);
    out_.text(9, "$CLAYER");
    out_.text(8, layerName(0));
    out_.text(9, "$TEXTSTYLE");
    out_.text(7, "NOTES");
    out_.text(0, "ENDSEC");
  }

  void tables() {
    section("TABLES");
    beginTable("LTYPE", 4);
    for (const char* name : kLinetypes) linetype(name);
    out_.text(0, "ENDTAB");
    beginTable("LAYER", kLayerGroups * kLayersPerGroup);
    for (long i = 0; i < kLayerGroups * kLayersPerGroup; ++i) layer(i);
    out_.text(0, "ENDTAB");
    beginTable("STYLE", 3);
    for (const char* name : kStyles) style(name);
    out_.text(0, "ENDTAB");
    out_.text(0, "ENDSEC");
    counts_.layers = kLayerGroups * kLayersPerGroup;
  }

  void beginTable(const char* name, long count) {
    out_.text(0, "TABLE");
    out_.text(2, name);
    out_.integer(70, count);
  }

  void linetype(const char* name) {
    out_.text(0, "LTYPE");
    out_.text(2, name);
    out_.integer(70, 64);
    out_.text(3, "__ __ __");
    out_.integer(72, 65);
    out_.integer(73, 2);
    out_.real(40, 0.75, 0);
    out_.real(49, 0.5, 0);
    out_.real(49, -0.25, 0);
  }

  void layer(long i) {
    out_.text(0, "LAYER");
    out_.text(2, layerName(i));
    out_.integer(70, 0);
    out_.integer(62, i % 255 + 1);
    out_.text(6, i % 5 == 0 ? kLinetypes[i % 4] : "CONTINUOUS");
  }

  void style(const char* name) {
    out_.text(0, "STYLE");
    out_.text(2, name);
    out_.integer(70, 0);
    out_.real(40, 0.0, 0);
    out_.real(41, 1.0, 0);
    out_.real(50, 0.0, 0);
    out_.integer(71, 0);
    out_.real(42, 2.5, 0);
    out_.text(3, kFontName);
    out_.text(4, "");
  }

  void blocks() {
    section("BLOCKS");
    inBlock_ = true;
    for (long i = 0; i < kBlocks; ++i) block(i);
    inBlock_ = false;
    out_.text(0, "ENDSEC");
    counts_.blocks = kBlocks;
  }

  void block(long i) {
    const bool tagged = i % 2 == 0;
    out_.text(0, "BLOCK");
    out_.text(8, "0");
    out_.text(2, blockName(i));
    out_.integer(70, tagged ? 2 : 0);
    out_.real(10, 0.0, 0);
    out_.real(20, 0.0, 0);
    out_.real(30, 0.0, 0);
    out_.text(3, blockName(i));
    const long shapes = 3 + rng_.below(6);
    for (long k = 0; k < shapes; ++k) shape(rng_.below(4));
    if (tagged) {
      attdef("NUMBER", "Number?", -0.5);
      attdef("NAME", "Name?", -1.0);
    }
    out_.text(0, "ENDBLK");
    out_.text(8, "0");
  }

  void shape(long kind) {
    if (kind == 0)
      line();
    else if (kind == 1)
      arc();
    else if (kind == 2)
      circle();
    else
      polyline();
  }

  void entities(long long targetBytes) {
    section("ENTITIES");
    while (out_.bytes() < targetBytes) {
      ++counts_.topLevel;
      entity(rng_.below(100));
    }
    out_.text(0, "ENDSEC");
  }

  // The mix by percent: lines, circles, arcs, points, faces, texts, polylines, inserts with
  // attributes, plain inserts.
  void entity(long pick) {
    if (pick < 25)
      line();
    else if (pick < 33)
      circle();
    else if (pick < 41)
      arc();
    else if (pick < 46)
      point();
    else if (pick < 50)
      face();
    else if (pick < 65)
      text();
    else if (pick < 80)
      polyline();
    else if (pick < 90)
      insert(true);
    else
      insert(false);
  }

  double coordinate() { return inBlock_ ? rng_.between(-5.0, 5.0) : rng_.between(-5e4, 5e4); }
  void real(int code, double value) { out_.real(code, value, rng_.below(100)); }
  void point3(int code, bool withZ) {
    real(code, coordinate());
    real(code + 10, coordinate());
    if (withZ) real(code + 20, rng_.chance(90) ? 0.0 : rng_.between(-100.0, 100.0));
  }

  // Handle, layer, and now and then a linetype and a colour.
  void common(const char* kind) {
    ++counts_.entities;
    out_.text(0, kind);
    out_.hex(5, nextHandle_++);
    if (inBlock_)
      out_.text(8, "0");
    else
      out_.text(8, layerName(rng_.below(kLayerGroups * kLayersPerGroup)));
    if (rng_.chance(10)) out_.text(6, kLinetypes[rng_.below(4)]);
    if (rng_.chance(20)) out_.integer(62, 1 + rng_.below(255));
  }

  void line() {
    common("LINE");
    point3(10, true);
    point3(11, true);
  }
  void circle() {
    common("CIRCLE");
    point3(10, true);
    real(40, rng_.between(0.1, 500.0));
  }
  void arc() {
    common("ARC");
    point3(10, true);
    real(40, rng_.between(0.1, 500.0));
    real(50, rng_.between(0.0, 360.0));
    real(51, rng_.between(0.0, 360.0));
  }
  void point() {
    common("POINT");
    point3(10, true);
  }
  void face() {
    common("3DFACE");
    for (int corner = 0; corner < 4; ++corner) point3(10 + corner, true);
    if (rng_.chance(30)) out_.integer(70, rng_.below(16));
  }

  std::string phrase() {
    std::string s = kWords[rng_.below(16)];
    const long more = rng_.below(4);
    for (long k = 0; k < more; ++k) s += ' ' + std::string(kWords[rng_.below(16)]);
    return s + ' ' + std::to_string(rng_.below(1000));
  }

  // The groups TEXT, ATTDEF and ATTRIB share, with an aligned text now and then.
  void textGroups(double x, double y) {
    real(10, x);
    real(20, y);
    real(30, 0.0);
    real(40, rng_.between(1.0, 5.0));
    if (rng_.chance(50)) out_.text(7, kStyles[rng_.below(3)]);
    if (rng_.chance(30)) real(50, rng_.between(0.0, 360.0));
    if (rng_.chance(10)) real(41, rng_.between(0.5, 2.0));
    if (rng_.chance(5)) real(51, rng_.between(-30.0, 30.0));
    if (rng_.chance(20)) {
      out_.integer(72, 1 + rng_.below(2));
      real(11, x + 1.0);
      real(21, y);
      real(31, 0.0);
    }
  }

  void text() {
    common("TEXT");
    textGroups(coordinate(), coordinate());
    out_.text(1, phrase());
  }

  void attdef(const char* tag, const char* prompt, double y) {
    common("ATTDEF");
    textGroups(0.0, y);
    out_.text(1, phrase());
    out_.text(3, prompt);
    out_.text(2, tag);
    out_.integer(70, 0);
  }

  void attrib(const char* tag, double x, double y) {
    common("ATTRIB");
    textGroups(x, y);
    out_.text(1, phrase());
    out_.text(2, tag);
    out_.integer(70, 0);
  }

  void seqend() {
    out_.text(0, "SEQEND");
    out_.hex(5, nextHandle_++);
    out_.text(8, "0");
  }

  void polyline() {
    common("POLYLINE");
    out_.integer(66, 1);
    out_.integer(70, rng_.chance(40) ? 1 : 0);
    const bool wide = rng_.chance(30);
    if (wide) {
      real(40, rng_.between(0.0, 2.0));
      real(41, rng_.between(0.0, 2.0));
    }
    const long vertices = 3 + rng_.below(14);
    for (long k = 0; k < vertices; ++k) vertex(wide);
    seqend();
  }

  void vertex(bool wide) {
    common("VERTEX");
    point3(10, true);
    if (wide && rng_.chance(50)) {
      real(40, rng_.between(0.0, 2.0));
      real(41, rng_.between(0.0, 2.0));
    }
    if (rng_.chance(30)) real(42, rng_.between(-1.0, 1.0));
    out_.integer(70, 0);
  }

  void insert(bool withAttributes) {
    const long n = rng_.below(kBlocks / 2) * 2 + (withAttributes ? 0 : 1);
    common("INSERT");
    if (withAttributes) out_.integer(66, 1);
    out_.text(2, blockName(n));
    const double x = coordinate(), y = coordinate();
    real(10, x);
    real(20, y);
    real(30, 0.0);
    if (rng_.chance(40)) {
      const double scale = rng_.between(0.5, 3.0);
      real(41, scale);
      real(42, scale);
      real(43, scale);
    }
    if (rng_.chance(50)) real(50, rng_.between(0.0, 360.0));
    if (!withAttributes) return;
    attrib("NUMBER", x, y - 0.5);
    attrib("NAME", x, y - 1.0);
    seqend();
  }
};

}  // namespace

DrawingFile writeBenchDrawing(const std::string& path, long long targetBytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) std::abort();
  DrawingFile counts;
  DrawingWriter(out, counts).write(targetBytes);
  if (std::fclose(out) != 0) std::abort();
  return counts;
}

namespace {

class BenchFont : public ICADFont {
 public:
  BenchFont() : ICADFont(kFontName) {}
  int getCellHeight() const override { return 10; }
  int getDescent() const override { return 2; }
  void measure(const char* s, bool, bool, bool, int* width, int* top, int* bottom) const override {
    *width = static_cast<int>(std::strlen(s)) * 6;
    *top = 8;
    *bottom = -2;
  }
};

}  // namespace

void registerBenchFont() {
  CFontTable& fonts = CFontTable::getInstance();
  if (fonts.get(kFontName, false) != nullptr) return;
  fonts.add(new BenchFont);
  fonts.setDefault(fonts.get(kFontName, false));
}

}  // namespace dxfbench
