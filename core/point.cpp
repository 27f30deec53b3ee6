// core/point.cpp: the out-of-line operations of PNT_2D and PNT_3D.
// Angles are radians, counter-clockwise; rotations of a PNT_3D keep its z.
#include <veltcore/core/point.h>

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

double PNT_2D::angle(const PNT_2D& p) const {
  double a = std::atan2(p.y - y, p.x - x);
  if (a < 0) a += kTwoPi;
  return a;
}

double PNT_2D::dist(const PNT_2D& p) const {
  return std::sqrt(dist_square(p));
}

double PNT_2D::dist(double px, double py) const {
  return std::sqrt(dist_square(px, py));
}

double PNT_2D::dist_square(const PNT_2D& p) const {
  return dist_square(p.x, p.y);
}

double PNT_2D::dist_square(double px, double py) const {
  const double dx = px - x;
  const double dy = py - y;
  return dx * dx + dy * dy;
}

void PNT_2D::rotate(const PNT_2D& c, double a) {
  const double dx = x - c.x;
  const double dy = y - c.y;
  const double cosA = std::cos(a);
  const double sinA = std::sin(a);
  x = c.x + dx * cosA - dy * sinA;
  y = c.y + dx * sinA + dy * cosA;
}

void PNT_3D::scale(const PNT_3D& c, double f) {
  x = (x - c.x) * f + c.x;
  y = (y - c.y) * f + c.y;
  z = (z - c.z) * f + c.z;
}

double PNT_3D::dist(const PNT_3D& p) const {
  return std::sqrt(dist_square(p));
}

double PNT_3D::dist(double px, double py, double pz) const {
  return std::sqrt(dist_square(px, py, pz));
}

double PNT_3D::dist_square(const PNT_3D& p) const {
  return dist_square(p.x, p.y, p.z);
}

double PNT_3D::dist_square(double px, double py, double pz) const {
  const double dx = px - x;
  const double dy = py - y;
  const double dz = pz - z;
  return dx * dx + dy * dy + dz * dz;
}
