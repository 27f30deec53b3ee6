// tools/velt/render/curves.cpp: chord counts from the sagitta, and the two arc walkers.
#include "render/curves.h"

#include <algorithm>
#include <cmath>

namespace velt {

namespace {

constexpr double kTolerance = 0.2;  // pixels
constexpr int kMinChords = 4;
constexpr int kMaxChords = 4096;

}  // namespace

int chordsFor(double radius, double sweep) {
  if (!(radius > kTolerance) || !(sweep > 0)) return kMinChords;
  // A chord spanning angle a stands r (1 - cos(a / 2)) off the arc at its middle.
  const double step = 2 * std::acos(1 - kTolerance / radius);
  const double n = std::ceil(sweep / step);
  return static_cast<int>(
      std::clamp(n, static_cast<double>(kMinChords), static_cast<double>(kMaxChords)));
}

void addPixelArc(PixelPath& path, PixelPoint centre, double radius, double a0, double a1) {
  const int n = chordsFor(radius, a1 - a0);
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + (a1 - a0) * i / n;
    const PixelPoint p{centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
    if (i == 0) {
      path.moveTo(p);
    } else {
      path.lineTo(p);
    }
  }
}

void addArc(PixelPath& path, const PixelTransform& t, const PNT_2D& centre, double radius, double s,
            double e) {
  // The longer axis of the ellipse the circle becomes decides the chord count.
  const PixelPoint u = t.applyVector(radius, 0), v = t.applyVector(0, radius);
  const double longest = std::max(std::hypot(u.x, u.y), std::hypot(v.x, v.y));
  const int n = chordsFor(longest, e - s);
  const PixelPoint c = t.apply(centre);
  for (int i = 0; i <= n; ++i) {
    const double a = s + (e - s) * i / n;
    const double ca = std::cos(a), sa = std::sin(a);
    const PixelPoint p{c.x + u.x * ca + v.x * sa, c.y + u.y * ca + v.y * sa};
    if (i == 0) {
      path.moveTo(p);
    } else {
      path.lineTo(p);
    }
  }
}

}  // namespace velt
