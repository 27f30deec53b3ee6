// veltcore/core/point.h: the point values PNT_2D and PNT_3D every geometry is written in.
// Plain values without virtual operations; PNT_3D extends PNT_2D, so its layout is x, y, z.
// Default construction leaves the coordinates unset; comparisons are exact, with no tolerance.
#pragma once

class RECT_3D;

class PNT_2D {
 public:
  // Deliberately leaves x and y unset: arrays of points are filled by their users.
  PNT_2D() {}
  PNT_2D(double x, double y) : x(x), y(y) {}

  bool operator==(const PNT_2D& p) const { return x == p.x && y == p.y; }
  bool operator!=(const PNT_2D& p) const { return !(*this == p); }
  PNT_2D operator+(const PNT_2D& p) const { return PNT_2D(x + p.x, y + p.y); }
  PNT_2D operator-(const PNT_2D& p) const { return PNT_2D(x - p.x, y - p.y); }
  PNT_2D operator-() const { return PNT_2D(-x, -y); }

  void get(double& outX, double& outY) const {
    outX = x;
    outY = y;
  }
  double getX() const { return x; }
  double getY() const { return y; }
  void set(double newX, double newY) {
    x = newX;
    y = newY;
  }
  void setX(double v) { x = v; }
  void setY(double v) { y = v; }

  // Direction from this point to p, in [0, 2*pi); 0 when p is this point.
  double angle(const PNT_2D& p) const;
  double dist(const PNT_2D& p) const;
  double dist(double px, double py) const;
  double dist_square(const PNT_2D& p) const;
  double dist_square(double px, double py) const;
  // Turns the point about c by a radians, counter-clockwise.
  void rotate(const PNT_2D& c, double a);

 protected:
  double x;
  double y;
};

class PNT_3D : public PNT_2D {
 public:
  PNT_3D() {}
  PNT_3D(double x, double y, double z) : PNT_2D(x, y), z(z) {}

  bool operator==(const PNT_3D& p) const { return x == p.x && y == p.y && z == p.z; }
  bool operator!=(const PNT_3D& p) const { return !(*this == p); }
  PNT_3D operator+(const PNT_3D& p) const { return PNT_3D(x + p.x, y + p.y, z + p.z); }
  PNT_3D operator-(const PNT_3D& p) const { return PNT_3D(x - p.x, y - p.y, z - p.z); }
  PNT_3D operator-() const { return PNT_3D(-x, -y, -z); }

  using PNT_2D::get;
  using PNT_2D::set;
  void set(double newX, double newY, double newZ) {
    x = newX;
    y = newY;
    z = newZ;
  }
  void get(double& outX, double& outY, double& outZ) const {
    outX = x;
    outY = y;
    outZ = z;
  }
  double getZ() const { return z; }
  void setZ(double v) { z = v; }

  // Sets r to the degenerate box whose both corners are this point.
  void calc_bdry(RECT_3D& r) const;
  void move(const PNT_3D& d) {
    x += d.x;
    y += d.y;
    z += d.z;
  }
  // Each coordinate becomes (v - c) * f + c, z included.
  void scale(const PNT_3D& c, double f);
  // Turns about the vertical axis through c; z is unchanged.
  void rotate(const PNT_3D& c, double a) { PNT_2D::rotate(c, a); }
  double dist(const PNT_3D& p) const;
  double dist(double px, double py, double pz) const;
  double dist_square(const PNT_3D& p) const;
  double dist_square(double px, double py, double pz) const;

 protected:
  double z;
};
