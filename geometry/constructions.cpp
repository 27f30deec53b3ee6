// geometry/constructions.cpp: free constructions on points, segments and parametric lines.
// Pure functions of their arguments. pntPerp is the only one that throws (VELTMathException);
// the nearest-point and offset functions answer degenerate segments with defined values.
#include <veltcore/geometry/constructions.h>

#include <cmath>

#include "geometry/tolerance.h"

using veltcore::geom::kCollinearTol;

namespace {

double dot2(const PNT_2D& u, const PNT_2D& v) {
  return u.getX() * v.getX() + u.getY() * v.getY();
}

// Parameter of the foot of p on the line a + t*(b - a); the caller ensures a != b.
double footParam(const PNT_2D& a, const PNT_2D& b, const PNT_2D& p) {
  const PNT_2D d = b - a;
  return dot2(p - a, d) / dot2(d, d);
}

}  // namespace

PNT_3D prodVect(const PNT_3D& u, const PNT_3D& v) {
  return PNT_3D(u.getY() * v.getZ() - u.getZ() * v.getY(),
                u.getZ() * v.getX() - u.getX() * v.getZ(),
                u.getX() * v.getY() - u.getY() * v.getX());
}

PNT_3D prodVect(const PNT_3D& a, const PNT_3D& b, const PNT_3D& c) {
  return prodVect(b - a, c - b);
}

bool pntsInLine(const PNT_2D& a, const PNT_2D& b, const PNT_2D& c) {
  const PNT_2D u = b - a;
  const PNT_2D v = c - a;
  const double cross = u.getX() * v.getY() - u.getY() * v.getX();
  // When a == b the distance is 0/0 (NaN) and the answer is false.
  const double d = std::sqrt(cross * cross / dot2(u, u));
  return d < kCollinearTol;
}

bool pntsInLine(const PNT_3D& a, const PNT_3D& b, const PNT_3D& c) {
  const PNT_3D n = prodVect(a, b, c);
  return std::fabs(n.getX()) < kCollinearTol && std::fabs(n.getY()) < kCollinearTol &&
         std::fabs(n.getZ()) < kCollinearTol;
}

double pntPerp(const PNT_2D& a, const PNT_2D& b, const PNT_2D& p, PNT_2D& foot) {
  if (a == b) throw VELTMathException();
  const double t = footParam(a, b, p);
  foot.set(a.getX() + t * (b.getX() - a.getX()), a.getY() + t * (b.getY() - a.getY()));
  return t;
}

double pntPerp(const PNT_3D& a, const PNT_3D& b, const PNT_3D& p, PNT_3D& foot) {
  if (a == b) throw VELTMathException();
  const PNT_3D d = b - a;
  const PNT_3D w = p - a;
  const double t = (w.getX() * d.getX() + w.getY() * d.getY() + w.getZ() * d.getZ()) /
                   (d.getX() * d.getX() + d.getY() * d.getY() + d.getZ() * d.getZ());
  foot.set(a.getX() + t * d.getX(), a.getY() + t * d.getY(), a.getZ() + t * d.getZ());
  return t;
}

double pntPerp(const LINE_2D& l, const PNT_2D& p, PNT_2D& foot) {
  return pntPerp(l.start, l.end, p, foot);
}

double pntPerp(const LINE_3D& l, const PNT_3D& p, PNT_2D& foot) {
  // The PNT_2D overload sees only X and Y, so a segment that is vertical in space throws.
  return pntPerp(static_cast<const PNT_2D&>(l.start), static_cast<const PNT_2D&>(l.end),
                 static_cast<const PNT_2D&>(p), foot);
}

double pntNearest(const LINE_2D& l, const PNT_2D& p, PNT_2D& out) {
  const PNT_2D d = l.end - l.start;
  if (dot2(d, d) == 0.0) {
    out = l.start;
    return 0.0;
  }
  const double t = footParam(l.start, l.end, p);
  if (t <= 0.0) {
    out = l.start;
  } else if (t >= 1.0) {
    out = l.end;
  } else {
    out.set(l.start.getX() + t * d.getX(), l.start.getY() + t * d.getY());
  }
  return t;
}

double pntNearest(const LINE_3D& l, const PNT_2D& p, PNT_3D& out) {
  // The parameter comes from the XY projection (p has no Z); the point found keeps the
  // segment's own Z, interpolated between the ends.
  const PNT_2D s = l.start;
  const PNT_2D e = l.end;
  const PNT_2D d = e - s;
  // A segment with both ends on one vertical has no XY parameter: it answers like a null
  // segment, with its start point.
  if (dot2(d, d) == 0.0) {
    out = l.start;
    return 0.0;
  }
  const double t = footParam(s, e, p);
  if (t <= 0.0) {
    out = l.start;
  } else if (t >= 1.0) {
    out = l.end;
  } else {
    const PNT_3D d3 = l.end - l.start;
    out.set(l.start.getX() + t * d3.getX(), l.start.getY() + t * d3.getY(),
            l.start.getZ() + t * d3.getZ());
  }
  return t;
}

void CalcPerpendic(const PAR_LINE_2D& l, PAR_LINE_2D& out) {
  out = PAR_LINE_2D(l.x, l.y, -l.dy, l.dx);
}

void TranslateLine(LINE_2D& l, double d) {
  const PNT_2D dir = l.end - l.start;
  const double n = std::sqrt(dot2(dir, dir));
  if (n == 0.0) return;
  const double ux = dir.getX() / n;
  const double uy = dir.getY() / n;
  // (uy, -ux) is the direction turned clockwise: the right-hand side.
  const PNT_2D off(uy * d, -ux * d);
  l.start = l.start + off;
  l.end = l.end + off;
}

LINE_2D CalcParalLineAt(const LINE_2D& l, double d) {
  LINE_2D out = l;
  TranslateLine(out, d);
  return out;
}

LINE_3D CalcParalLineAtPlane(const LINE_3D& l, double d) {
  LINE_2D flat(l.start, l.end);
  TranslateLine(flat, d);
  return LINE_3D(flat.start.getX(), flat.start.getY(), l.start.getZ(), flat.end.getX(),
                 flat.end.getY(), l.end.getZ());
}

bool CalcolaPuntoIntersezione(const PAR_LINE_2D& l1, const PAR_LINE_2D& l2, PNT_2D& out) {
  double t, s;
  switch (l1.intersect(l2, t, s)) {
    case 2:
      l1.calcPt(t, out);
      return true;
    case 1:
      // Coincident lines: any point is common; l1's point at parameter 1 is the answer.
      l1.calcPt(1.0, out);
      return true;
    default:
      return false;
  }
}
