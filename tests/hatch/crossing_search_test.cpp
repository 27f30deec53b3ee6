// tests/hatch/crossing_search_test.cpp: the indexed crossing search that createHatch uses
// against the plain search over every segment, on thousands of generated boundaries and every
// catalogue pattern: the entity lists must be identical, bit for bit and in order, and so must
// the failure notices.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>

#include "database/test_drawing.h"
#include "hatch/generator.h"
#include "hatch/hatch_support.h"

namespace {

using veltcore::hatch::CrossingSearchKind;

constexpr double kPi = 3.141592653589793;

// Boundaries of three kinds: integer grids hatched at right angles (edges on hatch lines,
// hatch lines through vertices), the same with round holes, and arbitrary coordinates at
// arbitrary angles.
class BoundaryMaker {
 public:
  explicit BoundaryMaker(std::uint64_t seed) : rng_(seed) {}

  // A star-shaped outer ring with holes chained in by bridges walked out and back.
  std::vector<PNT_3D> make(bool grid) {
    const std::vector<PNT_3D> outer = star(grid, 10, 10, 3, 10);
    int holes = pick(0, 3);
    const auto at = outer.begin() + pick(0, static_cast<int>(outer.size()) - 1);
    std::vector<PNT_3D> pts(outer.begin(), at + 1);
    for (; holes > 0; --holes) {
      std::vector<PNT_3D> hole;
      const double cx = grid ? pick(4, 16) : real(4, 16), cy = grid ? pick(4, 16) : real(4, 16);
      if (pick(0, 2) == 0) {
        hatch_add_circle(PNT_3D(cx, cy, 0.5), grid ? pick(1, 3) : real(0.5, 3), hole);
      } else {
        hole = star(grid, cx, cy, 1, 3);
        hole.push_back(hole.front());
      }
      pts.insert(pts.end(), hole.begin(), hole.end());
      pts.push_back(hole.front());  // back along the bridge
      pts.push_back(*at);
    }
    pts.insert(pts.end(), at + 1, outer.end());
    return pts;
  }

  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

 private:
  std::mt19937_64 rng_;

  // Vertices at increasing angles about (cx, cy), radii from rMin to rMax.
  std::vector<PNT_3D> star(bool grid, double cx, double cy, double rMin, double rMax) {
    std::vector<PNT_3D> pts;
    for (int i = 0, n = pick(3, 12); i < n; ++i) {
      const double a = 2 * kPi * (i + real(0, 0.8)) / n, r = real(rMin, rMax);
      const double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
      pts.emplace_back(grid ? std::round(x) : x, grid ? std::round(y) : y, 0.5);
    }
    return pts;
  }
};

// The block's entities as words (type, then the six coordinates' bits) and the notices told.
struct Outcome {
  std::vector<std::uint64_t> bits;
  int failures;
};

Outcome run(CrossingSearchKind kind, CData& d, const FailureCounter& counter, long pattern,
            double scale, double angle, const std::vector<PNT_3D>& boundary) {
  const int before = counter.calls();
  const BlockPtr b(veltcore::hatch::generateHatch(
      kind, "*PAT1", *getHatch(pattern), scale, angle, boundary, d.getBlockFactory(),
      d.getHandleGestor(), d.getEntFactory(), getLayer0(d), getLtypeByBlock(d), 0));
  Outcome o{{}, counter.calls() - before};
  for (const Piece& p : b ? piecesOf(*b) : std::vector<Piece>()) {
    o.bits.push_back(static_cast<std::uint64_t>(p.type));
    for (const double v : {p.a.getX(), p.a.getY(), p.a.getZ(), p.b.getX(), p.b.getY(), p.b.getZ()})
      std::memcpy(&o.bits.emplace_back(), &v, sizeof v);
  }
  return o;
}

TEST(HatchCrossingSearch, IndexedEqualsPlainOnGeneratedBoundaries) {
  const DataPtr d = newDrawing(false);
  FailureCounter counter;
  BoundaryMaker maker(20240611);
  const double rightAngles[] = {0, kPi / 2, kPi, 3 * kPi / 2};
  std::size_t entities = 0;
  int failed = 0;
  for (int n = 0; n < 3000; ++n) {
    const long pattern = n % kNoHatchTypes;
    const bool grid = n % 3 != 2;
    const std::vector<PNT_3D> boundary = maker.make(grid);
    // On grids, 8 or 4 mm per pattern unit puts most patterns' lines on whole or half units.
    const double scale = grid ? scaleGiving(maker.pick(0, 1) ? 8 : 4) : maker.real(0.1, 1);
    const double angle = grid ? rightAngles[maker.pick(0, 3)] : maker.real(-7, 7);
    const Outcome plain =
        run(CrossingSearchKind::kPlain, *d, counter, pattern, scale, angle, boundary);
    const Outcome indexed =
        run(CrossingSearchKind::kIndexed, *d, counter, pattern, scale, angle, boundary);
    ASSERT_EQ(indexed.bits, plain.bits) << "case " << n << ", pattern " << pattern;
    ASSERT_EQ(indexed.failures, plain.failures) << "case " << n;
    entities += plain.bits.size() / 7;
    failed += plain.failures;
  }
  // The cases must reach the hard spots: many entities, and lines through vertices and along
  // edges that end in odd counts.
  EXPECT_GT(entities, 100000u);
  EXPECT_GT(failed, 10);
}

}  // namespace
