// geometry/nearest.cpp: the nearest point of a circle or an arc to a point, in X and Y.
// Both return the angle of p from the centre; the arc gives its nearer end when that angle
// is off the arc, the end point winning a tie.
#include <veltcore/geometry/arc.h>

#include <cmath>

double pntNearest(const CIRCLE_3D& c, const PNT_2D& p, PNT_2D& out) {
  const PNT_2D d = p - c.centre;
  // Exact test: only the centre itself has no direction.
  if (d.getX() == 0.0 && d.getY() == 0.0) {
    out = c.centre;
    return 0.0;
  }
  const double k = c.radius / std::sqrt(d.getX() * d.getX() + d.getY() * d.getY());
  out.set(c.centre.getX() + d.getX() * k, c.centre.getY() + d.getY() * k);
  return c.centre.angle(p);
}

double pntNearest(const ARC_3D& a, const PNT_2D& p, PNT_2D& out) {
  const double ang = a.centre.angle(p);
  if (a.angle_in_arc(ang)) {
    out = a.getPntAngle(ang);
    return ang;
  }
  PNT_3D ps, pe;
  a.end_points(ps, pe);
  out = p.dist_square(pe) <= p.dist_square(ps) ? pe : ps;
  return ang;
}
