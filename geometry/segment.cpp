// geometry/segment.cpp: the segments LINE_2D and LINE_3D (distance, crossing, side tests).
// Reads and writes only the two end points. Crossing parameters within 1e-12 of 0 or 1 are
// snapped to that end, so segments that share an end point always meet there.
#include <veltcore/geometry/line.h>

#include <cmath>

#include "geometry/tolerance.h"

using veltcore::geom::equalWithin;
using veltcore::geom::kEps;
using veltcore::geom::nearZero;

namespace {

// Crossing parameters of the lines through two segments: P + t*D meets Q + s*E.
// False when the directions are parallel (or collinear) within kEps.
bool crossParams(const LINE_2D& l, const LINE_2D& o, double& t, double& s) {
  const PNT_2D d = l.end - l.start;
  const PNT_2D e = o.end - o.start;
  const double den = e.getX() * d.getY() - e.getY() * d.getX();
  if (std::fabs(den) <= kEps) return false;
  const double wx = o.start.getX() - l.start.getX();
  const double wy = o.start.getY() - l.start.getY();
  t = (e.getX() * wy - e.getY() * wx) / den;
  s = (d.getX() * wy - d.getY() * wx) / den;
  return true;
}

bool atEnd(double v) {
  return nearZero(v) || equalWithin(v, 1.0);
}

double snapToEnd(double v) {
  if (nearZero(v)) return 0.0;
  if (equalWithin(v, 1.0)) return 1.0;
  return v;
}

bool inUnit(double v) {
  return 0.0 <= v && v <= 1.0;
}

}  // namespace

// ---- LINE_2D ---------------------------------------------------------------------------

LINE_2D::LINE_2D(const PAR_LINE_2D& l) : start(l.x, l.y), end(l.x + l.dx, l.y + l.dy) {}

double LINE_2D::dist(const PNT_2D& p) const {
  const PNT_2D d = end - start;
  if (nearZero(d.getX()) && nearZero(d.getY())) return start.dist(p);
  IMP_LINE_2D line(start, end);
  line.normalize();
  return line.eval(p);
}

bool LINE_2D::intersect(const LINE_2D& o, PNT_2D& out) const {
  double t, s;
  if (!crossParams(*this, o, t, s)) return false;
  t = snapToEnd(t);
  s = snapToEnd(s);
  if (!inUnit(t) || !inUnit(s)) return false;
  const PNT_2D d = end - start;
  out.set(start.getX() + t * d.getX(), start.getY() + t * d.getY());
  return true;
}

bool LINE_2D::intersect(const LINE_2D& o) const {
  double t, s;
  if (!crossParams(*this, o, t, s)) return false;
  // Kept as the contract: either parameter at an end answers true without the other one
  // being looked at, so this can say true where intersect(o, out) says false.
  if (atEnd(t) || atEnd(s)) return true;
  return inUnit(t) && inUnit(s);
}

bool LINE_2D::ptLeftSide(const PNT_2D& p) const {
  return (end.getX() - start.getX()) * (p.getY() - start.getY()) >
         (end.getY() - start.getY()) * (p.getX() - start.getX());
}

// ---- LINE_3D ---------------------------------------------------------------------------

void LINE_3D::ptMedio(PNT_3D& mid) const {
  mid.set(start.getX() + (end.getX() - start.getX()) / 2,
          start.getY() + (end.getY() - start.getY()) / 2,
          start.getZ() + (end.getZ() - start.getZ()) / 2);
}

bool LINE_3D::ptLeftSide(const PNT_3D& p) const {
  // Exact comparison on purpose: only a truly vertical segment takes the fixed answer.
  if (start.getX() == end.getX()) return p.getX() < start.getX();
  return (end.getX() - start.getX()) * (p.getY() - start.getY()) >
         (end.getY() - start.getY()) * (p.getX() - start.getX());
}
