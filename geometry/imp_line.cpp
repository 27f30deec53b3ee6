// geometry/imp_line.cpp: the implicit line IMP_LINE_2D (a*x + b*y + c = 0).
// create throws IMP_LINE_2D::SamePointException for coincident points; normalize fixes the
// sign so that the origin never lies on the positive side.
#include <veltcore/geometry/line.h>

#include <cmath>

#include "geometry/tolerance.h"

using veltcore::geom::kEps;
using veltcore::geom::nearZero;

IMP_LINE_2D::IMP_LINE_2D(const IMP_LINE_2D& l, double d)
    : a(l.a), b(l.b), c(l.c - std::sqrt(l.a * l.a + l.b * l.b) * d) {}

void IMP_LINE_2D::create(const PNT_2D& p, const PNT_2D& q) {
  const double dx = q.getX() - p.getX();
  const double dy = q.getY() - p.getY();
  if (nearZero(dx) && nearZero(dy)) throw SamePointException();
  a = dy;
  b = -dx;
  c = -p.getX() * dy + dx * p.getY();
}

void IMP_LINE_2D::normalize() {
  double s = 1.0 / std::sqrt(a * a + b * b);
  // The sign is chosen from the position of the origin, so both directions of a segment
  // give the same line; through the origin, b decides.
  if (c > kEps) {
    s = -s;
  } else if (std::fabs(c) <= kEps && b < -kEps) {
    s = -s;
  }
  a *= s;
  b *= s;
  c *= s;
}

bool IMP_LINE_2D::intersect(const IMP_LINE_2D& o, PNT_2D& out) const {
  // Equal coefficients are the same line; proportional ones are caught by det below.
  if (nearZero(a - o.a) && nearZero(b - o.b) && nearZero(c - o.c)) return false;
  const double det = a * o.b - o.a * b;
  if (std::fabs(det) <= kEps) return false;
  out.set((b * o.c - o.b * c) / det, (o.a * c - a * o.c) / det);
  return true;
}

void IMP_LINE_2D::perpend(const PNT_2D& p, IMP_LINE_2D& out) const {
  // Locals first: out may be this line.
  const double na = b;
  const double nb = -a;
  const double nc = a * p.getY() - b * p.getX();
  out.set(na, nb, nc);
}

bool IMP_LINE_2D::sameSide(const PNT_2D& p, const PNT_2D& q) const {
  const double e1 = eval(p);
  const double e2 = eval(q);
  return (e1 < 0 && e2 < 0) || (e1 > 0 && e2 > 0);
}
