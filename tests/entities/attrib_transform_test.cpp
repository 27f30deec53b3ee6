// tests/entities/attrib_transform_test.cpp: an attribute's placement between its insert's
// coordinates and the drawing's, checked against a geometric oracle (the text's baseline and up
// vectors pushed through the scales), the exact vertical rotations, round trips, NaN sweeps and
// zero scales.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "database/test_insert.h"

namespace {

const double kPi = std::acos(-1.0);
const double kHalfPi = 1.5707963267948966;
const double kThreeHalvesPi = 4.71238898038469;

struct Placement {
  PNT_3D pos;
  double height, rotation, oblique, width;
};

// The difference of two angles brought into [-pi, pi].
double angleGap(double a, double b) {
  return std::remainder(a - b, 2 * kPi);
}

class AttribTransformTest : public ::testing::Test {
 protected:
  // An attribute without a style: the transforms never read the font.
  std::unique_ptr<CEntAttrib> attrib(const PNT_3D& p, double h, double r, double o, double w) {
    return std::unique_ptr<CEntAttrib>(d->getEntFactory().createEntAttrib(
        d->getHandleGestor(), nullptr, nullptr, 256,
        TEXT_3D("v", nullptr, h, o, w, r, p.getX(), p.getY(), p.getZ(), 0), "T", 0, 0));
  }
  TestInsert& insert(const PNT_3D& at, double sx, double sy, double sz, double rho) {
    ins.setInsert(at, sx, sy, sz, rho);
    return ins;
  }
  Placement physical(const CEntAttrib& a) const {
    Placement p;
    transform_attrib_logic_2_phisic(ins, a, p.pos, p.height, p.rotation, p.oblique, p.width);
    return p;
  }

  DataPtr d = newDrawing();
  TestInsert ins{nullptr, PNT_3D(0, 0, 0)};
};

// What a text of rotation r, oblique o, height h and width w becomes under scales (sx, sy) > 0
// and rotation rho, measured on the scaled baseline and up vectors: height is the up vector's
// extent across the baseline, the width factor follows the baseline's stretch against that,
// the oblique is the up vector's slant from the baseline's normal. A baseline pointing left is
// turned to point right.
Placement oracle(double sx, double sy, double rho, double h, double r, double o, double w) {
  const double bx = sx * std::cos(r), by = sy * std::sin(r);
  const double t = std::tan(o);
  const double ux = sx * (t * std::cos(r) - std::sin(r)), uy = sy * (t * std::sin(r) + std::cos(r));
  const double base = std::hypot(bx, by), cross = std::fabs(bx * uy - by * ux);
  Placement p;
  p.height = h * cross / base;
  p.width = w * base * base / cross;
  p.oblique = std::acos(std::fmin(1.0, cross / (base * std::hypot(ux, uy))));
  double a = std::atan2(by, bx);
  if (a > kHalfPi) a -= kPi;
  if (a < -kHalfPi) a += kPi;
  p.rotation = a + rho;
  return p;
}

}  // namespace

// Exactly, under any scale: 3*pi/2 through atan(tan r) would come back as pi/2.
TEST_F(AttribTransformTest, VerticalRotationsKeepExactlyUnderAnyScale) {
  const struct {
    double r, sx, sy, rho, expected;
  } cases[] = {{kHalfPi, 1, 1, 0, kHalfPi},
               {kHalfPi, 2, 5, 0, kHalfPi},
               {kHalfPi, 0.1, 3, 0.5, kHalfPi + 0.5},
               {kThreeHalvesPi, 1, 1, 0, kThreeHalvesPi},
               {kThreeHalvesPi, 3, 0.2, 1.0, kThreeHalvesPi + 1.0},
               // One normalising step takes the sum back under a full turn.
               {kThreeHalvesPi, 1, 1, 2.0, kThreeHalvesPi + 2.0 - 2 * kPi}};
  for (const auto& c : cases) {
    insert(PNT_3D(0, 0, 0), c.sx, c.sy, 1, c.rho);
    EXPECT_EQ(physical(*attrib(PNT_3D(0, 0, 0), 1, c.r, 0, 1)).rotation, c.expected)
        << c.r << " " << c.sx << " " << c.sy << " " << c.rho;
  }
}

// A sweep of rotations, obliques and positive scales against the vector oracle; the rotation
// always comes out in [0, 2*pi].
TEST_F(AttribTransformTest, MatchesTheVectorOracle) {
  const double scales[][2] = {{1, 1}, {2, 3}, {0.25, 4}, {5, 0.5}};
  const double obliques[] = {0.0, 0.35, -0.6};
  int checked = 0;
  for (const auto& s : scales) {
    insert(PNT_3D(0, 0, 0), s[0], s[1], 1, 0.4);
    for (double o : obliques) {
      const auto a = attrib(PNT_3D(0, 0, 0), 1.5, 0, o, 0.9);
      for (int i = 0; i < 360; ++i) {
        const double r = (i + 0.37) * kPi / 180;
        a->getText().getContext().setRotate(r);
        const Placement got = physical(*a);
        const Placement want = oracle(s[0], s[1], 0.4, 1.5, r, o, 0.9);
        SCOPED_TRACE(std::to_string(s[0]) + "x" + std::to_string(s[1]) + " r=" + std::to_string(r) +
                     " o=" + std::to_string(o));
        ASSERT_NEAR(got.height, want.height, 1e-9);
        ASSERT_NEAR(got.width, want.width, 1e-9);
        ASSERT_NEAR(got.oblique, want.oblique, 1e-7);
        ASSERT_NEAR(angleGap(got.rotation, want.rotation), 0, 1e-9);
        ASSERT_TRUE(got.rotation >= 0 && got.rotation <= 2 * kPi) << got.rotation;
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 4 * 3 * 360);
}

// The cosine behind the oblique angle rounds past 1 for many unslanted texts (0.009 rad on the
// identity insert is one); the angle must stay a number, equal to |o| on the identity insert.
// transform_text carries the same computation for block texts and must hold too.
TEST_F(AttribTransformTest, ObliqueIsNeverNaN) {
  const double scales[][2] = {{1, 1}, {2, 3}, {0.1, 7}, {-1, 1}, {1, -2}};
  for (const auto& s : scales) {
    insert(PNT_3D(0, 0, 0), s[0], s[1], 1, 0);
    const bool identity = s[0] == 1 && s[1] == 1;
    for (double o : {0.0, 0.2, -0.2}) {
      const auto a = attrib(PNT_3D(0, 0, 0), 1, 0, o, 1);
      for (int i = 0; i <= 4000; ++i) {
        const double r = i == 0 ? 0.009 : i * 2 * kPi / 4000;
        a->getText().getContext().setRotate(r);
        const Placement p = physical(*a);
        ASSERT_FALSE(std::isnan(p.oblique)) << s[0] << "x" << s[1] << " r=" << r << " o=" << o;
        if (identity) {
          ASSERT_NEAR(p.oblique, std::fabs(o), 2e-8) << "r=" << r << " o=" << o;
        }
        PNT_3D pos;
        double h, rot, obl, w;
        ASSERT_TRUE(transform_text(ins, a->getText(), pos, h, rot, obl, w));
        ASSERT_FALSE(std::isnan(obl)) << "transform_text " << s[0] << "x" << s[1] << " r=" << r;
      }
    }
  }
}

// Logical to physical (the point checked by hand) and back: point, height, width and rotation
// come home; the oblique is always 0 afterwards. A text reading leftwards comes back turned half
// a turn.
TEST_F(AttribTransformTest, RoundTripsBackToLogical) {
  struct Case {
    double sx, sy, rho, r, expected;
  };
  const Case cases[] = {
      {1, 1, 0, kHalfPi, kHalfPi}, {1, 1, 0, kThreeHalvesPi, kThreeHalvesPi},
      {2, 3, 0.7, 0.3, 0.3},       {0.5, 4, 2.5, 1.2, 1.2},
      {3, 0.25, 5.0, 5.9, 5.9},    {2, 3, 0.7, 2.5, 2.5 + kPi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sx) + "x" + std::to_string(c.sy) +
                 " rho=" + std::to_string(c.rho) + " r=" + std::to_string(c.r));
    insert(PNT_3D(5, -2, 1), c.sx, c.sy, 2, c.rho);
    const auto a = attrib(PNT_3D(1.5, -0.5, 0.25), 2, c.r, 0, 0.75);
    const Placement p = physical(*a);
    // (x, y, z) goes to at + the scaled point turned by rho; z is only scaled.
    PNT_2D xy(1.5 * c.sx, -0.5 * c.sy);
    xy.rotate(PNT_2D(0, 0), c.rho);
    EXPECT_LT(p.pos.dist(PNT_3D(5 + xy.getX(), -2 + xy.getY(), 1.5)), 1e-12);
    TEXT_3D t("v", nullptr, p.height, p.oblique, p.width, p.rotation, p.pos.getX(), p.pos.getY(),
              p.pos.getZ(), 0);
    transform_attrib_phisic_2_logic(ins, t);
    const CTextContext& back = t.getContext();
    EXPECT_LT(t.getPnt().dist(PNT_3D(1.5, -0.5, 0.25)), 1e-12);
    EXPECT_NEAR(back.getHeight(), 2, 1e-12);
    EXPECT_NEAR(back.getWidthScale(), 0.75, 1e-12);
    EXPECT_NEAR(angleGap(back.getRotate(), c.expected), 0, 1e-12);
    EXPECT_EQ(back.getOblique(), 0.0);
  }
}

// On an attribute: its text changes (a slanted one loses its slant), its box does not until the
// caller asks; the style is left alone.
TEST_F(AttribTransformTest, PhysicalToLogicalOnAnAttributeLeavesTheBoxStale) {
  const auto a = attrib(PNT_3D(4, 6, 0), 2, 0.2, 0.3, 1);
  const RECT_3D before = a->getBdry();
  insert(PNT_3D(2, 2, 0), 2, 2, 1, 0);
  transform_attrib_phisic_2_logic(ins, *a);
  EXPECT_EQ(a->getText().getPnt(), PNT_3D(1, 2, 0));
  EXPECT_DOUBLE_EQ(a->getText().getContext().getHeight(), 1);
  EXPECT_EQ(a->getText().getContext().getOblique(), 0.0);
  EXPECT_EQ(a->getStyle(), nullptr);
  EXPECT_EQ(a->getBdry(), before);
  a->calcBdry();
  EXPECT_EQ(a->getBdry(), RECT_3D(1, 2, 0, 1, 2, 0));
}

// A zero scale is not checked: the numbers come out non-finite, and nothing fails.
TEST_F(AttribTransformTest, ZeroScaleGivesNonFiniteValues) {
  insert(PNT_3D(0, 0, 0), 0, 1, 1, 0);
  const auto a = attrib(PNT_3D(1, 1, 1), 1, 0.5, 0, 1);
  const Placement p = physical(*a);
  EXPECT_FALSE(std::isfinite(p.width));
  TEXT_3D t = a->getText();
  transform_attrib_phisic_2_logic(ins, t);
  EXPECT_FALSE(std::isfinite(t.getPnt().getX()));
}
