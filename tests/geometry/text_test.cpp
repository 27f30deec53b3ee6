// tests/geometry/text_test.cpp: TEXT_3D placement against a fixed-metric font (all twelve
// justifications, with rotation, oblique and vertical styles), the justification lookups,
// moving a text, and transform_text checked against the scaled text frame.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>

#include <veltcore/database/style.h>
#include <veltcore/geometry/text.h>

#include "database/test_insert.h"
#include "geometry/test_font.h"
#include "geometry/text_transform.h"

namespace {

using Vec = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kEps = 1e-12;
const TestFont::Metrics kMetrics{10, 3, 6, 7, -2};

std::unique_ptr<CStyle> makeStyle(const ICADFont* font, bool horizontal = true, bool bold = false) {
  std::unique_ptr<CStyle> style(CStyleFactory().create("S", font, 0.0, 1.0, 0.0, 2.5, 0));
  style->setHoriz(horizontal);
  style->setBold(bold);
  return style;
}

// Each justification: its name, the share of the drawn width left of the insertion point, and
// the line of the cell the insertion point lies on (0 baseline, 1 bottom, 2 middle, 3 top).
struct Justification {
  const char* name;
  double widthShare;
  int line;
};
const Justification kJustifications[12] = {
    {"Left", 0.0, 0},        {"Center", 0.5, 0},        {"Right", 1.0, 0},
    {"Top left", 0.0, 3},    {"Top center", 0.5, 3},    {"Top right", 1.0, 3},
    {"Middle left", 0.0, 2}, {"Middle center", 0.5, 2}, {"Middle right", 1.0, 2},
    {"Bottom left", 0.0, 1}, {"Bottom center", 0.5, 1}, {"Bottom right", 1.0, 1},
};

TEST(Text3D, TwelveJustificationsPlaceTheCellAroundTheInsertionPoint) {
  struct Placement {
    double rotate, oblique;
    bool horizontal, bold;
  };
  const Placement placements[] = {
      {0.0, 0.0, true, false}, {0.7, 0.3, true, true}, {4.0, -0.2, false, false}};
  TestFont font("simplex", kMetrics);
  const Vec at(4.0, -3.0);
  for (const Placement& p : placements) {
    const auto style = makeStyle(&font, p.horizontal, p.bold);
    // "ABCD" at height 5 and width scale 1.5, in drawing units.
    const double k = 5.0 / kMetrics.cell;
    const double width = 4 * (kMetrics.advance + p.bold) * k * 1.5;
    const double top = kMetrics.top * k, bottom = kMetrics.bottom * k;
    const double lineY[] = {0.0, -kMetrics.descent * k, (top + bottom) / 2, kMetrics.cell * k};
    const Vec turn = std::polar(1.0, p.rotate);
    const double slant = p.horizontal ? std::tan(p.oblique) : 0.0;  // vertical: never slanted
    for (long j = 0; j < 12; ++j) {
      SCOPED_TRACE(kJustifications[j].name);
      const TEXT_3D t("ABCD", style.get(), 5.0, p.oblique, 1.5, p.rotate, 4.0, -3.0, 8.0, j);
      const Vec shift(-kJustifications[j].widthShare * width, -lineY[kJustifications[j].line]);
      double dx, dy;
      t.getDeltaXY(dx, dy);
      EXPECT_NEAR(dx, (shift * turn).real(), kEps);
      EXPECT_NEAR(dy, (shift * turn).imag(), kEps);

      const Vec cell[4] = {{0.0, bottom}, {width, bottom}, {width, top}, {0.0, top}};
      double xs[4], ys[4];
      t.getExtremes(xs, ys);
      RECT_3D expectedBox;
      expectedBox.initRegion();
      for (int i = 0; i < 4; ++i) {
        const Vec local = cell[i] + shift;
        const Vec placed = Vec(local.real() + slant * local.imag(), local.imag()) * turn + at;
        EXPECT_NEAR(xs[i], placed.real(), kEps) << "corner " << i;
        EXPECT_NEAR(ys[i], placed.imag(), kEps) << "corner " << i;
        expectedBox.updateRegion(PNT_3D(xs[i], ys[i], 8.0));
      }
      RECT_3D box;
      t.calc_bdry(box);
      EXPECT_EQ(box, expectedBox);
      EXPECT_EQ(font.lastHorizontal, p.horizontal);
    }
  }
}

TEST(Text3D, LeftNeedsNoFontAndTextsWithoutOneCollapseOntoTheirPoint) {
  TestFont font("simplex", kMetrics);
  const auto withFont = makeStyle(&font), fontless = makeStyle(nullptr);
  double dx = 9, dy = 9;
  TEXT_3D("ABC", withFont.get(), 5.0, 0.0, 1.0, 1.0, 2.0, 3.0, 0.0, 0).getDeltaXY(dx, dy);
  EXPECT_EQ(dx, 0.0);
  EXPECT_EQ(dy, 0.0);
  EXPECT_EQ(font.measured, 0);
  for (CStyle* s : {static_cast<CStyle*>(nullptr), fontless.get()}) {
    const TEXT_3D t("ABC", s, 5.0, 0.0, 1.0, 1.0, 2.0, 3.0, 4.0, 8);
    t.getDeltaXY(dx, dy);
    EXPECT_EQ(dx + dy, 0.0);
    RECT_3D box;
    t.calc_bdry(box);
    EXPECT_EQ(box, RECT_3D(2.0, 3.0, 4.0, 2.0, 3.0, 4.0));
  }
}

TEST(Text3D, JustificationLookups) {
  TEXT_3D t;
  for (long j = 0; j < 12; ++j) {
    t.setAlign(j);
    EXPECT_EQ(TEXT_3D::findJustify(t.getHorizAlign(), t.getVertAlign()), j);
    EXPECT_STREQ(TEXT_3D::getAlignName(j), kJustifications[j].name);
  }
  EXPECT_EQ(TEXT_3D::findJustify(3, 0), 0);
  EXPECT_EQ(TEXT_3D::getAlignName(12), nullptr);
  t.setAlign(3);
  t.setHorizAlign(2);
  EXPECT_EQ(t.getAlign(), 5);
  t.setVertAlign(2);
  EXPECT_EQ(t.getAlign(), 8);
  t.setAlign(40);  // kept, but read as "Left"
  EXPECT_EQ(t.getAlign() * 100 + t.getHorizAlign() * 10 + t.getVertAlign(), 4000);
}

TEST(Text3D, RotateWrapsIntoOneTurnAndScaleGrowsTheHeight) {
  const double starts[] = {6.0, 0.5, 0.0, 3.0}, by[] = {1.0, -1.0, kTwoPi, -7.0};
  for (int i = 0; i < 4; ++i) {
    TEXT_3D t("A", nullptr, 1.0, 0.0, 1.0, starts[i], 3.0, 0.0, 5.0, 0);
    t.rotate(PNT_3D(1.0, 0.0, 9.0), by[i]);
    const Vec moved = Vec(2.0, 0.0) * std::polar(1.0, by[i]) + Vec(1.0, 0.0);
    EXPECT_NEAR(t.getPnt().getX(), moved.real(), kEps);
    EXPECT_NEAR(t.getPnt().getY(), moved.imag(), kEps);
    EXPECT_EQ(t.getPnt().getZ(), 5.0);
    const double r = t.getContext().getRotate();
    EXPECT_TRUE(r >= 0.0 && r <= kTwoPi) << r;
    EXPECT_NEAR(std::remainder(r - starts[i] - by[i], kTwoPi), 0.0, 1e-9);
  }
  CTextContext c;
  c.setRotate(kTwoPi);
  EXPECT_EQ(c.getRotate(), kTwoPi);  // a full turn is in range
  c.setRotate(-1e15);                // far turns still end in range
  EXPECT_TRUE(c.getRotate() >= 0.0 && c.getRotate() <= kTwoPi);

  TEXT_3D t("A", nullptr, 5.0, 0.0, 1.0, 0.0, 2.0, 4.0, 6.0, 0);
  t.scale(PNT_3D(1.0, 1.0, 1.0), 3.0);
  EXPECT_EQ(t.getPnt(), PNT_3D(4.0, 10.0, 16.0));
  EXPECT_EQ(t.getContext().getHeight(), 15.0);
}

TEST(Text3D, EqualityIgnoresTheStyleButNotTheStringCase) {
  const auto style = makeStyle(nullptr);
  const TEXT_3D base("Door", nullptr, 1.0, 0.1, 1.0, 0.5, 1.0, 2.0, 3.0, 4);
  TEXT_3D t(base);
  t.setStyle(style.get());
  EXPECT_TRUE(t == base);
  t.getContext().setString("door");
  EXPECT_TRUE(t != base);
  t = base;
  t.getPnt().setZ(0.0);
  EXPECT_TRUE(t != base);
}

// transform_text against the text frame pushed through the insert's scales: the baseline
// direction E and the slanted up direction U, scaled, give the new rotation (E's direction,
// within a half turn), height (U's extent across E), width scale and slant.
TEST(TransformText, MatchesTheScaledTextFrame) {
  struct Carry {
    double sx, sy, sz, insRotate, height, widthScale, oblique, rotate;
  };
  const Carry cases[] = {
      {2.0, 1.0, 1.0, 0.0, 1.0, 1.0, 0.0, 0.0},      {1.0, 1.0, 1.0, 0.5, 2.0, 1.0, 0.2, 0.0},
      {2.0, 3.0, 1.0, 0.3, 1.5, 0.8, 0.25, 0.6},     {0.5, 2.0, 3.0, 6.0, 1.0, 1.2, -0.3, 2.0},
      {-1.0, 2.0, 1.0, 1.0, 1.0, 1.0, 0.1, 1.0},     {3.0, 2.0, 1.0, 5.5, 2.0, 1.0, 0.0, 4.0},
      {2.0, 3.0, 1.0, 0.25, 1.0, 1.0, 0.0, kPi / 2},
  };
  const PNT_3D insPoint(10.0, -20.0, 5.0);
  for (const Carry& k : cases) {
    SCOPED_TRACE(testing::Message() << "sx " << k.sx << " sy " << k.sy << " r " << k.rotate);
    const TEXT_3D t("T", nullptr, k.height, k.oblique, k.widthScale, k.rotate, 1.5, -2.0, 4.0, 0);
    PNT_3D pos;
    double height, rotate, oblique, widthScale;
    ASSERT_TRUE(veltcore::detail::transformTextPlacement(
        {insPoint, k.sx, k.sy, k.sz, k.insRotate}, t, pos, height, rotate, oblique, widthScale));

    auto stretch = [&](Vec v) { return Vec(v.real() * k.sx, v.imag() * k.sy); };
    const Vec e = std::polar(1.0, k.rotate);
    const Vec E = stretch(e), U = stretch(e * Vec(0.0, 1.0) + std::tan(k.oblique) * e);
    const Vec uOnE = std::conj(E) * U / std::abs(E);  // U along (real) and across (imag) E
    double direction = std::arg(E);
    if (direction > kPi / 2 + 1e-9) direction -= kPi;
    if (direction < -kPi / 2 + 1e-9) direction += kPi;
    // An unrotated text keeps the sign of its slant; a rotated one gets an unsigned angle.
    const double expectedOblique = k.rotate == 0.0 ? std::atan2(uOnE.real(), uOnE.imag())
                                                   : std::acos(uOnE.imag() / std::abs(U));
    EXPECT_NEAR(height, std::fabs(uOnE.imag()) * k.height, kEps);
    EXPECT_NEAR(widthScale, k.widthScale * std::norm(E) / (k.sx * k.sy), kEps);
    EXPECT_NEAR(oblique, expectedOblique, 1e-9);
    EXPECT_NEAR(std::remainder(rotate - direction - k.insRotate, kTwoPi), 0.0, 1e-9);
    EXPECT_TRUE(rotate >= 0.0 && rotate <= kTwoPi) << rotate;
    const Vec placed = Vec(1.5 * k.sx, -2.0 * k.sy) * std::polar(1.0, k.insRotate) + Vec(10, -20);
    EXPECT_NEAR(pos.getX(), placed.real(), kEps);
    EXPECT_NEAR(pos.getY(), placed.imag(), kEps);
    EXPECT_NEAR(pos.getZ(), 4.0 * k.sz + 5.0, kEps);
  }
}

TEST(TransformText, ReadsTheInsertKeepsUprightTextsAndRefusesZeroScales) {
  TestInsert ins(nullptr, PNT_3D(10.0, 20.0, 30.0));
  ins.setScale(2.0, 3.0, 4.0);
  ins.setRotate(0.5);
  const TEXT_3D upright("T", nullptr, 1.0, 0.2, 1.0, 3 * kPi / 2, 1.0, 2.0, 3.0, 0);
  PNT_3D pos, expectedPos;
  double v[4], e[4];
  ASSERT_TRUE(transform_text(ins, upright, pos, v[0], v[1], v[2], v[3]));
  veltcore::detail::transformTextPlacement({ins.getPnt(), 2.0, 3.0, 4.0, 0.5}, upright, expectedPos,
                                           e[0], e[1], e[2], e[3]);
  EXPECT_EQ(pos, expectedPos);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(v[i], e[i]);
  EXPECT_EQ(v[1], 3 * kPi / 2 + 0.5);  // kept exactly (tan has no value there), then turned

  const double zeroScales[][3] = {{0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
  for (const auto& s : zeroScales) {
    ins.setScale(s[0], s[1], s[2]);
    PNT_3D untouched(7.0, 7.0, 7.0);
    double h = 7, r = 7, o = 7, w = 7;
    EXPECT_FALSE(transform_text(ins, upright, untouched, h, r, o, w));
    EXPECT_EQ(untouched, PNT_3D(7.0, 7.0, 7.0));
    EXPECT_EQ(h + r + o + w, 28.0);
  }
}

}  // namespace
