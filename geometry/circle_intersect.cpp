// geometry/circle_intersect.cpp: crossings of a CIRCLE_3D with segments, implicit and
// parametric lines and other circles, in X and Y. Roots come from risolvi_2; touching cases
// give two equal points and count 2, never 1. Targets are written only as each overload says.
#include <veltcore/geometry/arc.h>

#include <algorithm>
#include <cmath>

#include <veltcore/geometry/constructions.h>

namespace {

// Half chord at distance off from the centre. The callers have checked |off| <= r up to the
// rounding of their bound, so a tiny negative square is taken as the tangent case.
double halfChord(double r, double off) {
  return std::sqrt(std::max(0.0, r * r - off * off));
}

// Stores an accepted point in the next slot (p1, then p2) and counts it; a null slot is
// skipped but the point still counts.
void accept(long& count, PNT_2D* p1, PNT_2D* p2, double x, double y) {
  PNT_2D* target = count == 0 ? p1 : p2;
  if (target != nullptr) target->set(x, y);
  ++count;
}

}  // namespace

long CIRCLE_3D::intersect(const LINE_2D& s, PNT_2D* p1, PNT_2D* p2) const {
  const PNT_2D d = s.end - s.start;
  const PNT_2D w = s.start - centre;
  const double dd = d.getX() * d.getX() + d.getY() * d.getY();
  const double dw = d.getX() * w.getX() + d.getY() * w.getY();
  const double ww = w.getX() * w.getX() + w.getY() * w.getY();
  double t[2];
  const int roots = risolvi_2(dd, dw, ww - radius * radius, t[0], t[1]);
  if (roots < 1) return 0;
  long count = 0;
  for (int i = 0; i < roots; ++i) {
    if (t[i] < 0.0 || t[i] > 1.0) continue;
    accept(count, p1, p2, s.start.getX() + t[i] * d.getX(), s.start.getY() + t[i] * d.getY());
  }
  return count;
}

long CIRCLE_3D::intersect_hor(const LINE_2D& s, PNT_2D* p1, PNT_2D* p2) const {
  const double y = s.start.getY();
  if (centre.getY() + radius < y || centre.getY() - radius > y) return 0;
  const double h = halfChord(radius, y - centre.getY());
  const double xs[2] = {centre.getX() + h, centre.getX() - h};
  long count = 0;
  for (double x : xs) {
    if (s.start.getX() <= x && x <= s.end.getX()) accept(count, p1, p2, x, y);
  }
  return count;
}

long CIRCLE_3D::intersect_ver(const LINE_2D& s, PNT_2D* p1, PNT_2D* p2) const {
  const double x = s.start.getX();
  if (centre.getX() + radius < x || centre.getX() - radius > x) return 0;
  const double h = halfChord(radius, x - centre.getX());
  const double ys[2] = {centre.getY() + h, centre.getY() - h};
  long count = 0;
  for (double y : ys) {
    if (s.start.getY() <= y && y <= s.end.getY()) accept(count, p1, p2, x, y);
  }
  return count;
}

long CIRCLE_3D::intersect(const IMP_LINE_2D& l, PNT_2D* p1, PNT_2D* p2) const {
  const double cx = centre.getX();
  const double cy = centre.getY();
  const double rr = radius * radius;
  const bool write = p1 != nullptr && p2 != nullptr;
  // A line without a normal (a = b = 0) is no line: nothing to cross.
  if (l.a == 0.0 && l.b == 0.0) return 0;
  if (l.a != 0.0 && l.b != 0.0) {
    // Solve along the axis the line is closer to, so that the slope m stays within 1.
    const bool alongY = std::fabs(l.b) < std::fabs(l.a);
    const double m = alongY ? -l.b / l.a : -l.a / l.b;
    const double q = alongY ? -l.c / l.a : -l.c / l.b;
    const double u = q - (alongY ? cx : cy);
    const double k = alongY ? cy : cx;
    double v1, v2;
    if (risolvi_2(m * m + 1.0, -(k - m * u), k * k + u * u - rr, v1, v2) != 2) return 0;
    if (write) {
      if (alongY) {
        p1->set(m * v1 + q, v1);
        p2->set(m * v2 + q, v2);
      } else {
        p1->set(v1, m * v1 + q);
        p2->set(v2, m * v2 + q);
      }
    }
    return 2;
  }
  if (l.b == 0.0) {
    const double x0 = -l.c / l.a;
    if (!(cx - radius <= x0 && x0 <= cx + radius)) return 0;
    const double h = halfChord(radius, x0 - cx);
    if (write) {
      p1->set(x0, cy - h);
      p2->set(x0, cy + h);
    }
    return 2;
  }
  const double y0 = -l.c / l.b;
  if (!(cy - radius <= y0 && y0 <= cy + radius)) return 0;
  const double h = halfChord(radius, y0 - cy);
  if (write) {
    p1->set(cx - h, y0);
    p2->set(cx + h, y0);
  }
  return 2;
}

long CIRCLE_3D::intersect(const CIRCLE_3D& o, PNT_2D* p1, PNT_2D* p2) const {
  const double dx = o.centre.getX() - centre.getX();
  const double dy = o.centre.getY() - centre.getY();
  const double dd = dx * dx + dy * dy;
  // Apart, or one inside the other.
  const double sum = radius + o.radius;
  const double diff = o.radius - radius;
  if (sum * sum < dd || diff * diff > dd) return 0;
  // The radical line, with this circle moved to the origin.
  const CIRCLE_3D atOrigin(0.0, 0.0, centre.getZ(), radius);
  const IMP_LINE_2D radical(-2.0 * dx, -2.0 * dy, dd + radius * radius - o.radius * o.radius);
  const long count = atOrigin.intersect(radical, p1, p2);
  if (p1 != nullptr && p2 != nullptr) {
    if (count >= 1) *p1 = *p1 + centre;
    if (count == 2) *p2 = *p2 + centre;
  }
  return count;
}

long CIRCLE_3D::intersect(const PAR_LINE_2D& l, double& t1, double& t2) const {
  const double wx = centre.getX() - l.x;
  const double wy = centre.getY() - l.y;
  return risolvi_2(l.dx * l.dx + l.dy * l.dy, -(wx * l.dx + wy * l.dy),
                   wx * wx + wy * wy - radius * radius, t1, t2);
}
