// entities/polyline_append_box.h (internal): the state that lets CEntPolyline rebox a wide
// polyline after an append in constant time, with the same box a full calcBdry would give.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/geometry/rect.h>

#include "entities/polyline_outline.h"

class CEntPolyline;
class CVertex;

// The outline builder is run over the distinct visible vertices as they are appended, but only
// up to the segment that ends at the last-but-one distinct vertex: nothing appended later can
// change those segments. The box of their outline points is kept, minus the few points that the
// closing joint of a closed polyline may still replace (the first two of the outline) and the
// last two points built. A box request copies this state, builds the one or two open segments
// and the closing segment, applies the closing joint and adds the held-back points.
//
// The state describes the polyline as it was when last appended to. Every operation of the
// polyline that changes its vertices in another way drops it; follows() also checks the count,
// the first visible vertex and the last two distinct vertices (object and value), so that a
// vertex changed in place at the end is noticed. Other in-place changes are seen by the box at
// the caller's next calcBdry(), as with SetVertexPos.
class CPolylineAppendBox {
 public:
  // Builds the state over p's visible vertices.
  explicit CPolylineAppendBox(const CEntPolyline& p);

  // True when p holds exactly the vertices the state was built from.
  bool follows(const CEntPolyline& p) const;
  // Takes in v, just appended to the polyline as its last vertex.
  void append(const CVertex& v);
  // Some visible vertex has a width.
  bool isWide() const { return wide_; }
  // The box of p's whole outline (p must be the polyline the state follows): equal, coordinate
  // by coordinate, to the box of every point of CPolylineSilhouette(p).
  void box(const CEntPolyline& p, RECT_3D& out) const;

 private:
  // Receives the builder's points: boxes the settled ones, keeps the first four and the last
  // four for the closing joint.
  class CBoxSink {
   public:
    CBoxSink() { box_.initRegion(); }
    void push(const PNT_3D& p);
    bool empty() const { return runSize_ == 0; }
    void emit(bool wide);
    // Adds the held-back points, mitred across the closing joint when closed, to box.
    void finish(bool closed, RECT_3D& box) const;

   private:
    RECT_3D box_;
    PNT_3D head_[4];
    PNT_3D recent_[4];
    long count_ = 0;
    long runSize_ = 0;
    long runs_ = 0;
    bool firstRunWide_ = false;
    bool lastRunWide_ = false;
  };

  // A distinct vertex not yet settled, with its value when it was taken in.
  struct Pending {
    const CVertex* vertex = nullptr;
    PNT_3D pnt;
    double widthStart = 0, widthEnd = 0;
    bool unchanged() const;
  };

  void remember(Pending& slot, const CVertex& v);

  polyline_outline::COutlineBuilder<CBoxSink> settled_{CBoxSink()};
  Pending tail_[2];
  int tailSize_ = 0;
  long count_ = 0;
  long firstVisible_ = 0;
  const CVertex* first_ = nullptr;
  bool wide_ = false;
};
