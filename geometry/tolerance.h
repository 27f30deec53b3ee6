// geometry/tolerance.h: the tolerances shared by the geometry sources (internal, not installed).
// kEps is absolute; equalWithin grows it with the size of the reference value v.
// Collinearity uses its own, coarser kCollinearTol.
#pragma once

#include <cmath>

namespace veltcore::geom {

inline constexpr double kEps = 1e-12;
inline constexpr double kCollinearTol = 1e-6;

// |u - v| <= |v| * kEps + kEps.
inline bool equalWithin(double u, double v) {
  return std::fabs(u - v) <= std::fabs(v) * kEps + kEps;
}

inline bool nearZero(double v) {
  return std::fabs(v) <= kEps;
}

}  // namespace veltcore::geom
