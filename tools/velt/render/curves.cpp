// tools/velt/render/curves.cpp: chord counts from the sagitta, and the two arc walkers.
#include "render/curves.h"

#include <algorithm>
#include <cmath>

namespace velt {

namespace {

constexpr double kTolerance = 0.2;  // pixels
constexpr int kMinChords = 4;
constexpr int kMaxChords = 4096;

// Calls emit(cos a, sin a) for the n + 1 angles a = a0 + (a1 - a0) i / n. A drawing holds
// hundreds of thousands of arcs: rather than a sine and cosine per point, each point is the one
// before turned by the step angle, and the last is computed outright, so that the arc ends
// exactly where it should. Over the most chords an arc gets the turns drift by some 1e-12.
template <typename Emit>
void forEachAngle(double a0, double a1, int n, Emit emit) {
  const double step = (a1 - a0) / n;
  const double turnCos = std::cos(step), turnSin = std::sin(step);
  double c = std::cos(a0), s = std::sin(a0);
  for (int i = 0; i < n; ++i) {
    emit(c, s);
    const double turned = c * turnCos - s * turnSin;
    s = s * turnCos + c * turnSin;
    c = turned;
  }
  emit(std::cos(a1), std::sin(a1));
}

// Appends the points to path as a new subpath.
class SubpathAppender {
 public:
  explicit SubpathAppender(PixelPath& path) : path_(path) {}
  void operator()(PixelPoint p) {
    if (first_) {
      path_.moveTo(p);
      first_ = false;
    } else {
      path_.lineTo(p);
    }
  }

 private:
  PixelPath& path_;
  bool first_ = true;
};

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
  SubpathAppender append(path);
  forEachAngle(a0, a1, chordsFor(radius, a1 - a0), [&](double c, double s) {
    append({centre.x + radius * c, centre.y + radius * s});
  });
}

void addArc(PixelPath& path, const PixelTransform& t, const PNT_2D& centre, double radius, double s,
            double e) {
  // The longer axis of the ellipse the circle becomes decides the chord count.
  const PixelPoint u = t.applyVector(radius, 0), v = t.applyVector(0, radius);
  const double longest = std::max(std::hypot(u.x, u.y), std::hypot(v.x, v.y));
  const int n = chordsFor(longest, e - s);
  const PixelPoint c = t.apply(centre);
  SubpathAppender append(path);
  forEachAngle(s, e, n, [&](double ca, double sa) {
    append({c.x + u.x * ca + v.x * sa, c.y + u.y * ca + v.y * sa});
  });
}

}  // namespace velt
