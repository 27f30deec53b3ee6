// hatch/crossing_index.cpp: the indexed crossing search (crossing_index.h). Memory and set-up
// are linear in the ring; each line costs the segments in its reach. Line ranges are computed
// in floating point and clamped before they become indexes.
#include "hatch/crossing_index.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace veltcore::hatch {

namespace {

// The family's lines (numbered from 0 at kStart) whose offset k * dy lies within
// [lo - margin, hi + margin]; false when there are none.
bool linesInReach(const FamilyPlan& f, double lo, double hi, std::size_t& first,
                  std::size_t& last) {
  const double a = (lo - f.margin) / f.dy - f.kStart;
  const double b = (hi + f.margin) / f.dy - f.kStart;
  // Either may be infinite for a spacing far below the offsets; neither is NaN.
  const double from = std::max(std::ceil(std::min(a, b)), 0.0);
  const double to = std::min(std::floor(std::max(a, b)), static_cast<double>(f.lineCount - 1));
  if (from > to) return false;
  first = static_cast<std::size_t>(from);
  last = static_cast<std::size_t>(to);
  return true;
}

}  // namespace

IndexedCrossingSearch::IndexedCrossingSearch(const std::vector<LINE_2D>& ring,
                                             const FamilyPlan& family)
    : ring_(ring), lastLine_(ring.size(), 0) {
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const double ws = family.offsetOf(ring[i].start.getX(), ring[i].start.getY());
    const double we = family.offsetOf(ring[i].end.getX(), ring[i].end.getY());
    Reach r{0, 0, i};
    if (linesInReach(family, std::min(ws, we), std::max(ws, we), r.first, r.last)) {
      reaches_.push_back(r);
      lastLine_[i] = r.last;
    }
  }
  std::stable_sort(reaches_.begin(), reaches_.end(),
                   [](const Reach& x, const Reach& y) { return x.first < y.first; });
}

// Adds the segments whose reach starts at or before lineNo, keeping ring order.
void IndexedCrossingSearch::enterUpTo(std::size_t lineNo) {
  entering_.clear();
  for (; nextReach_ < reaches_.size() && reaches_[nextReach_].first <= lineNo; ++nextReach_)
    entering_.push_back(reaches_[nextReach_].segment);
  if (entering_.empty()) return;
  std::sort(entering_.begin(), entering_.end());
  merged_.clear();
  std::merge(inReach_.begin(), inReach_.end(), entering_.begin(), entering_.end(),
             std::back_inserter(merged_));
  inReach_.swap(merged_);
}

void IndexedCrossingSearch::crossingsOf(std::size_t lineNo, const PAR_LINE_2D& line,
                                        std::vector<double>& ts) {
  ts.clear();
  enterUpTo(lineNo);
  // Segments whose reach ends before this line drop out; the rest are tested in ring order,
  // as the plain search meets them.
  std::size_t kept = 0;
  for (const std::size_t i : inReach_) {
    if (lastLine_[i] < lineNo) continue;
    inReach_[kept++] = i;
    addCrossing(line, ring_, i, ts);
  }
  inReach_.resize(kept);
  sortCrossings(ts);
}

}  // namespace veltcore::hatch
