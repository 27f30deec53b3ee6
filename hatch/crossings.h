// hatch/crossings.h: where one hatch line crosses the boundary ring, by the even-odd rule, as
// ascending parameters (distances along the line). Two searches give the very same list: the
// plain one tests every segment; the indexed one tests only the segments whose offset range
// across the family reaches the line. Internal; tests compare the two.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <veltcore/geometry/line.h>

#include "hatch/plan.h"

namespace veltcore::hatch {

enum class CrossingSearchKind { kPlain, kIndexed };

// Appends what segment ring[i] contributes to the crossings of line (none, or one parameter).
// prev, the segment before it in the ring, decides a crossing exactly at ring[i]'s start.
void addCrossing(const PAR_LINE_2D& line, const std::vector<LINE_2D>& ring, std::size_t i,
                 std::vector<double>& ts);
// Ascending; equal values keep their order.
void sortCrossings(std::vector<double>& ts);

// The crossings of the lines of one family, asked for line by line.
class CrossingSearch {
 public:
  virtual ~CrossingSearch() = default;
  // Replaces ts by the sorted crossings of line, the family's line number lineNo. The indexed
  // search wants the line numbers in increasing order.
  virtual void crossingsOf(std::size_t lineNo, const PAR_LINE_2D& line,
                           std::vector<double>& ts) = 0;
};

// A search over ring (which must outlive it) for the lines of family.
std::unique_ptr<CrossingSearch> makeCrossingSearch(CrossingSearchKind kind,
                                                   const std::vector<LINE_2D>& ring,
                                                   const FamilyPlan& family);

}  // namespace veltcore::hatch
