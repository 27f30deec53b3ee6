// geometry/par_line.cpp: the parametric lines PAR_LINE_2D and PAR_LINE_3D.
// Only PAR_LINE_3D::create throws; the 2D form accepts a null direction, which the other
// operations treat by the exact tests noted below.
#include <veltcore/geometry/line.h>

#include <cmath>

#include "geometry/tolerance.h"

using veltcore::geom::nearZero;

// ---- PAR_LINE_2D -----------------------------------------------------------------------

PAR_LINE_2D::PAR_LINE_2D(const IMP_LINE_2D& l, double px, double py) : x(px), y(py) {
  if (nearZero(l.a) && nearZero(l.b)) {
    dx = 0.0;
    dy = 0.0;
    return;
  }
  const double n = std::sqrt(l.a * l.a + l.b * l.b);
  dx = l.b / n;
  dy = -l.a / n;
}

void PAR_LINE_2D::create(const PNT_2D& p, const PNT_2D& q) {
  x = p.getX();
  y = p.getY();
  dx = q.getX() - p.getX();
  dy = q.getY() - p.getY();
}

double PAR_LINE_2D::calcParam(const PNT_2D& p) const {
  const double ex = p.getX() - x;
  const double ey = p.getY() - y;
  // Exact zero tests: an axis-parallel line reads its parameter off the other axis.
  if (dx == 0.0) return dy != 0.0 ? ey / dy : 0.0;
  if (dy == 0.0) return ex / dx;
  const double t1 = ex / dx;
  const double t2 = ey / dy;
  // A point on the line gives the same ratio on both axes; otherwise project.
  if (t2 == t1) return t1;
  return (ex * dx + ey * dy) / (dx * dx + dy * dy);
}

void PAR_LINE_2D::Normalize() {
  const double n = std::sqrt(dx * dx + dy * dy);
  if (n != 0.0) {
    dx /= n;
    dy /= n;
  }
}

double PAR_LINE_2D::length() const {
  return std::sqrt(dx * dx + dy * dy);
}

bool PAR_LINE_2D::IsNull() const {
  return nearZero(dx) && nearZero(dy);
}

int PAR_LINE_2D::intersect(const IMP_LINE_2D& l, double& t) const {
  const double den = l.a * dx + l.b * dy;
  const double num = -(l.a * x + l.b * y + l.c);
  // Exact tests: any non-zero denominator is trusted to give a crossing.
  if (den != 0.0) {
    t = num / den;
    return 2;
  }
  return num == 0.0 ? 1 : 0;
}

int PAR_LINE_2D::intersect(const PAR_LINE_2D& o, double& t, double& s) const {
  const double den = dx * o.dy - o.dx * dy;
  const double ex = x - o.x;
  const double ey = y - o.y;
  if (den != 0.0) {
    t = (ey * o.dx - ex * o.dy) / den;
    s = (ey * dx - ex * dy) / den;
    return 2;
  }
  return ey * dx == ex * dy ? 1 : 0;
}

bool PAR_LINE_2D::sameSide(const PNT_2D& p, const PNT_2D& q) const {
  return IMP_LINE_2D(dy, -dx, -dy * x + dx * y).sameSide(p, q);
}

double PAR_LINE_2D::dist(const PNT_2D& p) const {
  return ((p.getX() - x) * dy - (p.getY() - y) * dx) / std::sqrt(dx * dx + dy * dy);
}

// ---- PAR_LINE_3D -----------------------------------------------------------------------

void PAR_LINE_3D::create(const PNT_3D& p, const PNT_3D& q) {
  const double ndx = q.getX() - p.getX();
  const double ndy = q.getY() - p.getY();
  const double ndz = q.getZ() - p.getZ();
  if (nearZero(ndx) && nearZero(ndy) && nearZero(ndz)) throw SamePointException();
  x = p.getX();
  y = p.getY();
  z = p.getZ();
  dx = ndx;
  dy = ndy;
  dz = ndz;
}

double PAR_LINE_3D::calcParam(const PNT_3D& p) const {
  const double ex = p.getX() - x;
  const double ey = p.getY() - y;
  const double ez = p.getZ() - z;
  return (ex * dx + ey * dy + ez * dz) / (dx * dx + dy * dy + dz * dz);
}
