// geometry/text_transform.cpp: carries a text of a block into an insert's coordinates, given
// the insert's point, scales and rotation. Pure arithmetic on the text's context.
// Rotations of exactly pi/2 and 3*pi/2 are kept as they are: tan would blow up on them.
#include "geometry/text_transform.h"

#include <algorithm>
#include <cmath>

#include <veltcore/geometry/text.h>

#include "geometry/text_angles.h"

namespace veltcore::detail {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kThreeHalvesPi = 3.0 * kPi / 2.0;

// Height, width scale, oblique and rotation of an unrotated text under scales (sx, sy): the
// stretch only changes proportions and the slant.
void carryUnrotated(const CTextContext& c, double sx, double sy, double& height, double& widthScale,
                    double& oblique, double& rotate) {
  height = c.getHeight() * sy;
  widthScale = c.getWidthScale() * sx / sy;
  oblique = std::atan(std::tan(c.getOblique()) * sx / sy);
  if (oblique < -kHalfPi) oblique += kPi;
  if (oblique > kHalfPi) oblique -= kPi;
  rotate = 0.0;
}

// The same for a rotated text: the baseline direction (c, s) and the slanted up direction are
// stretched separately; the new height is the up direction's extent across the new baseline.
void carryRotated(const CTextContext& c, double sx, double sy, double& height, double& widthScale,
                  double& oblique, double& rotate) {
  const double r = c.getRotate();
  const double cs = std::cos(r), sn = std::sin(r), t = std::tan(c.getOblique());
  const double u = (t * cs - sn) * sx;
  const double v = (t * sn + cs) * sy;
  const double m = (sx * cs) * (sx * cs) + (sy * sn) * (sy * sn);
  const double q = sx * sy / std::sqrt(m);
  // Rounding can take the ratio a hair past +-1, where acos has no value.
  oblique = std::acos(std::clamp(q / std::sqrt(u * u + v * v), -1.0, 1.0));
  height = std::fabs(q) * c.getHeight();
  widthScale = c.getWidthScale() * m / (sx * sy);
  rotate = (r == kHalfPi || r == kThreeHalvesPi) ? r : std::atan(std::tan(r) * sy / sx);
}

}  // namespace

bool transformTextPlacement(const InsertPlacement& ins, const TEXT_3D& t, PNT_3D& pos,
                            double& height, double& rotate, double& oblique, double& widthScale) {
  if (ins.sx == 0.0 || ins.sy == 0.0 || ins.sz == 0.0) return false;
  const CTextContext& c = t.getContext();
  if (c.getRotate() == 0.0)
    carryUnrotated(c, ins.sx, ins.sy, height, widthScale, oblique, rotate);
  else
    carryRotated(c, ins.sx, ins.sy, height, widthScale, oblique, rotate);
  rotate = wrapAngleOnce(rotate + ins.rotate);

  const PNT_3D& p = t.getPnt();
  const double cr = std::cos(ins.rotate), sr = std::sin(ins.rotate);
  const double x = p.getX() * ins.sx, y = p.getY() * ins.sy;
  pos.set(x * cr - y * sr + ins.point.getX(), y * cr + x * sr + ins.point.getY(),
          p.getZ() * ins.sz + ins.point.getZ());
  return true;
}

}  // namespace veltcore::detail
