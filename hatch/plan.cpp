// hatch/plan.cpp: checks a hatch request and works out its plan (plan.h): boundary ring, box,
// and each family's first line, count and dashes, with the work limits applied in floating
// point before any count becomes an integer. Creates nothing and books no handle.
#include "hatch/plan.h"

#include <algorithm>
#include <cmath>

#include "geometry/arc_angles.h"

namespace veltcore::hatch {

namespace {

using geom::kPi;

// Pattern lengths are in inches.
constexpr double kMmPerInch = 25.4;
// The crossing index's slack, relative to the largest coordinate in play. Rounding in one
// crossing is a few 1e-16 of it, and a million accumulated line steps add about 1e-10.
constexpr double kMarginFactor = 1e-8;

struct Box {
  double minX, minY, maxX, maxY;
};

// What planning one pattern line gives.
enum class FamilyOutcome { kDraws, kSkipped, kRefused };

bool finite(double v) {
  return std::isfinite(v);
}

bool validRecord(const HATCH_TYPE& t) {
  if (t.noLines < 0 || (t.noLines > 0 && t.lines == nullptr)) return false;
  for (long i = 0; i < t.noLines; ++i) {
    const HATCH_LINE& l = t.lines[i];
    if (l.noDashes < 0 || l.noDashes > 6) return false;
    if (!finite(l.angle) || !finite(l.x) || !finite(l.y) || !finite(l.deltaX) || !finite(l.deltaY))
      return false;
    for (long j = 0; j < l.noDashes; ++j)
      if (!finite(l.dashes[j])) return false;
  }
  return true;
}

// Every X and Y, and the first point's Z (the entities' Z), finite and within kMaxMagnitude.
bool validBoundary(const std::vector<PNT_3D>& boundary) {
  const auto usable = [](double v) { return std::fabs(v) <= kMaxMagnitude; };  // false for NaN
  if (!usable(boundary.front().getZ())) return false;
  return std::all_of(boundary.begin(), boundary.end(),
                     [&](const PNT_3D& p) { return usable(p.getX()) && usable(p.getY()); });
}

Box boxOf(const std::vector<PNT_3D>& pts) {
  Box b{pts[0].getX(), pts[0].getY(), pts[0].getX(), pts[0].getY()};
  for (const PNT_3D& p : pts) {
    b.minX = std::min(b.minX, p.getX());
    b.minY = std::min(b.minY, p.getY());
    b.maxX = std::max(b.maxX, p.getX());
    b.maxY = std::max(b.maxY, p.getY());
  }
  return b;
}

std::vector<LINE_2D> ringOf(const std::vector<PNT_3D>& pts) {
  std::vector<LINE_2D> ring;
  ring.reserve(pts.size() - 1);
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) ring.emplace_back(pts[i], pts[i + 1]);
  return ring;
}

// Lowest and highest family offset of the box's corners, ordered for the sign of dy so that
// lo / dy <= hi / dy.
void offsetRange(const FamilyPlan& f, const Box& b, double& lo, double& hi) {
  const double v[4] = {f.offsetOf(b.minX, b.minY), f.offsetOf(b.maxX, b.minY),
                       f.offsetOf(b.maxX, b.maxY), f.offsetOf(b.minX, b.maxY)};
  lo = *std::min_element(v, v + 4);
  hi = *std::max_element(v, v + 4);
  if (f.dy < 0) std::swap(lo, hi);
}

// The family's geometry at drawing scale: origin rotated by the hatch angle, direction, steps,
// dashes. False when a value overflows.
bool scaleFamily(const HATCH_LINE& l, Direction rotation, double s, double angle, FamilyPlan& f) {
  f.origin = PNT_2D((rotation.cos * l.x - rotation.sin * l.y) * s,
                    (rotation.cos * l.y + rotation.sin * l.x) * s);
  f.dir = exactDirection(angle + l.angle);
  f.dx = s * l.deltaX;
  f.dy = s * l.deltaY;
  f.period = 0;
  for (long j = 0; j < l.noDashes; ++j) {
    f.dashes.push_back({std::fabs(l.dashes[j]) * s, l.dashes[j] >= 0});
    f.period += f.dashes.back().length;
  }
  return finite(f.origin.getX()) && finite(f.origin.getY()) && finite(f.dx) && finite(f.dy) &&
         finite(f.period);
}

// Which lines of the family meet the box, and what walking them may cost. Counts stay doubles
// until the limits have passed them, so no conversion can overflow.
// dashSteps receives the family's estimated dash-walk steps.
FamilyOutcome countFamily(const Box& b, double maxAbsCoord, FamilyPlan& f, double& dashSteps) {
  // Lines at spacing 0 would all coincide, and dashes adding up to 0 never advance the walk:
  // neither draws anything meaningful, so the family is left out.
  if (f.dy == 0 || (!f.dashes.empty() && f.period == 0)) return FamilyOutcome::kSkipped;
  double lo, hi;
  offsetRange(f, b, lo, hi);
  const double kStart = std::ceil(lo / f.dy);
  const double kEnd = std::floor(hi / f.dy);
  // Infinite only when the spacing is far below the box: past any limit.
  if (!finite(kStart) || !finite(kEnd)) return FamilyOutcome::kRefused;
  const double count = kEnd - kStart + 1;
  if (count <= 0) return FamilyOutcome::kSkipped;
  if (count > kMaxHatchLines) return FamilyOutcome::kRefused;
  const double reach = std::fabs(f.origin.getX()) + std::fabs(f.origin.getY()) +
                       (std::fabs(kStart) + count) * (std::fabs(f.dx) + std::fabs(f.dy));
  if (!(reach <= kMaxMagnitude)) return FamilyOutcome::kRefused;
  f.kStart = kStart;
  f.lineCount = static_cast<std::size_t>(count);
  f.margin = kMarginFactor * std::max(maxAbsCoord, reach);
  f.passBudget = 0;
  dashSteps = 0;
  if (!f.dashes.empty()) {
    // No line's crossings span more than the box's diagonal, so a walk needs at most this many
    // passes through the dashes.
    const double passes = std::hypot(b.maxX - b.minX, b.maxY - b.minY) / f.period + 2;
    dashSteps = count * passes * static_cast<double>(f.dashes.size());
    if (!(dashSteps <= kMaxDashSteps)) return FamilyOutcome::kRefused;
    f.passBudget = static_cast<std::size_t>(2 * passes);
  }
  return FamilyOutcome::kDraws;
}

}  // namespace

Direction exactDirection(double angle) {
  if (angle == 0) return {1, 0};
  if (angle == kPi / 2) return {0, 1};
  if (angle == kPi) return {-1, 0};
  if (angle == 3 * kPi / 2) return {0, -1};
  return {std::cos(angle), std::sin(angle)};
}

std::optional<HatchPlan> planHatch(const HATCH_TYPE& t, double scale, double angle,
                                   const std::vector<PNT_3D>& boundary) {
  if (boundary.size() < 3 || !(scale > 0) || !finite(scale) || !finite(angle)) return {};
  if (!validRecord(t) || !validBoundary(boundary)) return {};
  const double s = scale * kMmPerInch;
  if (!finite(s)) return {};
  std::vector<PNT_3D> pts;
  _hatch_compactVertex(boundary, pts);
  if (pts.size() < 4) return {};  // a closed triangle at least

  HatchPlan plan;
  plan.ring = ringOf(pts);
  plan.z = boundary.front().getZ();
  const Box box = boxOf(pts);
  const double maxAbsCoord = std::max(
      {std::fabs(box.minX), std::fabs(box.minY), std::fabs(box.maxX), std::fabs(box.maxY)});
  const Direction rotation = exactDirection(angle);
  double lines = 0;
  double dashSteps = 0;
  for (long i = 0; i < t.noLines; ++i) {
    FamilyPlan f;
    double familySteps = 0;
    if (!scaleFamily(t.lines[i], rotation, s, angle, f)) return {};
    const FamilyOutcome outcome = countFamily(box, maxAbsCoord, f, familySteps);
    if (outcome == FamilyOutcome::kRefused) return {};
    if (outcome == FamilyOutcome::kSkipped) continue;
    lines += static_cast<double>(f.lineCount);
    dashSteps += familySteps;
    plan.families.push_back(std::move(f));
  }
  if (lines > kMaxHatchLines || dashSteps > kMaxDashSteps) return {};
  return plan;
}

}  // namespace veltcore::hatch
