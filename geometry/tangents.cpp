// geometry/tangents.cpp: tangent points from a point to a circle (pntTang) and the fillet
// circle between two lines (CreateCircle). Planar; pntTang writes at the circle's Z and
// CreateCircle at Z = 0. Degenerate input answers 0 / false rather than throwing.
#include <veltcore/geometry/arc.h>

#include <cmath>

#include "geometry/arc_angles.h"

using veltcore::geom::kPi;
using veltcore::geom::kTwoPi;

namespace {

// The foot of the perpendicular from the centre to the line through p (at dx, dy from the
// centre) with slope m: the tangent point of that line.
PNT_3D tangentPoint(const CIRCLE_3D& c, double dx, double dy, double m) {
  const double x = -(m * dy - m * m * dx) / (1.0 + m * m);
  const double y = (x - dx) * m + dy;
  return PNT_3D(c.centre.getX() + x, c.centre.getY() + y, c.centre.getZ());
}

}  // namespace

long pntTang(const CIRCLE_3D& c, const PNT_3D& p, PNT_3D out[2]) {
  const double dx = p.getX() - c.centre.getX();
  const double dy = p.getY() - c.centre.getY();
  const double rr = c.radius * c.radius;
  const double a = dx * dx - rr;
  const double b = dy * dy - rr;
  if (a != 0.0) {
    // The slopes m of the tangents through p solve a*m^2 - 2*dx*dy*m + b = 0.
    const double disc = dx * dx + dy * dy - rr;
    if (disc < 0.0) return 0;
    if (disc == 0.0) {
      out[0] = tangentPoint(c, dx, dy, dx * dy / a);
      return 1;
    }
    const double root = c.radius * std::sqrt(disc);
    out[0] = tangentPoint(c, dx, dy, (dx * dy + root) / a);
    out[1] = tangentPoint(c, dx, dy, (dx * dy - root) / a);
    return 2;
  }
  // |dx| = r: one tangent is vertical and touches the circle at its left or right point.
  out[0] = PNT_3D(c.centre.getX() + (dx <= 0.0 ? -c.radius : c.radius), c.centre.getY(),
                  c.centre.getZ());
  if (dy == 0.0) return 1;
  out[1] = tangentPoint(c, dx, dy, b / (2.0 * dx * dy));
  return 2;
}

bool CreateCircle(const PAR_LINE_2D& l1, double t1, const PAR_LINE_2D& l2, double t2, double r,
                  CIRCLE_3D& out) {
  double t, s;
  if (l1.intersect(l2, t, s) != 2) return false;
  PNT_2D corner, a, b;
  l1.calcPt(t, corner);
  l1.calcPt(t1, a);
  l2.calcPt(t2, b);
  // Turn the figure about the corner so that the ray towards a runs along +X; a itself is
  // then on +X and only b needs turning.
  const double alpha = corner.angle(a);
  b.rotate(corner, -alpha);
  double beta = corner.angle(b);
  if (beta > kPi) beta -= kTwoPi;
  const double h = beta / 2.0;
  // Rays in line (or b on the corner): no angle to fill.
  if (std::fabs(std::sin(h)) <= veltcore::geom::kEps) return false;
  // The centre is on the bisector, r / |sin h| from the corner; then turned back.
  const double dist = r / std::fabs(std::sin(h));
  PNT_2D centre(corner.getX() + dist * std::cos(h), corner.getY() + dist * std::sin(h));
  centre.rotate(corner, alpha);
  out.set(centre.getX(), centre.getY(), 0.0, r);
  return true;
}
