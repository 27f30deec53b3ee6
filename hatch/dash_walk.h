// hatch/dash_walk.h: the walk of a dash pattern along one hatch line, between the line's
// crossing pairs, reporting each drawn stretch and each dot as parameters along the line.
// Pure arithmetic; what is made of the stretches is the sink's business.
#pragma once

#include <cstddef>
#include <vector>

#include "hatch/plan.h"

namespace veltcore::hatch {

class DashSink {
 public:
  virtual ~DashSink() = default;
  virtual void stretch(double from, double to) = 0;
  virtual void dot(double at) = 0;
};

// Walks dashes (period their length sum, > 0) over the crossings t[0] ... t[n - 1] (n even,
// n >= 2, ascending), the pattern's phase counted from the line's reference point (t = 0).
// False when the walk cannot finish: a pass through the dashes left the position where it was
// (the parameters are too large for the dash lengths to move them), or maxPasses passes were
// not enough (the crossings lie farther apart than the boundary allows). The stretches given
// so far stand.
bool walkDashes(const std::vector<Dash>& dashes, double period, const double* t, std::size_t n,
                std::size_t maxPasses, DashSink& sink);

}  // namespace veltcore::hatch
