// hatch/crossings.cpp: the crossing rule of one hatch line with one boundary segment, the sort
// of a line's crossings, and the plain search that applies the rule to every segment. The
// indexed search is in crossing_index.cpp and must give exactly what this one gives.
#include "hatch/crossings.h"

#include <algorithm>

#include "geometry/tolerance.h"
#include "hatch/crossing_index.h"

namespace veltcore::hatch {

namespace {

bool nullSegment(const LINE_2D& s) {
  return geom::equalWithin(s.end.getX(), s.start.getX()) &&
         geom::equalWithin(s.end.getY(), s.start.getY());
}

// Up to this many crossings, an insertion sort (no buffer to allocate); past it a stable merge
// sort. Both are stable and ascending, so the order is the same.
constexpr std::size_t kInsertionSortMax = 32;

class PlainCrossingSearch : public CrossingSearch {
 public:
  explicit PlainCrossingSearch(const std::vector<LINE_2D>& ring) : ring_(ring) {}

  void crossingsOf(std::size_t, const PAR_LINE_2D& line, std::vector<double>& ts) override {
    ts.clear();
    for (std::size_t i = 0; i < ring_.size(); ++i) addCrossing(line, ring_, i, ts);
    sortCrossings(ts);
  }

 private:
  const std::vector<LINE_2D>& ring_;
};

}  // namespace

void addCrossing(const PAR_LINE_2D& line, const std::vector<LINE_2D>& ring, std::size_t i,
                 std::vector<double>& ts) {
  const LINE_2D& seg = ring[i];
  if (nullSegment(seg)) return;
  double t, u;  // t along the hatch line, u along the segment (0 at its start, 1 at its end)
  switch (line.intersect(PAR_LINE_2D(seg), t, u)) {
    case 2:
      // The end belongs to the next segment, so each vertex is counted at most once.
      if (u >= 1) return;
      if (u > 0) {
        ts.push_back(t);
      } else if (u == 0) {
        // Through the start vertex: a crossing only where the boundary passes to the other
        // side; a line that just touches a corner records nothing.
        const LINE_2D& prev = ring[i == 0 ? ring.size() - 1 : i - 1];
        if (!line.sameSide(seg.end, prev.start)) ts.push_back(t);
      }
      return;
    case 1:  // the segment lies on the line
      ts.push_back(line.calcParam(seg.start));
      return;
    default:  // parallel, apart
      return;
  }
}

void sortCrossings(std::vector<double>& ts) {
  if (ts.size() > kInsertionSortMax) {
    std::stable_sort(ts.begin(), ts.end());
    return;
  }
  for (std::size_t i = 1; i < ts.size(); ++i) {
    const double v = ts[i];
    std::size_t j = i;
    for (; j > 0 && v < ts[j - 1]; --j) ts[j] = ts[j - 1];
    ts[j] = v;
  }
}

std::unique_ptr<CrossingSearch> makeCrossingSearch(CrossingSearchKind kind,
                                                   const std::vector<LINE_2D>& ring,
                                                   const FamilyPlan& family) {
  if (kind == CrossingSearchKind::kPlain) return std::make_unique<PlainCrossingSearch>(ring);
  return std::make_unique<IndexedCrossingSearch>(ring, family);
}

}  // namespace veltcore::hatch
