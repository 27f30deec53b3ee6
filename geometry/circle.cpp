// geometry/circle.cpp: the CIRCLE_3D value: three-point construction, points, box and scaling.
// create throws CIRCLE_3D::LinearPointExcepion for points in line (|det| <= 1e-12) and then
// leaves the circle as it was; the new centre takes the first point's Z.
#include <veltcore/geometry/arc.h>

#include <cmath>

#include "geometry/tolerance.h"

void CIRCLE_3D::create(const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3) {
  const PNT_2D u = p2 - p1;
  const PNT_2D v = p3 - p1;
  const double det = v.getY() * u.getX() - v.getX() * u.getY();
  if (veltcore::geom::nearZero(det)) throw LinearPointExcepion();
  // Centre relative to p1, from the two perpendicular-bisector equations.
  const double k = 0.5 / det;
  const double lu = u.getX() * u.getX() + u.getY() * u.getY();
  const double lv = v.getX() * v.getX() + v.getY() * v.getY();
  const double cx = (lu * v.getY() - lv * u.getY()) * k;
  const double cy = (lv * u.getX() - lu * v.getX()) * k;
  radius = std::sqrt(cx * cx + cy * cy);
  centre.set(p1.getX() + cx, p1.getY() + cy, p1.getZ());
}

PNT_3D CIRCLE_3D::getPntAngle(double a) const {
  return PNT_3D(centre.getX() + radius * std::cos(a), centre.getY() + radius * std::sin(a),
                centre.getZ());
}

void CIRCLE_3D::calc_bdry(RECT_3D& r) const {
  r.set(centre.getX() - radius, centre.getY() - radius, centre.getZ(), centre.getX() + radius,
        centre.getY() + radius, centre.getZ());
}

void CIRCLE_3D::scale(const PNT_3D& c, double f) {
  centre.scale(c, f);
  radius *= f;
}
