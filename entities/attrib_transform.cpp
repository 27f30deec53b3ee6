// entities/attrib_transform.cpp: an attribute's placement between its insert's own (logical)
// coordinates and the drawing's (physical) ones. Reads the insert, writes only out-parameters or
// the given text. Rotations of exactly pi/2 and 3*pi/2 pass through untouched: tan has no value
// there, and atan(tan r) would turn 3*pi/2 into pi/2.
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>

#include <algorithm>
#include <cmath>

#include "geometry/text_angles.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kThreeHalvesPi = 3.0 * kPi / 2.0;

bool isVertical(double r) {
  return r == kHalfPi || r == kThreeHalvesPi;
}

// atan, not atan2: the result lies in (-pi/2, pi/2), so a text reading leftwards is turned half
// a turn to read rightwards. Stored drawings depend on that.
double stretchRotation(double r, double num, double den) {
  return isVertical(r) ? r : std::atan(std::tan(r) * num / den);
}

// The squared length of the baseline direction (cs, sn) after scaling by (sx, sy).
double baselineSquared(double sn, double cs, double sx, double sy) {
  return (sy * sn) * (sy * sn) + (sx * cs) * (sx * cs);
}

}  // namespace

void transform_attrib_logic_2_phisic(const CEntInsert& ins, const CEntAttrib& a, PNT_3D& pos,
                                     double& height, double& rotation, double& oblique,
                                     double& widthScale) {
  double sx, sy, sz;
  ins.getScale(sx, sy, sz);
  const double rho = ins.getRotate();
  const TEXT_3D& text = a.getText();
  const CTextContext& c = text.getContext();
  const double r = c.getRotate();

  // The slanted up direction of the text after scaling, and the scaled baseline.
  const double t = std::tan(c.getOblique());
  const double sn = std::sin(r), cs = std::cos(r);
  const double ua = (t * cs - sn) * sx;
  const double ub = (t * sn + cs) * sy;
  const double len = std::sqrt(ua * ua + ub * ub);
  const double q = baselineSquared(sn, cs, sx, sy);
  // The extent of the scaled up direction across the scaled baseline.
  const double k = sx * sy / std::sqrt(q);

  // k / len is a cosine, but rounding takes it a hair past 1 for many unslanted texts (about one
  // rotation in eight on an identity insert), where acos has no value: clamp it into [-1, 1].
  oblique = std::acos(std::clamp(k / len, -1.0, 1.0));
  height = std::fabs(k) * c.getHeight();
  widthScale = c.getWidthScale() * q / (sx * sy);
  rotation = veltcore::detail::wrapAngleOnce(stretchRotation(r, sy, sx) + rho);

  const PNT_3D& p = text.getPnt();
  const PNT_3D& at = ins.getPnt();
  const double cr = std::cos(rho), sr = std::sin(rho);
  pos.set(sx * p.getX() * cr - sy * p.getY() * sr + at.getX(),
          sx * p.getX() * sr + sy * p.getY() * cr + at.getY(), sz * p.getZ() + at.getZ());
}

void transform_attrib_phisic_2_logic(const CEntInsert& ins, TEXT_3D& t) {
  double sx, sy, sz;
  ins.getScale(sx, sy, sz);
  const double rho = ins.getRotate();

  PNT_3D& p = t.getPnt();
  const PNT_3D& at = ins.getPnt();
  const double dx = p.getX() - at.getX(), dy = p.getY() - at.getY(), dz = p.getZ() - at.getZ();
  const double cr = std::cos(rho), sr = std::sin(rho);
  p.set((dx * cr + dy * sr) / sx, (-dx * sr + dy * cr) / sy, dz / sz);

  CTextContext& c = t.getContext();
  const double r = stretchRotation(veltcore::detail::wrapAngleOnce(c.getRotate() - rho), sx, sy);
  const double q = baselineSquared(std::sin(r), std::cos(r), sx, sy);
  const double k = sx * sy / std::sqrt(q);
  const double height = c.getHeight() / std::fabs(k);
  const double widthScale = c.getWidthScale() * sx * sy / q;
  // Written in this order; setRotate brings a negative atan result back into [0, 2*pi].
  c.setHeight(height);
  c.setOblique(0.0);
  c.setRotate(r);
  c.setWidthScale(widthScale);
}

void transform_attrib_phisic_2_logic(const CEntInsert& ins, CEntAttrib& a) {
  transform_attrib_phisic_2_logic(ins, a.getText());
}
