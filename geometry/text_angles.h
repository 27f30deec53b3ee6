// geometry/text_angles.h: the two ways text rotations are brought back near [0, 2*pi].
// Internal, header-only, touches nothing. Both leave exactly 2*pi as it is: callers compare
// stored rotations exactly, so neither may be replaced by fmod for ordinary angles.
#pragma once

#include <cmath>

namespace veltcore::detail {

constexpr double kTwoPi = 2.0 * 3.14159265358979323846;

// One step only: below 0 adds 2*pi, above 2*pi subtracts it. Rotations that are a sum of two
// angles already in range need no more.
inline double wrapAngleOnce(double r) {
  if (r < 0.0) return r + kTwoPi;
  if (r > kTwoPi) return r - kTwoPi;
  return r;
}

// Steps of 2*pi until r lies in [0, 2*pi]. The stepping rounds as stored drawings expect; angles
// beyond a few thousand turns are first reduced with fmod so that the loop always ends, and
// values that are not finite are returned unchanged.
inline double wrapAngleLoop(double r) {
  if (!std::isfinite(r)) return r;
  if (std::fabs(r) > 1024.0 * kTwoPi) r = std::fmod(r, kTwoPi);
  while (r < 0.0) r += kTwoPi;
  while (r > kTwoPi) r -= kTwoPi;
  return r;
}

}  // namespace veltcore::detail
