// CalcNearestLine over a polyline: its visible segments in the polyline's own numbering, the
// closing segment of a closed polyline first (numbered firstVisible - 1).
#include <veltcore/entities/polyline_silhouette.h>

#include <veltcore/entities/polyline.h>
#include <veltcore/geometry/constructions.h>

namespace {

// Keeps the first segment whose nearest point is strictly closer than all before it.
class CNearestSearch {
 public:
  CNearestSearch(const PNT_2D& p, int& index, double& t) : p_(p), index_(index), t_(t) {
    index_ = -1;
    t_ = 1.7e+200;
  }

  void offer(int number, const PNT_3D& a, const PNT_3D& b) {
    PNT_2D nearest;
    const double param = pntNearest(LINE_2D(a, b), p_, nearest);
    const double d = p_.dist_square(nearest);
    if (found_ && !(d < best_)) return;
    found_ = true;
    best_ = d;
    index_ = number;
    t_ = param;
  }

 private:
  const PNT_2D& p_;
  int& index_;
  double& t_;
  bool found_ = false;
  double best_ = 0;
};

}  // namespace

void CalcNearestLine(const CEntPolyline& p, const PNT_2D& pt, int& index, double& t) {
  CNearestSearch search(pt, index, t);
  long a = 0, b = 0;
  p.getFirstVisibileSegmentIndex(a, b);
  const long first = p.getFirstVisibleVertex();
  const long total = p.getNoTotalVertexes();
  // Segment i ends at vertex i + 1; the closing segment (i = firstVisible - 1) starts at the last.
  for (long i = b - 1; i + 1 < total; ++i) {
    const long from = i >= first ? i : total - 1;
    search.offer(static_cast<int>(i), p.GetVertexPos(static_cast<int>(from)),
                 p.GetVertexPos(static_cast<int>(i + 1)));
  }
}

void CPolylineLineSeq::CalcNearestLine(const PNT_2D& p, int& index, double& t) const {
  CNearestSearch search(p, index, t);
  for (std::size_t i = 0; i < lines_.size(); ++i)
    search.offer(static_cast<int>(i), lines_[i].start, lines_[i].end);
}
