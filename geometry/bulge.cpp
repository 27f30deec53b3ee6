// geometry/bulge.cpp: the arc of a polyline segment with a bulge (createArcFromBulge).
// The bulge is tan(included angle / 4), positive counter-clockwise from p0 to p1; the arc is
// stored counter-clockwise, so a negative bulge runs from p1 to p0. Bulge 0 gives false.
#include <veltcore/geometry/arc.h>

#include <cmath>

#include "geometry/arc_angles.h"

using veltcore::geom::kPi;
using veltcore::geom::normAngle;

namespace {

// Bulge +1 or -1 exactly: the half circle on the chord, centred at its midpoint.
void halfCircle(const PNT_3D& p0, const PNT_3D& p1, double bulge, ARC_3D& out) {
  const PNT_3D mid((p0.getX() + p1.getX()) / 2.0, (p0.getY() + p1.getY()) / 2.0,
                   (p0.getZ() + p1.getZ()) / 2.0);
  const double r = static_cast<const PNT_2D&>(mid).dist(p1);
  const double s = mid.angle(bulge == 1.0 ? p0 : p1);
  out.set(mid.getX(), mid.getY(), mid.getZ(), r, s, normAngle(s + kPi));
}

}  // namespace

bool createArcFromBulge(const PNT_3D& p0, const PNT_3D& p1, double bulge, ARC_3D& out) {
  if (bulge == 0.0) return false;
  if (bulge == 1.0 || bulge == -1.0) {
    halfCircle(p0, p1, bulge, out);
    return true;
  }
  const double cx = p1.getX() - p0.getX();
  const double cy = p1.getY() - p0.getY();
  const double chord = std::sqrt(cx * cx + cy * cy);
  const double h = chord / 2.0;
  // A null chord has no direction: the arc collapses to its point (radius 0).
  const double ux = chord != 0.0 ? cx / chord : 0.0;
  const double uy = chord != 0.0 ? cy / chord : 0.0;
  // Signed distance of the centre from the chord's midpoint, to its left.
  const double k = h / std::tan(2.0 * std::atan(bulge));
  const PNT_2D centre((p0.getX() + p1.getX()) / 2.0 - k * uy,
                      (p0.getY() + p1.getY()) / 2.0 + k * ux);
  const double r = std::sqrt(h * h + k * k);
  const double a0 = centre.angle(p0);
  const double a1 = centre.angle(p1);
  out.set(centre.getX(), centre.getY(), (p0.getZ() + p1.getZ()) / 2.0, r, bulge > 0.0 ? a0 : a1,
          bulge > 0.0 ? a1 : a0);
  return true;
}
