// hatch/crossing_index.h: the indexed crossing search. Each boundary segment is given the range
// of the family's lines it may cross (its offset range across the family, widened by the
// family's margin); a sweep over the lines keeps the segments in reach, in ring order, and
// applies the plain search's rule to them alone. Segments outside that range record nothing
// in the plain search either, so both give the same crossings in the same order.
#pragma once

#include <cstddef>
#include <vector>

#include "hatch/crossings.h"

namespace veltcore::hatch {

class IndexedCrossingSearch : public CrossingSearch {
 public:
  // ring must outlive the search.
  IndexedCrossingSearch(const std::vector<LINE_2D>& ring, const FamilyPlan& family);

  // lineNo must grow from one call to the next.
  void crossingsOf(std::size_t lineNo, const PAR_LINE_2D& line, std::vector<double>& ts) override;

 private:
  // The family's lines first ... last that segment may cross.
  struct Reach {
    std::size_t first;
    std::size_t last;
    std::size_t segment;
  };

  const std::vector<LINE_2D>& ring_;
  std::vector<Reach> reaches_;         // by first line
  std::size_t nextReach_ = 0;          // the first reach not yet entered
  std::vector<std::size_t> lastLine_;  // by segment
  std::vector<std::size_t> inReach_;   // segments in reach of the current line, in ring order
  std::vector<std::size_t> entering_;  // scratch: segments that come into reach
  std::vector<std::size_t> merged_;    // scratch

  void enterUpTo(std::size_t lineNo);
};

}  // namespace veltcore::hatch
