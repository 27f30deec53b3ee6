// CPolylineSilhouette: the outline of a polyline with widths, built segment by segment over its
// distinct visible vertices, then joined across the closing vertex of a closed polyline.
#include <veltcore/entities/polyline_silhouette.h>

#include <cmath>
#include <cstddef>

#include <veltcore/entities/polyline.h>

#include "entities/polyline_outline.h"

namespace {

using namespace polyline_outline;

// The visible vertices with each run of equal consecutive positions reduced to its last vertex,
// and the first vertex repeated at the end of a closed polyline.
std::vector<const CVertex*> FillDistinctVertexList(const CEntPolyline& p) {
  std::vector<const CVertex*> d;
  const long first = p.getFirstVisibleVertex();
  const long total = p.getNoTotalVertexes();
  if (total - first < 2) return d;
  for (long i = first; i < total; ++i) {
    const CVertex& v = p[static_cast<int>(i)];
    if (!d.empty() && samePosition(d.back()->getPnt(), v.getPnt()))
      d.back() = &v;
    else
      d.push_back(&v);
  }
  const CVertex& last = p[static_cast<int>(total - 1)];
  if (d.empty() || !samePosition(d.back()->getPnt(), last.getPnt())) d.push_back(&last);
  const CVertex& firstV = p[static_cast<int>(first)];
  if (p.isClosed() && !samePosition(firstV.getPnt(), last.getPnt())) d.push_back(&firstV);
  return d;
}

// The full outline: every point, in runs.
class CRunListSink {
 public:
  explicit CRunListSink(std::vector<CPolylineSilhouette::CPolylineSilhouetteRun*>& runs)
      : runs_(&runs) {}
  void push(const PNT_3D& p) { cur_.push_back(p); }
  bool empty() const { return cur_.empty(); }
  void emit(bool wide) {
    runs_->push_back(new CPolylineSilhouette::CPolylineSilhouetteRun(wide, cur_));
    cur_.clear();
  }

 private:
  std::vector<CPolylineSilhouette::CPolylineSilhouetteRun*>* runs_;
  std::vector<PNT_3D> cur_;
};

void CloseRunJoint(std::vector<PNT_3D>& first, std::vector<PNT_3D>& last) {
  if (first.size() < 4 || last.size() < 4) return;
  const std::size_t n = last.size();
  PNT_3D* const f[4] = {&first[0], &first[1], &first[2], &first[3]};
  PNT_3D* const l[4] = {&last[n - 4], &last[n - 3], &last[n - 2], &last[n - 1]};
  CloseJoint(f, l);
}

}  // namespace

CPolylineSilhouette::CPolylineSilhouetteRun::CPolylineSilhouetteRun(bool wide,
                                                                    std::vector<PNT_3D>& points)
    : points_(points), wide_(wide) {}

CPolylineSilhouette::CPolylineSilhouette(const CEntPolyline& p) {
  CalcSilhouette(p);
}

CPolylineSilhouette::CPolylineSilhouette(const CPolylineSilhouette& src) {
  *this = src;
}

CPolylineSilhouette& CPolylineSilhouette::operator=(const CPolylineSilhouette& src) {
  if (this == &src) return *this;
  clear();
  runs_.reserve(src.runs_.size());
  for (const CPolylineSilhouetteRun* r : src.runs_) runs_.push_back(new CPolylineSilhouetteRun(*r));
  return *this;
}

CPolylineSilhouette::~CPolylineSilhouette() {
  clear();
}

const CPolylineSilhouette::CPolylineSilhouetteRun* CPolylineSilhouette::GetRunNo(int i) const {
  if (i < 0 || i >= GetNoRuns()) return nullptr;
  return runs_[static_cast<std::size_t>(i)];
}

void CPolylineSilhouette::CalcSilhouette(const CEntPolyline& p) {
  const std::vector<const CVertex*> d = FillDistinctVertexList(p);
  if (d.size() < 2) return;
  COutlineBuilder<CRunListSink>(CRunListSink(runs_)).build(d);
  if (p.isClosed() && !runs_.empty() && runs_.front()->IsWideRun() && runs_.back()->IsWideRun())
    CloseRunJoint(runs_.front()->GetSegmentList(), runs_.back()->GetSegmentList());
}

void CPolylineSilhouette::clear() {
  for (CPolylineSilhouetteRun* r : runs_) delete r;
  runs_.clear();
}
