// hatch/boundary.cpp: the boundary-point helpers (circles, arcs, ellipses, bulged segments) and
// the compaction of a boundary into a closed chain. Pure functions on points: they only append
// to the vector they are given, never clear it.
#include <veltcore/geometry/arc.h>
#include <veltcore/hatch/pattern.h>

#include <cmath>
#include <vector>

#include "geometry/arc_angles.h"
#include "geometry/tolerance.h"

using veltcore::geom::equalWithin;
using veltcore::geom::kPi;
using veltcore::geom::kTwoPi;
using veltcore::geom::normAngle;

namespace {

// Every curve is sampled as 64 equal steps: 65 points, both ends included.
constexpr int kSteps = 64;

// Brings both angles into [0, 2pi] and makes end run past start (an end at or before the start
// gets a whole turn). False for a non-finite angle: such a curve has no points to give.
bool sweepOf(double& start, double& end) {
  start = normAngle(start);
  end = normAngle(end);
  if (!std::isfinite(start) || !std::isfinite(end)) return false;
  if (end <= start) end += kTwoPi;
  return true;
}

// The 65 points of the circle arc from start to end (already swept), or from end back to start
// when reversed; the same samples either way, only their order differs.
void appendArcPoints(const PNT_3D& centre, double r, double start, double end, bool reversed,
                     std::vector<PNT_3D>& pts) {
  const double step = (end - start) / kSteps;
  for (int n = 0; n <= kSteps; ++n) {
    const double a = start + (reversed ? kSteps - n : n) * step;
    pts.emplace_back(centre.getX() + r * std::cos(a), centre.getY() + r * std::sin(a),
                     centre.getZ());
  }
}

// X and Y of p equal those of kept within |v| * 1e-12 + 1e-12, v being p's own coordinate.
bool sameSpot(const PNT_3D& kept, const PNT_3D& p) {
  return equalWithin(kept.getX(), p.getX()) && equalWithin(kept.getY(), p.getY());
}

}  // namespace

void hatch_add_circle(const PNT_3D& centre, double r, std::vector<PNT_3D>& pts) {
  const double cx = centre.getX();
  const double cy = centre.getY();
  // The first point is written exactly; the last (angle 2pi) closes the circle up to rounding.
  pts.emplace_back(cx + r, cy, centre.getZ());
  for (int i = 1; i <= kSteps; ++i) {
    const double a = i * kPi / 32;
    pts.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a), centre.getZ());
  }
}

void hatch_add_arc(const PNT_3D& centre, double r, double start, double end,
                   std::vector<PNT_3D>& pts) {
  if (!sweepOf(start, end)) return;
  appendArcPoints(centre, r, start, end, false, pts);
}

void hatch_add_ellipse(const PNT_3D& centre, double majorX, double majorY, double ratio,
                       double start, double end, std::vector<PNT_3D>& pts) {
  if (!sweepOf(start, end)) return;
  const double length = std::sqrt(majorX * majorX + majorY * majorY);
  // A null major axis has no direction: the ellipse collapses to its centre instead of NaNs.
  const double ux = length != 0.0 ? majorX / length : 0.0;
  const double uy = length != 0.0 ? majorY / length : 0.0;
  const double minor = length * ratio;
  const double step = (end - start) / kSteps;
  for (int i = 0; i <= kSteps; ++i) {
    const double a = start + i * step;
    const double c = std::cos(a);
    const double s = std::sin(a);
    pts.emplace_back(centre.getX() + majorX * c - minor * uy * s,
                     centre.getY() + majorY * c + minor * ux * s, centre.getZ());
  }
}

void hatch_add_segment_bulge(const PNT_3D& p0, const PNT_3D& p1, double bulge,
                             std::vector<PNT_3D>& pts) {
  ARC_3D arc;
  if (!createArcFromBulge(p0, p1, bulge, arc)) {  // bulge 0: the straight segment
    pts.push_back(p0);
    pts.push_back(p1);
    return;
  }
  double start = arc.start;
  double end = arc.end;
  if (!sweepOf(start, end)) return;
  // The arc always runs counter-clockwise; the points must run from p0 to p1, so a clockwise
  // bulge (whose arc starts at p1) is emitted from the end angle back. Ties go backwards.
  PNT_3D first, last;
  arc.end_points(first, last);
  const bool reversed = first.PNT_2D::dist(p1) <= first.PNT_2D::dist(p0);
  appendArcPoints(arc.centre, arc.radius, start, end, reversed, pts);
}

void _hatch_compactVertex(const std::vector<PNT_3D>& in, std::vector<PNT_3D>& out) {
  if (in.empty()) return;
  out.push_back(in[0]);
  for (std::size_t i = 1; i < in.size(); ++i)
    if (!sameSpot(out.back(), in[i])) out.push_back(in[i]);
  // Closed on out[0] itself, which is in[0] only when out came in empty.
  const PNT_3D head = out[0];
  if (!sameSpot(out.back(), head)) out.push_back(head);
}
