// geometry/arc.cpp: the ARC_3D value: angle normalisation, three-point construction, the
// angle test, end points, box, rotation and distances. Arcs run counter-clockwise; an end at
// or before the start passes through angle 0. The angle test allows tol(v) at either end.
#include <veltcore/geometry/arc.h>

#include <cmath>

#include "geometry/arc_angles.h"

using veltcore::geom::kPi;
using veltcore::geom::kTwoPi;
using veltcore::geom::normAngle;
using veltcore::geom::tol;

void ARC_3D::set(double x, double y, double z, double r, double s, double e) {
  CIRCLE_3D::set(x, y, z, r);
  start = normAngle(s);
  end = normAngle(e);
}

void ARC_3D::create(const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3) {
  // Build into a copy so that a throw leaves this arc unchanged.
  CIRCLE_3D c;
  c.create(p1, p2, p3);
  const double a1 = c.centre.angle(p1);
  const double a2 = c.centre.angle(p2);
  const double a3 = c.centre.angle(p3);
  // Does p2 lie on the clockwise stretch from p1 to p3?
  bool clockwise;
  if (a3 - tol(a3) <= a1) {
    clockwise = a3 - tol(a3) <= a2 && a2 <= a1 + tol(a1);
  } else {
    clockwise = !(a1 - tol(a1) <= a2 && a2 <= a3 + tol(a3));
  }
  double s = clockwise ? a3 : a1;
  double e = clockwise ? a1 : a3;
  if (s > kTwoPi) s -= kTwoPi;
  if (e > kTwoPi) e -= kTwoPi;
  CIRCLE_3D::operator=(c);
  start = s;
  end = e;
}

void ARC_3D::getSafeAngles(double& s, double& e) const {
  s = start;
  e = end <= start ? end + kTwoPi : end;
}

bool ARC_3D::angle_in_arc(double a) const {
  a = normAngle(a);
  // Unlike getSafeAngles, equal angles are not unrolled here: they hold only that angle.
  const double e = start > end ? end + kTwoPi : end;
  const double lo = start - tol(start);
  const double hi = e + tol(e);
  if (lo <= a && a <= hi) return true;
  if (e <= kTwoPi) return false;
  // The arc runs past 2*pi: try the same direction one turn on.
  a += kTwoPi;
  return lo <= a && a <= hi;
}

void ARC_3D::end_points(PNT_3D& ps, PNT_3D& pe) const {
  ps = getPntAngle(start);
  pe = getPntAngle(end);
}

void ARC_3D::calc_bdry(RECT_3D& r) const {
  PNT_3D ps, pe;
  end_points(ps, pe);
  r.set(ps, pe);
  // Widen by each quadrant point the arc passes; e runs past 2*pi for an arc through 0.
  const double e = end < start ? end + kTwoPi : end;
  const double cx = centre.getX();
  const double cy = centre.getY();
  if (e > kTwoPi) r.max.setX(cx + radius);
  if ((start < kPi && kPi < e) || e > 3.0 * kPi) r.min.setX(cx - radius);
  if ((start < kPi / 2.0 && kPi / 2.0 < e) || e > 5.0 * kPi / 2.0) r.max.setY(cy + radius);
  if ((start < 3.0 * kPi / 2.0 && 3.0 * kPi / 2.0 < e) || e > 7.0 * kPi / 2.0) {
    r.min.setY(cy - radius);
  }
}

void ARC_3D::rotate(const PNT_3D& c, double a) {
  centre.rotate(c, a);
  // One step each way, not a full normalisation: the angles start within [0, 2*pi].
  start += a;
  if (start < 0.0) {
    start += kTwoPi;
  } else if (start > kTwoPi) {
    start -= kTwoPi;
  }
  end += a;
  if (end < 0.0) {
    end += kTwoPi;
  } else if (end > kTwoPi) {
    end -= kTwoPi;
  }
}

double ARC_3D::dist(const PNT_2D& p) const {
  if (angle_in_arc(centre.angle(p))) return std::fabs(p.dist(centre) - radius);
  return dist_endpoints(p);
}

double ARC_3D::dist_endpoints(const PNT_2D& p) const {
  PNT_3D ps, pe;
  end_points(ps, pe);
  const double ds = p.dist_square(ps);
  const double de = p.dist_square(pe);
  // The end point wins ties, within the tolerance of the start's distance.
  return de <= ds + tol(ds) ? std::sqrt(de) : std::sqrt(ds);
}
