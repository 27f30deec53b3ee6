// tools/velt/render/dash_pattern.cpp: the dash walk, segment by segment, limited to the part of
// each segment inside the image so that long lines far outside cost nothing.
#include "render/dash_pattern.h"

#include <veltcore/linetypes/linetype.h>

#include <algorithm>
#include <cmath>

namespace velt {

namespace {

// A pattern whose repetition is shorter than this many pixels reads as a solid line.
constexpr double kFinestRepetition = 3.0;
// A dot (a dash of length 0) is drawn this many pixels long.
constexpr double kDotPixels = 1.0;
// Distances along a segment beyond which a repetition no longer moves a double.
constexpr double kFarAway = 1e12;

// The part of a to b inside box, when it is more than a point.
bool visibleRange(PixelPoint a, PixelPoint b, const PixelBox& box, double& t0, double& t1) {
  return clipSegment(a, b, box, t0, t1) && t0 < t1;
}

PixelPoint along(PixelPoint a, PixelPoint b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

}  // namespace

void DashPattern::set(const CLtype* lt, double unitPixels) {
  on_.clear();
  length_ = 0;
  if (lt == nullptr || !(unitPixels > 0)) return;
  bool gaps = false;
  double at = 0;
  for (int i = 0; i < lt->getNoDashes(); ++i) {
    const ILtypeComplexDash* dash = lt->GetDash(i);
    if (dash == nullptr || !dash->IsDoubleDash()) continue;
    const double v = dash->GetValue() * unitPixels;
    if (v > 0) {
      on_.push_back({at, at + v});
    } else if (v == 0) {
      on_.push_back({at, at + kDotPixels});
    } else {
      gaps = true;
    }
    at += std::fabs(v);
  }
  length_ = at;
  if (!gaps || !(length_ >= kFinestRepetition) || !std::isfinite(length_)) on_.clear();
}

void DashPattern::dashes(const PixelPoint* pts, std::size_t n, bool closed, bool restart,
                         const PixelBox& visible, std::vector<Dash>& out) const {
  out.clear();
  double phase = 0;
  const std::size_t segments = closed && n > 2 ? n : n - 1;
  for (std::size_t i = 0; n > 1 && i < segments; ++i) {
    const PixelPoint b = i + 1 < n ? pts[i + 1] : pts[0];
    phase = segment(pts[i], b, static_cast<std::uint32_t>(i), restart ? 0.0 : phase, visible, out);
  }
}

void DashPattern::apply(const PixelPoint* pts, std::size_t n, bool closed, bool restart,
                        const PixelBox& visible, PixelPath& out) {
  dashes(pts, n, closed, restart, visible, found_);
  const Dash* previous = nullptr;
  for (const Dash& d : found_) {
    const PixelPoint a = pts[d.segment];
    const PixelPoint b = d.segment + 1 < n ? pts[d.segment + 1] : pts[0];
    // A dash that ended at a vertex and one that starts there are one stroke.
    const bool joined = previous != nullptr && previous->to >= 1 && d.from <= 0 &&
                        previous->segment + 1 == d.segment;
    if (!joined) out.moveTo(along(a, b, d.from));
    out.lineTo(along(a, b, d.to));
    previous = &d;
  }
}

double DashPattern::segment(PixelPoint a, PixelPoint b, std::uint32_t index, double phase,
                            const PixelBox& visible, std::vector<Dash>& out) const {
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  if (!(len > 0) || !std::isfinite(len)) return phase;
  const double next = std::fmod(phase + len, length_);
  double t0 = 0, t1 = 0;
  if (!visibleRange(a, b, visible, t0, t1)) return next;
  const double from = t0 * len, to = t1 * len;
  if (from > kFarAway) {
    out.push_back({index, t0, t1});
    return next;
  }
  // The repetition that holds the first visible point starts at base.
  for (double base = from - std::fmod(phase + from, length_); base < to; base += length_) {
    for (const Interval& iv : on_) {
      const double s = std::max(base + iv.from, from), e = std::min(base + iv.to, to);
      if (s < e) out.push_back({index, s / len, e / len});
    }
  }
  return next;
}

}  // namespace velt
