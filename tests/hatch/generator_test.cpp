// tests/hatch/generator_test.cpp: createHatch against hand-computed hatches (continuous, dashed,
// dotted; corners, vertices and edges on hatch lines), the failure notice and its handler, the
// refusals (no block made, no handle booked), the families left out, the dash walk's two ways of
// giving up, and the drawing forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <veltcore/database/block_factory.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>

#include "database/test_drawing.h"
#include "hatch/dash_walk.h"
#include "hatch/hatch_support.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Points from text: "x,y x,y ...", at Z 0.
std::vector<PNT_3D> polygon(const std::string& text) {
  std::vector<PNT_3D> pts;
  std::istringstream in(text);
  double x, y;
  char comma;
  while (in >> x >> comma >> y) pts.emplace_back(x, y, 0);
  return pts;
}

std::vector<PNT_3D> rect(double x0, double y0, double x1, double y1, double z = 0) {
  return {PNT_3D(x0, y0, z), PNT_3D(x1, y0, z), PNT_3D(x1, y1, z), PNT_3D(x0, y1, z)};
}

const std::vector<PNT_3D> kSquare = rect(0, 0, 10, 10);

BlockPtr hatch(CData& d, const char* pattern, double scale, double angle,
               const std::vector<PNT_3D>& boundary) {
  return BlockPtr(createHatch("*PAT1", *getHatch(pattern), scale, angle, boundary, d));
}

// A hatch worked out by hand: the pattern, drawing units per pattern unit (25.4 is scale 1; 1
// keeps every value a binary fraction), the angle, the boundary, and the entities in order:
// "x,y" a point, "x,y>x,y" a line.
struct HandCase {
  const char* what;
  const char* pattern;
  double mmPerUnit, angle;
  const char* boundary;
  const char* entities;
};

const char* const kSquare10 = "0,0 10,0 10,10 0,10";

// LINE and NET at scale 1 are 3.175 apart. MUDST at 1 has one line in its boxes, at y = 0.25,
// with its reference point at x = 0.5: a dash [0.5, 0.75] and dots at 1 and 1.25, every unit.
// DOTS at 1: lines every 0.0625, each shifted by 0.03125 from the one before, a dot every 0.0625.
const HandCase kHandCases[] = {
    // The vertical family starts at line -3, offset -3 * 3.175 = -9.524999999999999; three
    // additions of 3.175 leave 8.9e-16, not 0, so its last line runs at x = -8.9e-16, just
    // outside the square, and meets nothing. Offsets accumulate; they are never k * dy.
    {"NET: horizontal family, then vertical from line -3", "NET", 25.4, 0, kSquare10,
     "0,0>10,0 0,3.175>10,3.175 0,6.35>10,6.35 0,9.525>10,9.525 "
     "9.525,0>9.525,10 6.35,0>6.35,10 3.175,0>3.175,10"},
    {"LINE turned by pi/2 is NET's vertical family", "LINE", 25.4, kPi / 2, kSquare10,
     "9.525,0>9.525,10 6.35,0>6.35,10 3.175,0>3.175,10"},
    {"a line through a convex corner records nothing there", "LINE", 25.4, 0, "5,0 10,5 5,10 0,5",
     "1.825,3.175>8.175,3.175 1.35,6.35>8.65,6.35 4.525,9.525>5.475,9.525"},
    {"a line through a vertex where the boundary crosses records it once", "LINE", 25.4, 0,
     "0,0 10,0 10,10 0,10 -2,6.35",
     "0,0>10,0 -1,3.175>10,3.175 -2,6.35>10,6.35 -0.2602739726027397,9.525>10,9.525"},
    {"an edge on a hatch line between two rising edges (a notch)", "LINE", 25.4, 0,
     "0,0 10,0 10,10 7,10 7,6.35 3,6.35 3,10 0,10",
     "0,0>10,0 0,3.175>10,3.175 0,6.35>3,6.35 7,6.35>10,6.35 0,9.525>3,9.525 7,9.525>10,9.525"},
    {"DASH: dashes cut at both ends, each line's phase from its own reference point", "DASH", 1, 0,
     "0.1875,0.0625 0.6875,0.0625 0.6875,0.3125 0.1875,0.3125",
     ".1875,.125>.25,.125 .375,.125>.5,.125 .625,.125>.6875,.125 .25,.25>.375,.25 .5,.25>.625,.25"},
    {"DOTS: the dots strictly inside, line by line", "DOTS", 1, 0,
     "0.01,0.01 0.2,0.01 0.2,0.14 0.01,0.14",
     ".03125,.0625 .09375,.0625 .15625,.0625 .0625,.125 .125,.125 .1875,.125"},
    {"MUDST: a dot on the entry crossing is drawn", "MUDST", 1, 0,
     "0.25,0.125 2.875,0.125 2.875,0.375 0.25,0.375",
     ".25,.25 .5,.25>.75,.25 1,.25 1.25,.25 1.5,.25>1.75,.25 2,.25 2.25,.25 2.5,.25>2.75,.25"},
    {"MUDST: a dot on an inner exit crossing is not", "MUDST", 1, 0,
     ".125,.125 2.875,.125 2.875,.375 1.5,.375 1.5,.1875 1,.1875 1,.375 .125,.375",
     ".25,.25 .5,.25>.75,.25 1.5,.25>1.75,.25 2,.25 2.25,.25 2.5,.25>2.75,.25"},
    // The walk's gap step never passes the last crossing, so a dot standing on it is drawn.
    {"MUDST: a dot on the last crossing is drawn", "MUDST", 1, 0,
     "0.125,0.125 2.25,0.125 2.25,0.375 0.125,0.375",
     ".25,.25 .5,.25>.75,.25 1,.25 1.25,.25 1.5,.25>1.75,.25 2,.25 2.25,.25"},
    {"MUDST: dashes cut by crossings inside them", "MUDST", 1, 0,
     "0.625,0.125 2.625,0.125 2.625,0.375 0.625,0.375",
     ".625,.25>.75,.25 1,.25 1.25,.25 1.5,.25>1.75,.25 2,.25 2.25,.25 2.5,.25>2.625,.25"},
};

TEST(HatchGenerator, MatchesHandComputedHatches) {
  const DataPtr d = newDrawing();
  FailureCounter failures;
  for (const HandCase& c : kHandCases) {
    SCOPED_TRACE(c.what);
    const BlockPtr b = hatch(*d, c.pattern, scaleGiving(c.mmPerUnit), c.angle, polygon(c.boundary));
    ASSERT_NE(b, nullptr);
    std::istringstream expected(c.entities);
    std::string e;
    for (const Piece& p : piecesOf(*b)) {
      ASSERT_TRUE(expected >> e) << "more entities than expected";
      double x0, y0, x1, y1;
      const bool line = std::sscanf(e.c_str(), "%lf,%lf>%lf,%lf", &x0, &y0, &x1, &y1) == 4;
      if (!line) x1 = x0, y1 = y0;
      // 1e-12 covers the rounding of 3.175's multiples; the binary fractions come out exact.
      EXPECT_TRUE(p.type == (line ? 2 : 1) && std::fabs(p.a.getX() - x0) < 1e-12 &&
                  std::fabs(p.a.getY() - y0) < 1e-12 && std::fabs(p.b.getX() - x1) < 1e-12 &&
                  std::fabs(p.b.getY() - y1) < 1e-12)
          << e;
    }
    EXPECT_FALSE(expected >> e) << "missing " << e;
  }
  EXPECT_EQ(failures.calls(), 0);
}

// At 0, pi/2 and pi the sines and cosines are exact: every NET line is exactly horizontal or
// vertical (3pi/2 would turn NET's second family to 2pi, which is not one of the four).
TEST(HatchGenerator, RightAnglesGiveExactlyAxisParallelLines) {
  const DataPtr d = newDrawing();
  for (const double angle : {0.0, kPi / 2, kPi}) {
    const BlockPtr b = hatch(*d, "NET", 0.3, angle, rect(-3.3, -2.1, 7.7, 5.9));
    ASSERT_NE(b, nullptr);
    for (const Piece& p : piecesOf(*b))
      EXPECT_TRUE(p.a.getX() == p.b.getX() || p.a.getY() == p.b.getY()) << angle;
  }
}

// A step whose riser edge lies on the hatch line y = 6.35: the edge records its start (x = 10)
// and the next edge, rising from a point on the line, its own (x = 5), so that line has three
// crossings. The pair (0, 5) is still drawn and the failure told once.
const std::vector<PNT_3D> kStep = polygon("0,0 10,0 10,6.35 5,6.35 5,10 0,10");

TEST(HatchGenerator, OddCrossingsAreToldOnceAndTheBlockKept) {
  const DataPtr d = newDrawing();
  FailureCounter failures;
  const BlockPtr b = hatch(*d, "LINE", 1, 0, kStep);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(failures.calls(), 1);
  EXPECT_EQ(failures.last(),
            "Errore: L'algoritmo di hatching ha fallito!!!\n\nSalvare il progetto e comunicare "
            "l'errore");
  const std::vector<Piece> got = piecesOf(*b);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[2].a.getX(), 0);
  EXPECT_NEAR(got[2].b.getX(), 5, 1e-12);
  EXPECT_NEAR(got[2].a.getY(), 6.35, 1e-12);
}

// A handler that throws: the exception passes on, the block is deleted and every handle booked
// for its entities is free again (LeakSanitizer checks the rest). Null restores the default.
TEST(HatchGenerator, ThrowingHandlerDiscardsTheBlockAndNullRestoresTheDefault) {
  struct Thrower {
    static void handler(const char*, const char*) { throw 42; }
  };
  const DataPtr d = newDrawing();
  IHandleGestor& g = d->getHandleGestor();
  const long firstFree = g.nextseed();
  const HatchFailureHandler original = setHatchFailureHandler(&Thrower::handler);
  ASSERT_NE(original, nullptr);
  EXPECT_THROW(hatch(*d, "LINE", 1, 0, kStep), int);
  EXPECT_EQ(setHatchFailureHandler(nullptr), &Thrower::handler);
  EXPECT_EQ(setHatchFailureHandler(original), original);
  ASSERT_GT(g.nextseed(), firstFree);  // handles were booked on the way
  for (long h = firstFree; h < g.nextseed(); ++h) EXPECT_EQ(g.bookHandle(h), h);
}

// A block factory that counts the blocks it makes.
class CountingBlockFactory : public CBlockFactory {
 public:
  using CBlockFactory::create;
  CBlock* create(const String& name, const PNT_3D& base, long flags) const override {
    ++made;
    return CBlockFactory::create(name, base, flags);
  }
  mutable int made = 0;
};

HATCH_LINE lineWithDashes(long noDashes) {
  HATCH_LINE l = getHatch("DASH")->lines[0];
  l.noDashes = noDashes;
  return l;
}
const HATCH_LINE kSevenDashes = lineWithDashes(7);
const HATCH_LINE kNegativeDashes = lineWithDashes(-1);
const HATCH_LINE kNaNSpacing = {0, 0, 0, 0, kNaN, {}, 0};
const HATCH_TYPE kLine = *getHatch("LINE");

const struct {
  const char* what;
  HATCH_TYPE type;
  double scale, angle;
  std::vector<PNT_3D> boundary;
} kRefusals[] = {
    {"two points", kLine, 1, 0, polygon("0,0 10,0")},
    {"three points compacting to a closed segment", kLine, 1, 0, polygon("0,0 10,0 10,0 0,0")},
    {"zero scale", kLine, 0, 0, kSquare},
    {"negative scale", kLine, -1, 0, kSquare},
    {"NaN scale", kLine, kNaN, 0, kSquare},
    {"infinite scale", kLine, kInf, 0, kSquare},
    {"scale overflowing at 25.4", kLine, 1e308, 0, kSquare},
    {"NaN angle", kLine, 1, kNaN, kSquare},
    {"infinite angle", kLine, 1, kInf, kSquare},
    {"NaN coordinate", kLine, 1, 0, rect(0, 0, 10, kNaN)},
    {"infinite coordinate", kLine, 1, 0, rect(0, 0, kInf, 10)},
    {"infinite Z of the first point", kLine, 1, 0, rect(0, 0, 10, 10, kInf)},
    {"coordinate beyond 1e100", kLine, 1, 0, rect(0, 0, 1e101, 10)},
    {"more than a million lines", kLine, 1e-9, 0, kSquare},
    {"line count beyond any integer", kLine, 1e-300, 0, kSquare},
    {"line count infinite", kLine, 5e-324, 0, kSquare},
    {"too many dash steps", *getHatch("DOTS"), 0.01, 0, rect(0, 0, 10000, 10000)},
    {"seven dashes", {"X", "", &kSevenDashes, 1}, 1, 0, kSquare},
    {"negative dash count", {"X", "", &kNegativeDashes, 1}, 1, 0, kSquare},
    {"NaN in the pattern", {"X", "", &kNaNSpacing, 1}, 1, 0, kSquare},
    {"negative line count", {"X", "", &kSevenDashes, -1}, 1, 0, kSquare},
};

TEST(HatchGenerator, RefusalsMakeNoBlockAndBookNoHandle) {
  const DataPtr d = newDrawing();
  IHandleGestor& g = d->getHandleGestor();
  CountingBlockFactory bf;
  for (const auto& r : kRefusals) {
    const long seed = g.nextseed();
    EXPECT_EQ(createHatch("*PAT1", r.type, r.scale, r.angle, r.boundary, bf, g, d->getEntFactory(),
                          getLayer0(*d), getLtypeByBlock(*d), 0),
              nullptr)
        << r.what;
    EXPECT_EQ(bf.made, 0) << r.what;
    EXPECT_EQ(g.nextseed(), seed) << r.what;
  }
}

// Spacing 0 and dashes adding up to 0 leave their family out; the other families are drawn.
TEST(HatchGenerator, DegenerateFamiliesAreLeftOut) {
  const HATCH_LINE lines[] = {
      {0, 0, 0, 0, 0, {}, 0},       // spacing 0
      {0, 0, 0, 0, 0.125, {0}, 1},  // a lone dot: period 0
      getHatch("LINE")->lines[0],
  };
  const DataPtr d = newDrawing();
  const BlockPtr with(createHatch("*PAT1", HATCH_TYPE{"X", "", lines, 3}, 1, 0, kSquare, *d));
  const BlockPtr alone(hatch(*d, "LINE", 1, 0, kSquare));
  ASSERT_NE(with, nullptr);
  EXPECT_EQ(with->size(), 4);
  EXPECT_EQ(piecesOf(*with), piecesOf(*alone));
}

// A boundary so far out that the dash lengths vanish against the line parameters (2^57 + 5
// is 2^57): the walk cannot move, stops, and the failure is told. Lines 25,400 apart keep the
// work small over a box big enough to survive compacting at that distance. Crossings farther
// apart than the pass budget covers end the walk too, which no sound boundary reaches.
TEST(HatchGenerator, DashWalkThatCannotFinishEndsAndFails) {
  const HATCH_LINE wide{0, 0, 0, 0, 1000, {0.2, -0.075}, 2};
  const double at = std::ldexp(1, 57), side = std::ldexp(1, 18);
  const DataPtr d = newDrawing();
  FailureCounter failures;
  const BlockPtr b(createHatch("*PAT1", HATCH_TYPE{"X", "", &wide, 1}, 1, 0,
                               rect(at, at, at + side, at + side), *d));
  EXPECT_NE(b, nullptr);
  EXPECT_EQ(failures.calls(), 1);

  struct CountingSink : veltcore::hatch::DashSink {
    void stretch(double, double) override { ++stretches; }
    void dot(double) override {}
    int stretches = 0;
  } sink;
  const std::vector<veltcore::hatch::Dash> dash{{1, true}, {1, false}};
  const double t[] = {0, 1e6};
  EXPECT_FALSE(veltcore::hatch::walkDashes(dash, 2, t, 2, 10, sink));
  EXPECT_EQ(sink.stretches, 10);  // one dash per pass
  EXPECT_TRUE(veltcore::hatch::walkDashes(dash, 2, t, 2, 500001, sink));
}

// The drawing forms: current layer, by-block linetype, colour 0 (not the current colour), a
// fresh handle each, the first point's Z; the index form refuses indexes outside the catalogue.
TEST(HatchGenerator, DrawingFormsUseTheCurrentLayerAndByBlock) {
  const DataPtr d = newDrawing();
  CLayer* walls = d->getLayerFactory().create("WALLS", &d->getLtypeContinuous(), 3, 0);
  addLayer(*d, walls);
  setCurLayer(*d, walls);
  setCurColor(*d, 5);
  const BlockPtr b(createHatch("*PAT7", 53, 1, 0, rect(0, 0, 10, 10, 2.5), *d));  // 53: LINE
  ASSERT_NE(b, nullptr);
  EXPECT_STREQ(b->getName().c_str(), "*PAT7");
  EXPECT_EQ(b->getFlags(), 1);
  EXPECT_EQ(b->getPnt(), PNT_3D(0, 0, 0));
  ASSERT_EQ(b->size(), 4);
  long previous = 0;
  for (int i = 0; i < b->size(); ++i) {
    const CEnt& e = *(*b)[i];
    EXPECT_TRUE(e.getLayer() == walls && e.getLtype() == getLtypeByBlock(*d) && e.getColor() == 0);
    const Piece p = piecesOf(*b)[static_cast<std::size_t>(i)];
    EXPECT_TRUE(p.a.getZ() == 2.5 && p.b.getZ() == 2.5);
    EXPECT_NE(e.GetHandle(), previous);
    previous = e.GetHandle();
  }
  EXPECT_EQ(createHatch("*PAT8", 68, 1, 0, kSquare, *d), nullptr);
  EXPECT_EQ(createHatch("*PAT8", -1, 1, 0, kSquare, *d), nullptr);
}

}  // namespace
