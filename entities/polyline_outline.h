// entities/polyline_outline.h (internal): the pieces of a wide polyline's outline shared by the
// full silhouette (polyline_silhouette.cpp) and the incremental box of appends
// (polyline_append_box.cpp): position tests, segment edges, the run builder over a sink, and
// the closing joint. Both must produce the same points, so both use this one builder.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/geometry/line.h>

namespace polyline_outline {

constexpr double kEps = 1e-12;

inline bool samePosition(const PNT_3D& a, const PNT_3D& b) {
  return std::fabs(a.getX() - b.getX()) <= kEps && std::fabs(a.getY() - b.getY()) <= kEps &&
         std::fabs(a.getZ() - b.getZ()) <= kEps;
}

inline bool degenerate(const PNT_3D& a, const PNT_3D& b) {
  return std::fabs(b.getX() - a.getX()) <= kEps && std::fabs(b.getY() - a.getY()) <= kEps;
}

inline PNT_3D withZ(const PNT_2D& p, double z) {
  return PNT_3D(p.getX(), p.getY(), z);
}

// A mitre is taken only where both edge lines cross near the joint: ahead of the remembered
// edge's start (t) and not past the new edge's end (s), within ten segment lengths.
inline bool mitreParameters(double t, double s) {
  return 0 < t && t < 10 && -10 < s && s < 1;
}

// The two edges of a wide segment, kept both as lines (for crossings) and as their end points
// (so that the outline holds the exact points rather than ones recomputed from a direction).
struct Edges {
  PAR_LINE_2D left, right;
  PNT_2D leftStart, leftEnd, rightStart, rightEnd;
};

inline Edges CalcLines(const PNT_2D& a, double wa, const PNT_2D& b, double wb) {
  PAR_LINE_2D dir(a, b);
  dir.Normalize();
  const PNT_2D n(-dir.dy, dir.dx);
  const PNT_2D na(n.getX() * wa / 2, n.getY() * wa / 2);
  const PNT_2D nb(n.getX() * wb / 2, n.getY() * wb / 2);
  Edges e;
  e.leftStart = a + na;
  e.leftEnd = b + nb;
  e.rightStart = a - na;
  e.rightEnd = b - nb;
  e.left = PAR_LINE_2D(e.leftStart, e.leftEnd);
  e.right = PAR_LINE_2D(e.rightStart, e.rightEnd);
  return e;
}

// Walks the segments of the distinct list. The points of the run being built go to the sink
// (push), which also closes runs (emit); the full outline keeps every point, the incremental box
// only what later segments and the closing joint can still need.
template <class Sink>
class COutlineBuilder {
 public:
  explicit COutlineBuilder(Sink sink) : sink_(sink) {}

  void build(const std::vector<const CVertex*>& d) {
    for (std::size_t k = 1; k < d.size(); ++k) segment(*d[k - 1], *d[k], k + 1 == d.size());
  }

  void segment(const CVertex& a, const CVertex& b, bool last) {
    z_ = a.getPnt().getZ();
    const bool wide = a.IsWide() && !degenerate(a.getPnt(), b.getPnt());
    if (!inWide_ && wide)
      startWide(a, b, last);
    else if (!inWide_)
      thinSegment(a, b, last);
    else if (wide)
      continueWide(a, b, last);
    else
      leaveWide(a, b, last);
  }

  Sink& sink() { return sink_; }

 private:
  // Outside a wide run, a wide segment: the thin stretch so far ends at its start.
  void startWide(const CVertex& a, const CVertex& b, bool last) {
    if (!sink_.empty()) {
      sink_.push(a.getPnt());
      sink_.emit(false);
    }
    edges_ = CalcLines(a.getPnt(), a.GetWidthStart(), b.getPnt(), a.GetWidthEnd());
    appendStarts(edges_);
    if (last || a.GetWidthEnd() == 0.0) {
      appendEnds(edges_);
      sink_.emit(true);
    } else {
      inWide_ = true;
    }
  }

  void thinSegment(const CVertex& a, const CVertex& b, bool last) {
    sink_.push(a.getPnt());
    if (last) {
      sink_.push(withZ(b.getPnt(), z_));
      sink_.emit(false);
    }
  }

  // Inside a wide run, another wide segment: mitre, butt on parallel edges, or break the run.
  void continueWide(const CVertex& a, const CVertex& b, bool last) {
    const Edges next = CalcLines(a.getPnt(), a.GetWidthStart(), b.getPnt(), a.GetWidthEnd());
    double tl = 0, sl = 0, tr = 0, sr = 0;
    const int rl = edges_.left.intersect(next.left, tl, sl);
    const int rr = edges_.right.intersect(next.right, tr, sr);
    if (rl == 2 && rr == 2 && mitreParameters(tl, sl) && mitreParameters(tr, sr)) {
      PNT_2D pl, pr;
      edges_.left.calcPt(tl, pl);
      edges_.right.calcPt(tr, pr);
      sink_.push(withZ(pl, z_));
      sink_.push(withZ(pr, z_));
    } else if (rl == 1 && rr == 1) {
      appendEnds(edges_);
    } else {
      appendEnds(edges_);
      sink_.emit(true);
      appendStarts(next);
    }
    edges_ = next;
    if (last || a.GetWidthEnd() == 0.0) {
      appendEnds(edges_);
      sink_.emit(true);
      inWide_ = false;
    }
  }

  // Inside a wide run, a thin segment: the wide run ends and a thin one starts.
  void leaveWide(const CVertex& a, const CVertex& b, bool last) {
    appendEnds(edges_);
    sink_.emit(true);
    inWide_ = false;
    thinSegment(a, b, last);
  }

  void appendStarts(const Edges& e) {
    sink_.push(withZ(e.leftStart, z_));
    sink_.push(withZ(e.rightStart, z_));
  }
  void appendEnds(const Edges& e) {
    sink_.push(withZ(e.leftEnd, z_));
    sink_.push(withZ(e.rightEnd, z_));
  }

  Sink sink_;
  Edges edges_;
  bool inWide_ = false;
  double z_ = 0;
};

// A closed polyline whose outline starts and ends wide: mitre the first run's first
// cross-section against the last run's last one when both edge pairs meet near the joint.
// f holds the first run's points 0 to 3, l the last run's last four points.
inline void CloseJoint(PNT_3D* const f[4], PNT_3D* const l[4]) {
  const PAR_LINE_2D left1(*f[0], *f[2]), left2(*l[0], *l[2]);
  const PAR_LINE_2D right1(*f[1], *f[3]), right2(*l[1], *l[3]);
  if (left1.IsNull() || left2.IsNull() || right1.IsNull() || right2.IsNull()) return;
  double tl = 0, sl = 0, tr = 0, sr = 0;
  if (left1.intersect(left2, tl, sl) != 2 || right1.intersect(right2, tr, sr) != 2) return;
  if (!mitreParameters(tl, sl) || !mitreParameters(tr, sr)) return;
  PNT_2D pl, pr;
  left1.calcPt(tl, pl);
  right1.calcPt(tr, pr);
  *f[0] = withZ(pl, f[0]->getZ());
  *f[1] = withZ(pr, f[1]->getZ());
  *l[2] = withZ(pl, l[2]->getZ());
  *l[3] = withZ(pr, l[3]->getZ());
}

}  // namespace polyline_outline
