// geometry/chain_offset.cpp: CalcParalLine, the offset of an open or closed chain of points
// (positive d to the right of its run). Writes at most n points; a corner that folds back
// removes the shorter of its two offset lines and the whole pass starts again.
#include <veltcore/geometry/arc.h>

#include <cstddef>
#include <vector>

#include <veltcore/geometry/constructions.h>

#include "geometry/arc_angles.h"

using veltcore::geom::sameXY;

namespace {

// The point, segment and line types of each overload, with its offset operation.
struct Flat {
  using Pnt = PNT_2D;
  using Seg = LINE_2D;
  using Par = PAR_LINE_2D;
  static Seg offset(const Seg& s, double d) { return CalcParalLineAt(s, d); }
};

struct Spatial {
  using Pnt = PNT_3D;
  using Seg = LINE_3D;
  using Par = PAR_LINE_3D;
  static Seg offset(const Seg& s, double d) { return CalcParalLineAtPlane(s, d); }
};

// Corners further than this many segment lengths from a line's start stop the pass.
constexpr double kMaxCornerParam = 10.0;

// The offset lines of the chain's segments; closed becomes false for a single segment.
// Points are "the same" within 1e-12 in X and Y (for 3D chains too: a segment with no XY
// extent has no offset direction). The first segment appended again to close the chain is
// the first one kept, which is pts[0] -> pts[1] unless those two are the same point.
template <class K>
std::vector<typename K::Par> offsetLines(const typename K::Pnt* pts, int n, double d,
                                         bool& closed) {
  std::vector<typename K::Seg> segs;
  for (int i = 0; i + 1 < n; ++i) {
    if (!sameXY(pts[i], pts[i + 1])) segs.emplace_back(pts[i], pts[i + 1]);
  }
  if (segs.size() == 1) closed = false;
  if (closed && !segs.empty()) {
    if (!sameXY(pts[n - 1], pts[0])) segs.emplace_back(pts[n - 1], pts[0]);
    segs.push_back(segs.front());
  }
  std::vector<typename K::Par> lines;
  for (const typename K::Seg& s : segs) {
    const typename K::Seg off = K::offset(s, d);
    if (!sameXY(off.start, off.end)) lines.emplace_back(off.start, off.end);
  }
  return lines;
}

// One pass over the lines, writing the chain to out. Returns the index j of the line whose
// corner with line j - 1 stopped the pass, or 0 when the pass completed (count in written).
template <class K>
std::size_t writePass(const std::vector<typename K::Par>& lines, bool closed, typename K::Pnt* out,
                      int& written) {
  written = 0;
  if (!closed) lines.front().calcPt(0.0, out[written++]);
  double sPrev = 0.0;  // the previous corner's parameter on the previous line
  for (std::size_t j = 1; j < lines.size(); ++j) {
    const typename K::Par& prev = lines[j - 1];
    double t, s;
    typename K::Pnt corner;
    if (prev.intersect(lines[j], t, s) == 2) {
      prev.calcPt(t, corner);
    } else {
      // Coincident lines (a straight run) and parallel distinct lines (the chain turns back
      // on itself) have no single crossing: the corner is the previous line's end, taken as
      // t = 1 on it and s = 0 on the next one. For a turn-back this keeps both offset lines
      // whole and joins them straight from the end of one to the corner after the other.
      prev.calcPt(1.0, corner);
      t = 1.0;
      s = 0.0;
    }
    // A corner behind the previous one, or far beyond either line, folds the offset back.
    if (t < sPrev || t > kMaxCornerParam || s > kMaxCornerParam) return j;
    out[written++] = corner;
    sPrev = s;
  }
  if (!closed) lines.back().calcPt(1.0, out[written++]);
  return 0;
}

template <class K>
int offsetChain(const typename K::Pnt* pts, int n, double d, bool closed, typename K::Pnt* out) {
  if (n < 2) return 0;
  std::vector<typename K::Par> lines = offsetLines<K>(pts, n, d, closed);
  for (;;) {
    if (lines.empty()) return 0;
    if (lines.size() == 1) closed = false;
    int written = 0;
    const std::size_t j = writePass<K>(lines, closed, out, written);
    if (j == 0) return written;
    // Drop the shorter line of the failed corner (the later one on a tie) and start again.
    // Lengths are planar, in 3D too: the offset is an XY construction.
    const std::size_t drop = lines[j].length() <= lines[j - 1].length() ? j : j - 1;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(drop));
  }
}

}  // namespace

int CalcParalLine(const PNT_2D* pts, int n, double d, bool closed, PNT_2D* out) {
  return offsetChain<Flat>(pts, n, d, closed, out);
}

int CalcParalLine(const PNT_3D* pts, int n, double d, bool closed, PNT_3D* out) {
  return offsetChain<Spatial>(pts, n, d, closed, out);
}
