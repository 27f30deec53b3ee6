// veltcore/geometry/rect.h: the axis-aligned boxes RECT_2D and RECT_3D.
// Plain values (min corner, then max corner) used for bounding boxes, clipping and view boxes.
// The empty box has min 1.7e+200 and max -1.7e+200; validRegion looks at the X axis only.
#pragma once

#include <veltcore/core/point.h>

class RECT_2D {
 public:
  // Leaves both corners unset, like the points it holds; call initRegion for an empty box.
  RECT_2D() {}
  RECT_2D(double x1, double y1, double x2, double y2) { set(x1, y1, x2, y2); }
  RECT_2D(const PNT_2D& p1, const PNT_2D& p2) { set(p1, p2); }

  // The box of two opposite corners given in any order.
  void set(double x1, double y1, double x2, double y2);
  void set(const PNT_2D& p1, const PNT_2D& p2);
  // The box of the four corners (xs[i], ys[i]).
  void set(const double xs[4], const double ys[4]);
  // The box of n points; n <= 0 gives the empty box.
  void set(const PNT_2D* pts, int n);
  void get(PNT_2D& outMin, PNT_2D& outMax) const {
    outMin = min;
    outMax = max;
  }
  void get(double& minX, double& minY, double& maxX, double& maxY) const;

  // Makes the box empty, so that the next updateRegion makes it equal to what is added.
  void initRegion();
  bool validRegion() const { return min.getX() <= max.getX(); }
  void updateRegion(const PNT_2D& p);
  // Grows to cover b; an empty b leaves the box unchanged.
  void updateRegion(const RECT_2D& b);

  // Bounds are included in all three tests.
  bool inside(const PNT_2D& p) const { return inside(p.getX(), p.getY()); }
  bool inside(double x, double y) const;
  bool inside(const RECT_2D& b) const;
  // True when the boxes overlap or touch.
  bool intersect(const RECT_2D& b) const;
  // Writes the common part to out in every case; true when it is not empty.
  bool intersect(const RECT_2D& b, RECT_2D& out) const;
  // Grows by dx on both X sides and dy on both Y sides; negative values shrink.
  void inflate(double dx, double dy);
  void shrink(double dx, double dy) { inflate(-dx, -dy); }

  bool operator==(const RECT_2D& b) const { return min == b.min && max == b.max; }
  bool operator!=(const RECT_2D& b) const { return !(*this == b); }

  PNT_2D min;
  PNT_2D max;
};

class RECT_3D {
 public:
  RECT_3D() {}
  RECT_3D(double x1, double y1, double z1, double x2, double y2, double z2) {
    set(x1, y1, z1, x2, y2, z2);
  }
  RECT_3D(const PNT_3D& p1, const PNT_3D& p2) { set(p1, p2); }

  void set(double x1, double y1, double z1, double x2, double y2, double z2);
  void set(const PNT_3D& p1, const PNT_3D& p2);
  void set(const double xs[4], const double ys[4], const double zs[4]);
  void get(PNT_3D& outMin, PNT_3D& outMax) const {
    outMin = min;
    outMax = max;
  }
  void get(double& minX, double& minY, double& minZ, double& maxX, double& maxY,
           double& maxZ) const;

  void initRegion();
  bool validRegion() const { return min.getX() <= max.getX(); }
  void updateRegion(const PNT_3D& p);
  void updateRegion(const RECT_3D& b);

  bool inside(const PNT_3D& p) const;
  void calc_bdry(RECT_3D& r) const { r = *this; }
  void move(const PNT_3D& d) {
    min.move(d);
    max.move(d);
  }
  // Scales both corners about c; a negative f swaps them so that min stays below max.
  void scale(const PNT_3D& c, double f);

  bool operator==(const RECT_3D& b) const { return min == b.min && max == b.max; }
  bool operator!=(const RECT_3D& b) const { return !(*this == b); }

  PNT_3D min;
  PNT_3D max;
};
