// veltcore/geometry/line.h: segments (LINE_2D, LINE_3D), parametric lines (PAR_LINE_2D,
// PAR_LINE_3D) and implicit lines (IMP_LINE_2D), with the exceptions their constructions throw.
// Plain values; point comparisons are exact, while the degenerate-input tests use 1e-12.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/geometry/rect.h>

class PAR_LINE_2D;
class IMP_LINE_2D;

// A segment from start to end; its direction is end - start.
class LINE_2D {
 public:
  LINE_2D() {}
  LINE_2D(double x1, double y1, double x2, double y2) : start(x1, y1), end(x2, y2) {}
  LINE_2D(const PNT_2D& s, const PNT_2D& e) : start(s), end(e) {}
  // The segment from the line's base point to base point + direction (parameters 0 to 1).
  explicit LINE_2D(const PAR_LINE_2D& l);

  void set(double x1, double y1, double x2, double y2) {
    start.set(x1, y1);
    end.set(x2, y2);
  }
  void set(const PNT_2D& s, const PNT_2D& e) {
    start = s;
    end = e;
  }
  void get(double& x1, double& y1, double& x2, double& y2) const {
    start.get(x1, y1);
    end.get(x2, y2);
  }
  void get(PNT_2D& s, PNT_2D& e) const {
    s = start;
    e = end;
  }

  bool operator==(const LINE_2D& l) const { return start == l.start && end == l.end; }
  bool operator!=(const LINE_2D& l) const { return !(*this == l); }

  void calc_bdry(RECT_2D& r) const { r.set(start, end); }
  // Signed distance of p from the line through the segment, with the sign fixed by
  // IMP_LINE_2D::normalize (not by the direction); a null segment gives the distance to start.
  double dist(const PNT_2D& p) const;
  // The crossing point of two segments; parameters within 1e-12 of an end count as that end.
  // Parallel and collinear segments give false.
  bool intersect(const LINE_2D& o, PNT_2D& out) const;
  // Whether the segments cross; a parameter at an end answers true by itself.
  bool intersect(const LINE_2D& o) const;
  // True when p is strictly on the left of the direction.
  bool ptLeftSide(const PNT_2D& p) const;

  PNT_2D start;
  PNT_2D end;
};

class LINE_3D {
 public:
  LINE_3D() {}
  LINE_3D(double x1, double y1, double z1, double x2, double y2, double z2)
      : start(x1, y1, z1), end(x2, y2, z2) {}
  LINE_3D(const PNT_3D& s, const PNT_3D& e) : start(s), end(e) {}

  void set(double x1, double y1, double z1, double x2, double y2, double z2) {
    start.set(x1, y1, z1);
    end.set(x2, y2, z2);
  }
  void set(const PNT_3D& s, const PNT_3D& e) {
    start = s;
    end = e;
  }
  void get(double& x1, double& y1, double& z1, double& x2, double& y2, double& z2) const {
    start.get(x1, y1, z1);
    end.get(x2, y2, z2);
  }
  void get(PNT_3D& s, PNT_3D& e) const {
    s = start;
    e = end;
  }

  bool operator==(const LINE_3D& l) const { return start == l.start && end == l.end; }
  bool operator!=(const LINE_3D& l) const { return !(*this == l); }

  void calc_bdry(RECT_3D& r) const { r.set(start, end); }
  void move(const PNT_3D& d) {
    start.move(d);
    end.move(d);
  }
  void scale(const PNT_3D& c, double f) {
    start.scale(c, f);
    end.scale(c, f);
  }
  // Turns both ends about the vertical axis through c; Z is unchanged.
  void rotate(const PNT_3D& c, double a) {
    start.rotate(c, a);
    end.rotate(c, a);
  }
  void ptMedio(PNT_3D& mid) const;
  // Left of the direction in the XY plane. Kept as the contract: a segment of constant X
  // answers p.x < start.x whichever way it points.
  bool ptLeftSide(const PNT_3D& p) const;

  PNT_3D start;
  PNT_3D end;
};

// The line (x, y) + t * (dx, dy); the direction keeps its length unless Normalize is called.
class PAR_LINE_2D {
 public:
  PAR_LINE_2D() {}
  PAR_LINE_2D(double x, double y, double dx, double dy) : x(x), y(y), dx(dx), dy(dy) {}
  // Base point p, direction q - p; equal points give a null direction (no exception).
  PAR_LINE_2D(const PNT_2D& p, const PNT_2D& q) { create(p, q); }
  explicit PAR_LINE_2D(const LINE_2D& l) { create(l.start, l.end); }
  // The line through (px, py) along l, with a unit direction (null when l has no normal).
  PAR_LINE_2D(const IMP_LINE_2D& l, double px, double py);

  void create(const PNT_2D& p, const PNT_2D& q);
  void calcPt(double t, PNT_2D& out) const { out.set(x + t * dx, y + t * dy); }
  // Parameter of p; for a point off the line, that of its projection.
  double calcParam(const PNT_2D& p) const;
  // Makes the direction a unit vector; a null direction stays null.
  void Normalize();
  double length() const;
  // True when both direction components are within 1e-12 of zero.
  bool IsNull() const;
  // 2: crossing at parameter t; 1: the line lies in l; 0: parallel. t is written only for 2.
  int intersect(const IMP_LINE_2D& l, double& t) const;
  // 2: crossing at t on this line and s on o; 1: the same line; 0: parallel and apart.
  int intersect(const PAR_LINE_2D& o, double& t, double& s) const;
  // True when p and q lie strictly on the same side; a point on the line gives false.
  bool sameSide(const PNT_2D& p, const PNT_2D& q) const;
  // Signed distance of p, positive on the right of the direction.
  double dist(const PNT_2D& p) const;

  double x;
  double y;
  double dx;
  double dy;
};

// The line (x, y, z) + t * (dx, dy, dz); the XY operations of PAR_LINE_2D see its projection.
class PAR_LINE_3D : public PAR_LINE_2D {
 public:
  // Thrown when the two points defining a line are equal within 1e-12 on every axis.
  class SamePointException {};

  PAR_LINE_3D() {}
  PAR_LINE_3D(double x, double y, double z, double dx, double dy, double dz)
      : PAR_LINE_2D(x, y, dx, dy), z(z), dz(dz) {}
  PAR_LINE_3D(const PNT_3D& p, const PNT_3D& q) { create(p, q); }
  explicit PAR_LINE_3D(const LINE_3D& l) { create(l.start, l.end); }

  // Base point p, direction q - p; throws SamePointException and leaves the line
  // unchanged when p and q coincide.
  void create(const PNT_3D& p, const PNT_3D& q);
  void calcPt(double t, PNT_3D& out) const { out.set(x + t * dx, y + t * dy, z + t * dz); }
  // Parameter of the projection of p; the direction must not be null (not checked).
  double calcParam(const PNT_3D& p) const;

  double z;
  double dz;
};

// The line a * x + b * y + c = 0.
class IMP_LINE_2D {
 public:
  // Thrown when the two points defining a line are equal within 1e-12.
  class SamePointException {};

  IMP_LINE_2D() {}
  IMP_LINE_2D(double a, double b, double c) : a(a), b(b), c(c) {}
  IMP_LINE_2D(const PNT_2D& p, const PNT_2D& q) { create(p, q); }
  explicit IMP_LINE_2D(const LINE_2D& l) { create(l.start, l.end); }
  // The line parallel to l at distance d, measured against the normal (a, b).
  IMP_LINE_2D(const IMP_LINE_2D& l, double d);

  void set(double na, double nb, double nc) {
    a = na;
    b = nb;
    c = nc;
  }
  void get(double& outA, double& outB, double& outC) const {
    outA = a;
    outB = b;
    outC = c;
  }
  // The line through p and q, with normal (dy, -dx); throws SamePointException and leaves
  // the line unchanged when the points coincide.
  void create(const PNT_2D& p, const PNT_2D& q);
  // Unit normal, oriented so that c <= 1e-12 (the origin is on the non-positive side);
  // through the origin, b >= -1e-12. The line must have a normal.
  void normalize();
  double eval(double px, double py) const { return a * px + b * py + c; }
  double eval(const PNT_2D& p) const { return eval(p.getX(), p.getY()); }
  // False for the same line (coefficients within 1e-12) and for parallel lines.
  bool intersect(const IMP_LINE_2D& o, PNT_2D& out) const;
  // The perpendicular through p.
  void perpend(const PNT_2D& p, IMP_LINE_2D& out) const;
  // True when p and q lie strictly on the same side; a point on the line gives false.
  bool sameSide(const PNT_2D& p, const PNT_2D& q) const;

  double a;
  double b;
  double c;
};
