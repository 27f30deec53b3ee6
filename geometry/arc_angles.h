// geometry/arc_angles.h: angle helpers shared by the circle and arc sources (internal).
// Angles are radians in [0, 2*pi]; tol(v) = |v| * 1e-12 + 1e-12 is the slack at an arc end.
// sameXY is the 1e-12 "same point" test of the chain constructions (X and Y only).
#pragma once

#include <veltcore/core/point.h>

#include <cmath>

#include "geometry/tolerance.h"

namespace veltcore::geom {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

inline double tol(double v) {
  return std::fabs(v) * kEps + kEps;
}

// Brings a into [0, 2*pi] by whole turns: 2*pi itself stays 2*pi. Repeated steps (not fmod)
// keep the rounding of the stored angles; only absurdly large values are reduced first, so
// that the loop stays short. Non-finite values are returned unchanged.
inline double normAngle(double a) {
  if (!std::isfinite(a)) return a;
  if (std::fabs(a) > kTwoPi * 1048576.0) a = std::fmod(a, kTwoPi);
  while (a < 0.0) a += kTwoPi;
  while (a > kTwoPi) a -= kTwoPi;
  return a;
}

inline bool sameXY(const PNT_2D& p, const PNT_2D& q) {
  return nearZero(p.getX() - q.getX()) && nearZero(p.getY() - q.getY());
}

}  // namespace veltcore::geom
