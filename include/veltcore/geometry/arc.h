// veltcore/geometry/arc.h: the circle and arc values (CIRCLE_3D, ARC_3D), their intersections,
// and the curve constructions on them (tangents, fillets, bulge arcs, chain offsets and sides).
// Planar work uses X and Y only; Z is the centre's. Arcs run counter-clockwise start -> end.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/geometry/line.h>
#include <veltcore/geometry/rect.h>

// A circle in the plane z = centre.z. Default construction gives the null circle at the origin.
class CIRCLE_3D {
 public:
  // Thrown by create (and the three-point constructors) when the three points are in line.
  class LinearPointExcepion {};

  CIRCLE_3D() : centre(0.0, 0.0, 0.0), radius(0.0) {}
  CIRCLE_3D(double x, double y, double z, double r) : centre(x, y, z), radius(r) {}
  // The circle through three points; throws LinearPointExcepion when they are in line.
  CIRCLE_3D(const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3) : radius(0.0) {
    create(p1, p2, p3);
  }

  void set(double x, double y, double z, double r) {
    centre.set(x, y, z);
    radius = r;
  }
  void get(double& x, double& y, double& z, double& r) const {
    centre.get(x, y, z);
    r = radius;
  }
  // The circle through p1, p2, p3 (X and Y), at p1's Z. Throws LinearPointExcepion and leaves
  // the circle unchanged when the points are in line.
  void create(const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3);

  // The point of the circle at angle a, at the centre's Z.
  PNT_3D getPntAngle(double a) const;
  void calc_bdry(RECT_3D& r) const;
  // Scales the centre about c (all three axes) and multiplies the radius by f.
  void scale(const PNT_3D& c, double f);

  // The crossings with the segment s (parameters 0..1 on s). The first accepted point goes to
  // p1, the second to p2; a null target is skipped. A tangent segment counts 2, equal points.
  long intersect(const LINE_2D& s, PNT_2D* p1, PNT_2D* p2) const;
  // s is horizontal (y = s.start.y) with s.start.x <= s.end.x; candidates cx + h, then cx - h.
  long intersect_hor(const LINE_2D& s, PNT_2D* p1, PNT_2D* p2) const;
  // s is vertical (x = s.start.x) with s.start.y <= s.end.y; candidates cy + h, then cy - h.
  long intersect_ver(const LINE_2D& s, PNT_2D* p1, PNT_2D* p2) const;
  // 2 or 0, never 1 (a tangent line gives two equal points). With a null pointer the count
  // is returned and nothing is written.
  long intersect(const IMP_LINE_2D& l, PNT_2D* p1, PNT_2D* p2) const;
  // 2 (touching circles give two equal points) or 0; points written only when both are given.
  long intersect(const CIRCLE_3D& o, PNT_2D* p1, PNT_2D* p2) const;
  // The parameters on l of the crossings, as the result of risolvi_2.
  long intersect(const PAR_LINE_2D& l, double& t1, double& t2) const;

  bool operator==(const CIRCLE_3D& c) const { return centre == c.centre && radius == c.radius; }
  bool operator!=(const CIRCLE_3D& c) const { return !(*this == c); }

  PNT_3D centre;
  double radius;
};

// The arc of a circle from start to end, counter-clockwise; end <= start passes through angle
// 0, and equal angles mean the full circle. The six-double constructor and set keep both
// angles in [0, 2*pi] (2*pi itself stays). Default construction gives the null arc at 0.
class ARC_3D : public CIRCLE_3D {
 public:
  ARC_3D() : start(0.0), end(0.0) {}
  ARC_3D(double x, double y, double z, double r, double s, double e) : start(0.0), end(0.0) {
    set(x, y, z, r, s, e);
  }
  // The arc through three points, running from p1 or p3 so that it passes p2; throws
  // CIRCLE_3D::LinearPointExcepion when they are in line.
  ARC_3D(const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3) : start(0.0), end(0.0) {
    create(p1, p2, p3);
  }

  void set(double x, double y, double z, double r, double s, double e);
  void get(double& x, double& y, double& z, double& r, double& s, double& e) const {
    CIRCLE_3D::get(x, y, z, r);
    s = start;
    e = end;
  }
  void create(const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3);

  // s = start; e = end, or end + 2*pi when end <= start, so that s < e always.
  void getSafeAngles(double& s, double& e) const;
  // Whether angle a lies on the arc, with a tolerance of |v| * 1e-12 + 1e-12 at each end.
  bool angle_in_arc(double a) const;
  void end_points(PNT_3D& ps, PNT_3D& pe) const;
  // The box of the end points widened by the quadrant points the arc passes.
  void calc_bdry(RECT_3D& r) const;
  // Turns the centre about the vertical axis through c and adds a to both angles.
  void rotate(const PNT_3D& c, double a);
  // Distance from p to the arc: to the circle when p's angle is on the arc, else to an end.
  double dist(const PNT_2D& p) const;
  double dist_endpoints(const PNT_2D& p) const;

  // Each overload intersects the supporting circle, then keeps the points on the arc; an
  // accepted point always comes first (p1 / t1).
  long intersect(const LINE_2D& s, PNT_2D& p1, PNT_2D& p2) const;
  long intersect(const LINE_2D& s) const;
  long intersect(const IMP_LINE_2D& l, PNT_2D& p1, PNT_2D& p2) const;
  long intersect(const PAR_LINE_2D& l, double& t1, double& t2) const;
  long intersect(const CIRCLE_3D& c, PNT_2D& p1, PNT_2D& p2) const;
  // A point counts only when it lies on both arcs.
  long intersect(const ARC_3D& o, PNT_2D& p1, PNT_2D& p2) const;

  bool operator==(const ARC_3D& a) const {
    return CIRCLE_3D::operator==(a) && start == a.start && end == a.end;
  }
  bool operator!=(const ARC_3D& a) const { return !(*this == a); }

  double start;
  double end;
};

// The circle point nearest p; returns p's angle from the centre (0, with out = the centre,
// when p is the centre).
double pntNearest(const CIRCLE_3D& c, const PNT_2D& p, PNT_2D& out);
// The arc point nearest p (the nearer end when p's angle is off the arc); returns p's angle.
double pntNearest(const ARC_3D& a, const PNT_2D& p, PNT_2D& out);

// Tangent points on c of the lines through p: 0 (p inside), 1 (p on c: p itself) or 2.
long pntTang(const CIRCLE_3D& c, const PNT_3D& p, PNT_3D out[2]);

// The circle of radius r tangent to l1 and l2 in the angle that holds l1's point at t1 and
// l2's point at t2 (z = 0). False for parallel lines or points in line with the corner.
bool CreateCircle(const PAR_LINE_2D& l1, double t1, const PAR_LINE_2D& l2, double t2, double r,
                  CIRCLE_3D& out);

// The arc from p0 to p1 of the polyline bulge b (tan of a quarter of the included angle,
// positive counter-clockwise). False, out untouched, when b is 0.
bool createArcFromBulge(const PNT_3D& p0, const PNT_3D& p1, double bulge, ARC_3D& out);

// Offsets the chain pts[0..n) by d (positive to the right of its run) and writes the offset
// corners to out (room for n points); returns how many were written. Corners that fold back
// remove the shorter offset segment and the pass restarts; parallel neighbouring offsets (a
// straight run, or a chain turning back) meet at the end of the earlier one.
int CalcParalLine(const PNT_2D* pts, int n, double d, bool closed, PNT_2D* out);
// The same in XY; each corner takes the Z of the offset segment it ends.
int CalcParalLine(const PNT_3D* pts, int n, double d, bool closed, PNT_3D* out);

// Whether p lies on the left of the chain pts[0..n) (closed adds pts[n-1] -> pts[0]).
bool PtLeftSide(const PNT_2D* pts, int n, bool closed, const PNT_2D& p);
