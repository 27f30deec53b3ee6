// geometry/arc_intersect.cpp: ARC_3D crossings: the supporting circle's crossings, kept when
// their angle is on the arc. An accepted point always ends in the first slot: a rejected
// first point is overwritten by the second, whatever the second turns out to be.
#include <veltcore/geometry/arc.h>

namespace {

// Filters the n (< 1: none) crossings v1, v2 through onArc, moving v2 into v1 when v1 fails.
// With n == 1, v1 alone is tested (and still replaced by v2 when rejected).
template <class T, class Pred>
long keepOnArc(long n, T& v1, const T& v2, Pred onArc) {
  if (n < 1) return 0;
  long count = 0;
  if (onArc(v1)) {
    count = 1;
  } else {
    v1 = v2;
  }
  if (n >= 2 && onArc(v2)) ++count;
  return count;
}

}  // namespace

long ARC_3D::intersect(const LINE_2D& s, PNT_2D& p1, PNT_2D& p2) const {
  const long n = CIRCLE_3D::intersect(s, &p1, &p2);
  return keepOnArc(n, p1, p2, [this](const PNT_2D& p) { return angle_in_arc(centre.angle(p)); });
}

long ARC_3D::intersect(const LINE_2D& s) const {
  PNT_2D pts[2];
  const long n = CIRCLE_3D::intersect(s, &pts[0], &pts[1]);
  long count = 0;
  for (long i = 0; i < n; ++i) {
    if (angle_in_arc(centre.angle(pts[i]))) ++count;
  }
  return count;
}

long ARC_3D::intersect(const IMP_LINE_2D& l, PNT_2D& p1, PNT_2D& p2) const {
  const long n = CIRCLE_3D::intersect(l, &p1, &p2);
  return keepOnArc(n, p1, p2, [this](const PNT_2D& p) { return angle_in_arc(centre.angle(p)); });
}

long ARC_3D::intersect(const PAR_LINE_2D& l, double& t1, double& t2) const {
  const long n = CIRCLE_3D::intersect(l, t1, t2);
  return keepOnArc(n, t1, t2, [this, &l](double t) {
    PNT_2D p;
    l.calcPt(t, p);
    return angle_in_arc(centre.angle(p));
  });
}

long ARC_3D::intersect(const CIRCLE_3D& c, PNT_2D& p1, PNT_2D& p2) const {
  const long n = CIRCLE_3D::intersect(c, &p1, &p2);
  return keepOnArc(n, p1, p2, [this](const PNT_2D& p) { return angle_in_arc(centre.angle(p)); });
}

long ARC_3D::intersect(const ARC_3D& o, PNT_2D& p1, PNT_2D& p2) const {
  const long n = CIRCLE_3D::intersect(static_cast<const CIRCLE_3D&>(o), &p1, &p2);
  return keepOnArc(n, p1, p2, [this, &o](const PNT_2D& p) {
    return angle_in_arc(centre.angle(p)) && o.angle_in_arc(o.centre.angle(p));
  });
}
