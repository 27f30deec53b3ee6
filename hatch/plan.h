// hatch/plan.h: everything a hatch generation decides before it creates anything: the checked
// and compacted boundary as a ring of segments, and per pattern line the family's direction,
// first line, line count and dash lengths. A boundary or pattern that is refused, or that
// would need more work than the limits below allow, gets no plan, so nothing is created.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/geometry/line.h>
#include <veltcore/hatch/pattern.h>

namespace veltcore::hatch {

// Work limits. A small scale over a large boundary asks for lines and dashes beyond counting
// (a 10 m room needs 4,500 ANSI31 lines at scale 1, about 4.5 billion at scale 0.001); past
// these the hatch is refused rather than left to run for hours and fill memory.
// Hatch lines over all families.
inline constexpr double kMaxHatchLines = 1e6;
// Dash-walk steps over all dashed families, estimated as lines x (box diagonal / period + 2) x
// dashes; each step may make one entity.
inline constexpr double kMaxDashSteps = 5e7;
// Boundary coordinates, and the reach of any hatch line's reference point, must stay within
// this: far beyond any drawing, it keeps every product in the crossing arithmetic finite.
inline constexpr double kMaxMagnitude = 1e100;

// The cosine and sine of an angle, exact at the exact doubles 0, pi/2, pi and 3pi/2, so that
// horizontal and vertical hatch lines are exactly so.
struct Direction {
  double cos;
  double sin;
};
Direction exactDirection(double angle);

// One step of a dash pattern at drawing scale: a drawn length (0 is a dot) or a gap.
struct Dash {
  double length;
  bool drawn;
};

// One pattern line's family of parallel hatch lines over the boundary's box.
struct FamilyPlan {
  Direction dir{1, 0};         // unit direction of the lines
  PNT_2D origin{0, 0};         // the pattern line's origin, rotated and scaled
  double dx = 0;               // shift along the direction from one line to the next
  double dy = 0;               // spacing along the left normal (may be negative)
  double kStart = 0;           // the number of the first line that meets the box (integral)
  std::size_t lineCount = 0;   // lines kStart, kStart + 1, ... that meet the box
  std::vector<Dash> dashes;    // empty for a continuous line
  double period = 0;           // sum of the dash lengths
  std::size_t passBudget = 0;  // dash-walk passes a line may take (generous: twice the need)
  double margin = 0;           // offset slack covering the rounding of any crossing computation

  // Offset of (x, y) across the family, along the left normal, from the origin; line k of the
  // family lies at offset k * dy.
  double offsetOf(double x, double y) const {
    return (y - origin.getY()) * dir.cos - (x - origin.getX()) * dir.sin;
  }
};

struct HatchPlan {
  std::vector<LINE_2D> ring;         // boundary segments, closed
  double z;                          // Z of every entity: the first boundary point's
  std::vector<FamilyPlan> families;  // the families that draw, in pattern order
};

// The plan of hatching boundary with t at scale and angle, or nothing when the hatch is refused:
// fewer than 3 points or fewer than 4 after compacting, a scale that is not positive, anything
// non-finite (coordinates, scale, angle, pattern values), coordinates beyond kMaxMagnitude, a
// pattern record with a negative line count or a dash count outside 0 to 6, or more work than
// the limits above. A family whose spacing is 0, or whose dashes add up to 0, is left out.
std::optional<HatchPlan> planHatch(const HATCH_TYPE& t, double scale, double angle,
                                   const std::vector<PNT_3D>& boundary);

}  // namespace veltcore::hatch
