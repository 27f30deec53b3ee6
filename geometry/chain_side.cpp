// geometry/chain_side.cpp: PtLeftSide, whether a point lies on the left of a chain of points.
// A point inside the chain's box asks its nearest segment; a point outside lets rays from the
// vertices vote for the segment that faces it, falling back to segments that see p alone.
#include <veltcore/geometry/arc.h>

#include <cstddef>
#include <limits>
#include <vector>

#include <veltcore/geometry/constructions.h>

#include "geometry/arc_angles.h"

using veltcore::geom::sameXY;

namespace {

// The chain's segments, skipping those whose ends are the same point within 1e-12.
std::vector<LINE_2D> chainSegments(const PNT_2D* pts, int n, bool closed) {
  std::vector<LINE_2D> segs;
  for (int i = 0; i + 1 < n; ++i) {
    if (!sameXY(pts[i], pts[i + 1])) segs.emplace_back(pts[i], pts[i + 1]);
  }
  if (closed && n >= 2 && !sameXY(pts[n - 1], pts[0])) segs.emplace_back(pts[n - 1], pts[0]);
  return segs;
}

// Picks the nearest segment. A foot inside the segment (kind 2) outranks an end point
// (kind 1): a candidate replaces the best only when strictly nearer and of no lower kind.
class NearestSegment {
 public:
  void offer(const LINE_2D* seg, const PNT_2D& p) {
    PNT_2D foot;
    const double t = pntPerp(*seg, p, foot);
    int kind = 1;
    double dist;
    if (t < 0.0) {
      dist = p.dist(seg->start);
    } else if (t <= 1.0) {
      dist = p.dist(foot);
      kind = 2;
    } else {
      dist = p.dist(seg->end);
    }
    if (dist < bestDist_ && kind >= bestKind_) {
      best_ = seg;
      bestDist_ = dist;
      bestKind_ = kind;
    }
  }
  const LINE_2D* best() const { return best_; }

 private:
  const LINE_2D* best_ = nullptr;
  double bestDist_ = std::numeric_limits<double>::infinity();
  int bestKind_ = 0;
};

// Rays from each vertex through p: along each ray, every crossing strictly inside a segment
// that lies further on than the ray's best so far becomes the best and votes for its segment.
// Returns the segment with most votes (the first on a tie), or null when none got a vote.
const LINE_2D* voteByRays(const std::vector<LINE_2D>& segs, const PNT_2D* pts, int n,
                          const PNT_2D& p) {
  std::vector<int> votes(segs.size(), 0);
  for (int i = 0; i < n; ++i) {
    if (pts[i] == p) continue;
    const PAR_LINE_2D ray(pts[i], p);  // p at parameter 1
    double bestS = -1.0;
    for (std::size_t k = 0; k < segs.size(); ++k) {
      double s, u;
      if (ray.intersect(PAR_LINE_2D(segs[k]), s, u) != 2) continue;
      if (u <= 0.0 || u >= 1.0 || s <= bestS) continue;
      bestS = s;
      ++votes[k];
    }
  }
  const LINE_2D* winner = nullptr;
  int most = 0;
  for (std::size_t k = 0; k < segs.size(); ++k) {
    if (votes[k] > most) {
      most = votes[k];
      winner = &segs[k];
    }
  }
  return winner;
}

// Signed side of q against the line of seg: > 0 left, < 0 right, 0 on it.
double side(const LINE_2D& seg, const PNT_2D& q) {
  const PNT_2D d = seg.end - seg.start;
  const PNT_2D w = q - seg.start;
  return d.getX() * w.getY() - d.getY() * w.getX();
}

// A segment sees p alone when every other vertex lies strictly on the other side of its line.
bool seesPointAlone(const LINE_2D& seg, const PNT_2D* pts, int n, const PNT_2D& p) {
  const double sp = side(seg, p);
  for (int i = 0; i < n; ++i) {
    if (pts[i] == seg.start || pts[i] == seg.end) continue;
    const double sv = side(seg, pts[i]);
    if (!((sp > 0.0 && sv < 0.0) || (sp < 0.0 && sv > 0.0))) return false;
  }
  return true;
}

}  // namespace

bool PtLeftSide(const PNT_2D* pts, int n, bool closed, const PNT_2D& p) {
  if (n < 2) return false;
  const std::vector<LINE_2D> segs = chainSegments(pts, n, closed);
  RECT_2D box;
  box.set(pts, n);
  if (box.inside(p)) {
    // Inside the box: the nearest segment decides.
    NearestSegment nearest;
    for (const LINE_2D& s : segs) nearest.offer(&s, p);
    return nearest.best() != nullptr && nearest.best()->ptLeftSide(p);
  }
  // Outside the box: the segment most rays from the vertices reach last before p.
  if (const LINE_2D* voted = voteByRays(segs, pts, n, p)) return voted->ptLeftSide(p);
  // No ray crossed anything: the nearest of the segments that see p alone.
  NearestSegment nearest;
  for (const LINE_2D& s : segs) {
    if (seesPointAlone(s, pts, n, p)) nearest.offer(&s, p);
  }
  return nearest.best() != nullptr && nearest.best()->ptLeftSide(p);
}
