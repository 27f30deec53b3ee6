// tests/hatch/hatch_support.h: what the hatch tests share: the entities of a generated block as
// plain records, a block owner, the scale that gives an exact pattern unit, and a failure
// handler that counts its calls instead of writing to standard error.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/database/block.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/hatch/pattern.h>

using BlockPtr = std::unique_ptr<CBlock>;

// One entity of a hatch block: a line from a to b (type 2) or a point at a (type 1, b = a).
struct Piece {
  short type;
  PNT_3D a;
  PNT_3D b;
  bool operator==(const Piece& o) const { return type == o.type && a == o.a && b == o.b; }
};

inline std::vector<Piece> piecesOf(const CBlock& block) {
  std::vector<Piece> out;
  for (int i = 0; i < block.size(); ++i) {
    const CEnt* e = block[i];
    if (e->getType() == 2) {
      const LINE_3D& l = static_cast<const CEntLine*>(e)->getLine();
      out.push_back({2, l.start, l.end});
    } else {
      const PNT_3D& p = static_cast<const CEntPnt*>(e)->getPnt();
      out.push_back({e->getType(), p, p});
    }
  }
  return out;
}

// The scale at which one pattern unit is exactly mm drawing units (scale * 25.4 == mm), so
// that hand-computed positions are exact doubles.
inline double scaleGiving(double mm) {
  double scale = mm / 25.4;
  for (int i = 0; i < 4 && scale * 25.4 != mm; ++i)
    scale = std::nextafter(scale, scale * 25.4 < mm ? 2 * scale : 0.0);
  return scale;
}

// Installs itself as the failure handler for its lifetime; counts the notices and keeps the
// last one as "title: text".
class FailureCounter {
 public:
  FailureCounter() : previous_(setHatchFailureHandler(&record)) { calls_ = 0; }
  ~FailureCounter() { setHatchFailureHandler(previous_); }
  FailureCounter(const FailureCounter&) = delete;
  FailureCounter& operator=(const FailureCounter&) = delete;

  int calls() const { return calls_; }
  const std::string& last() const { return last_; }

 private:
  static inline int calls_ = 0;
  static inline std::string last_;
  HatchFailureHandler previous_;

  static void record(const char* title, const char* text) {
    ++calls_;
    last_ = std::string(title) + ": " + text;
  }
};
