// tools/velt/render/rounding.h: std::lround and std::floor without a library call, exact for
// every value whose magnitude is below 2^62. x86-64 without SSE4.1 has no instruction for
// either, and drawing a large drawing rounds a few numbers for each of millions of lines and
// SVG coordinates.
#pragma once

namespace velt {

// Half-way cases away from zero, as std::lround.
inline long roundHalfAway(double v) {
  const auto t = static_cast<long>(v);
  // Exact: below 2^52 the difference is representable, above it v is a whole number.
  const double rest = v - static_cast<double>(t);
  return rest >= 0.5 ? t + 1 : rest <= -0.5 ? t - 1 : t;
}

inline long floorToLong(double v) {
  const auto t = static_cast<long>(v);
  return static_cast<double>(t) > v ? t - 1 : t;
}

}  // namespace velt
