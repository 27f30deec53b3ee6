// entities/polyline_append_box.cpp: CPolylineAppendBox, the constant-time rebox of a wide
// polyline after an append (see the header for what is kept and why).
#include "entities/polyline_append_box.h"

#include <veltcore/entities/polyline.h>

using polyline_outline::CloseJoint;
using polyline_outline::samePosition;

// Point n of the outline enters the box once two later points exist, unless it is one of the
// first two: those, and the last two, are what the closing joint may replace.
void CPolylineAppendBox::CBoxSink::push(const PNT_3D& p) {
  if (count_ < 4) head_[count_] = p;
  if (count_ >= 4) box_.updateRegion(recent_[(count_ - 2) % 4]);
  recent_[count_ % 4] = p;
  ++count_;
  ++runSize_;
}

void CPolylineAppendBox::CBoxSink::emit(bool wide) {
  if (runs_ == 0) firstRunWide_ = wide;
  lastRunWide_ = wide;
  ++runs_;
  runSize_ = 0;
}

void CPolylineAppendBox::CBoxSink::finish(bool closed, RECT_3D& box) const {
  box = box_;
  PNT_3D f[4], l[4];
  for (long i = 0; i < 4; ++i) {
    f[i] = head_[i];
    l[i] = recent_[(count_ + i) % 4];
  }
  // A wide run holds at least four points, so with both ends wide the first two and the last
  // two are four different points.
  if (closed && runs_ > 0 && firstRunWide_ && lastRunWide_ && count_ >= 4) {
    PNT_3D* const fp[4] = {&f[0], &f[1], &f[2], &f[3]};
    PNT_3D* const lp[4] = {&l[0], &l[1], &l[2], &l[3]};
    CloseJoint(fp, lp);
  }
  for (long i = 0; i < 2 && i < count_; ++i) box.updateRegion(f[i]);
  // The last two points, l[2] and l[3], are points count_ - 2 and count_ - 1.
  for (long i = 2; i < 4; ++i)
    if (count_ - 4 + i >= 2) box.updateRegion(l[i]);
}

bool CPolylineAppendBox::Pending::unchanged() const {
  return vertex->getPnt() == pnt && vertex->GetWidthStart() == widthStart &&
         vertex->GetWidthEnd() == widthEnd;
}

CPolylineAppendBox::CPolylineAppendBox(const CEntPolyline& p)
    : count_(p.getFirstVisibleVertex()), firstVisible_(p.getFirstVisibleVertex()) {
  for (long i = firstVisible_; i < p.getNoTotalVertexes(); ++i) append(p[static_cast<int>(i)]);
}

bool CPolylineAppendBox::follows(const CEntPolyline& p) const {
  if (p.getNoTotalVertexes() != count_ || p.getFirstVisibleVertex() != firstVisible_) return false;
  if (count_ > firstVisible_ && &p[static_cast<int>(firstVisible_)] != first_) return false;
  if (tailSize_ > 0 && &p[static_cast<int>(count_ - 1)] != tail_[tailSize_ - 1].vertex)
    return false;
  for (int i = 0; i < tailSize_; ++i)
    if (!tail_[i].unchanged()) return false;
  return true;
}

// Equal consecutive positions count once, by their last vertex; a new distinct vertex settles
// the segment between the two before it.
void CPolylineAppendBox::append(const CVertex& v) {
  if (count_ == firstVisible_) first_ = &v;
  ++count_;
  wide_ = wide_ || v.IsWide();
  if (tailSize_ > 0 && samePosition(tail_[tailSize_ - 1].vertex->getPnt(), v.getPnt())) {
    remember(tail_[tailSize_ - 1], v);
  } else if (tailSize_ < 2) {
    remember(tail_[tailSize_++], v);
  } else {
    settled_.segment(*tail_[0].vertex, *tail_[1].vertex, false);
    tail_[0] = tail_[1];
    remember(tail_[1], v);
  }
}

void CPolylineAppendBox::remember(Pending& slot, const CVertex& v) {
  slot.vertex = &v;
  slot.pnt = v.getPnt();
  slot.widthStart = v.GetWidthStart();
  slot.widthEnd = v.GetWidthEnd();
}

void CPolylineAppendBox::box(const CEntPolyline& p, RECT_3D& out) const {
  const CVertex* list[3];
  int n = 0;
  for (int i = 0; i < tailSize_; ++i) list[n++] = tail_[i].vertex;
  // A closed polyline runs back to its first visible vertex, unless the last one is there.
  if (p.isClosed() && n > 0 && !samePosition(first_->getPnt(), list[n - 1]->getPnt()))
    list[n++] = first_;
  polyline_outline::COutlineBuilder<CBoxSink> builder = settled_;
  for (int k = 1; k < n; ++k) builder.segment(*list[k - 1], *list[k], k + 1 == n);
  builder.sink().finish(p.isClosed(), out);
}
