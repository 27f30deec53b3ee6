// entities/polyline.cpp: CEntPolyline: construction, vertex list, counts, widths, box and the
// handle bookkeeping of its vertices. Curve generation is in polyline_curve.cpp.
// Walks that delete, reserve or release vertices go from the last vertex to the first.
#include <new>

#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/polyline_silhouette.h>
#include <veltcore/entities/visitor.h>

#include "entities/polyline_append_box.h"

CEntPolyline::CEntPolyline(long handle, CLayer* layer, CLtype* ltype, short color, short flags,
                           short degree)
    : CEnt(handle, layer, ltype, color), firstVisible_(0), flags_(flags), degree_(degree) {
  getBdry().initRegion();
}

// Filled from the back so that the last vertex gets the first handle after the polyline's.
CEntPolyline::CEntPolyline(IHandleGestor& g, CEntFactory& f, const CEntPolyline& src, long handle)
    : CEnt(src, handle),
      vertexes_(src.vertexes_.size(), nullptr),
      firstVisible_(src.firstVisible_),
      flags_(src.flags_),
      degree_(src.degree_) {
  for (std::size_t i = vertexes_.size(); i-- > 0;) {
    vertexes_[i] = f.createVertex(g, *src.vertexes_[i]);
    if (vertexes_[i] == nullptr) throw std::bad_alloc();
  }
}

CEntPolyline::CEntPolyline(IHandleGestor& g, CEntFactory& f, const CEntLine& line, long handle)
    : CEnt(line, handle), firstVisible_(0), flags_(0), degree_(0) {
  for (const PNT_3D* p : {&line.getLine().start, &line.getLine().end}) {
    CVertex* v = f.createVertex(g, *p, 0.0, 0.0, 0);
    if (v == nullptr) throw std::bad_alloc();
    vertexes_.push_back(v);
  }
}

CEntPolyline::~CEntPolyline() {
  for (std::size_t i = vertexes_.size(); i-- > 0;) delete vertexes_[i];
}

void CEntPolyline::addTbls(IHandleGestor& g) const {
  CEnt::addTbls(g);
  // Appends mostly happen while a polyline is built, before it enters a table; a drawing
  // should not carry the append state of each of its polylines. A later append rebuilds it.
  appendBox_.reset();
  for (std::size_t i = vertexes_.size(); i-- > 0;) g.reserve(vertexes_[i]);
}

void CEntPolyline::removeTbls(IHandleGestor& g) const {
  CEnt::removeTbls(g);
  for (std::size_t i = vertexes_.size(); i-- > 0;) g.release(vertexes_[i]->GetHandle());
}

void CEntPolyline::accept(IEntVisitor& v) {
  v.visit(*this);
}

CEnt* CEntPolyline::clone(IHandleGestor& g, CEntFactory& ef, CBlockFactory&, CBlockTable&,
                          long handle) const {
  return new CEntPolyline(g, ef, *this, handle);
}

void CEntPolyline::calcBdry() {
  dropAppendBox();
  RECT_3D& box = getBdry();
  box.initRegion();
  if (!isWide()) {
    for (long i = getNoTotalVertexes() - 1; i >= firstVisible_; --i)
      box.updateRegion(vertexes_[static_cast<std::size_t>(i)]->getPnt());
    return;
  }
  const CPolylineSilhouette outline(*this);
  for (int r = 0; r < outline.GetNoRuns(); ++r)
    for (const PNT_3D& p : outline.GetRunNo(r)->GetSegmentList()) box.updateRegion(p);
}

void CEntPolyline::updateBdryWith(const CVertex& v) {
  if (isWide())
    calcBdry();
  else
    getBdry().updateRegion(v.getPnt());
}

void CEntPolyline::appendVisible(CVertex& v) {
  const bool following = appendBox_ != nullptr && appendBox_->follows(*this);
  vertexes_.push_back(&v);
  if (following)
    appendBox_->append(v);
  else
    appendBox_ = std::make_unique<CPolylineAppendBox>(*this);
  if (appendBox_->isWide())
    appendBox_->box(*this, getBdry());
  else
    getBdry().updateRegion(v.getPnt());
}

void CEntPolyline::dropAppendBox() {
  appendBox_.reset();
}

void CEntPolyline::addVertex(CVertex& v) {
  if (!isCurve()) {
    appendVisible(v);
    return;
  }
  vertexes_.insert(vertexes_.begin() + firstVisible_, &v);
  ++firstVisible_;
  dropAppendBox();
}

// An index past the end appends; a negative one inserts at the front.
void CEntPolyline::insertVertex(CVertex& v, long i) {
  const long at = i < 0 ? 0 : (i > getNoTotalVertexes() ? getNoTotalVertexes() : i);
  if (at == getNoTotalVertexes() && !isCurve()) {
    appendVisible(v);
    return;
  }
  vertexes_.insert(vertexes_.begin() + at, &v);
  dropAppendBox();
  if (!isCurve()) updateBdryWith(v);
}

CVertex* CEntPolyline::removeVertex(long i) {
  if (!validIndex(i)) return nullptr;
  CVertex* v = vertexes_[static_cast<std::size_t>(i)];
  vertexes_.erase(vertexes_.begin() + i);
  dropAppendBox();
  if (!isCurve()) calcBdry();
  return v;
}

void CEntPolyline::clearVertex() {
  for (std::size_t i = vertexes_.size(); i-- > 0;) delete vertexes_[i];
  vertexes_.clear();
  dropAppendBox();
  getBdry().initRegion();
  firstVisible_ = 0;
}

void CEntPolyline::addVisibleVertex(CVertex& v) {
  if (!isCurve()) {
    appendVisible(v);
    return;
  }
  vertexes_.push_back(&v);
  dropAppendBox();
}

void CEntPolyline::addVertex(IHandleGestor& g, CVertex& v) {
  g.reserve(&v);
  addVertex(v);
}

void CEntPolyline::insertVertex(IHandleGestor& g, CVertex& v, long i) {
  g.reserve(&v);
  insertVertex(v, i);
}

void CEntPolyline::addVisibleVertex(IHandleGestor& g, CVertex& v) {
  g.reserve(&v);
  addVisibleVertex(v);
}

CVertex* CEntPolyline::removeVertex(IHandleGestor& g, long i) {
  CVertex* v = removeVertex(i);
  if (v != nullptr) g.release(v->GetHandle());
  return v;
}

void CEntPolyline::clearVertex(IHandleGestor& g) {
  for (std::size_t i = vertexes_.size(); i-- > 0;) g.release(vertexes_[i]->GetHandle());
  clearVertex();
}

void CEntPolyline::getFirstVisibileSegmentIndex(long& a, long& b) const {
  if (isClosed()) {
    a = getNoTotalVertexes() - 1;
    b = firstVisible_;
  } else {
    a = firstVisible_;
    b = firstVisible_ + 1;
  }
}

void CEntPolyline::SetVertexPos(int i, const PNT_3D& p) {
  if (!validIndex(i)) return;
  GetVertex(i).setPnt(p);
  dropAppendBox();
}

void CEntPolyline::SetVertexWidth(int i, double start, double end) {
  if (!validIndex(i)) return;
  GetVertex(i).SetWidthStart(start);
  GetVertex(i).SetWidthEnd(end);
  dropAppendBox();
}

// Segment i needs vertex i + 1; for i below firstVisible its start is the last vertex.
void CEntPolyline::getPoints(long i, PNT_3D& a, PNT_3D& b) const {
  if (!validIndex(i + 1)) return;
  a = i >= firstVisible_ ? GetVertexPos(static_cast<int>(i)) : vertexes_.back()->getPnt();
  b = GetVertexPos(static_cast<int>(i + 1));
}

void CEntPolyline::getLine(long i, LINE_3D& l) const {
  getPoints(i, l.start, l.end);
}

void CEntPolyline::setLtGen(bool on) {
  flags_ = static_cast<short>(on ? (flags_ | kLtGen) : (flags_ & ~kLtGen));
}

bool CEntPolyline::isWide() const {
  for (std::size_t i = static_cast<std::size_t>(firstVisible_); i < vertexes_.size(); ++i)
    if (vertexes_[i]->IsWide()) return true;
  return false;
}

bool CEntPolyline::IsWidthConstant(double& w) const {
  w = 0.0;
  if (vertexes_.empty()) return false;
  const CVertex& first = *vertexes_.front();
  if (first.GetWidthStart() != first.GetWidthEnd()) return false;
  const double w0 = first.GetWidthEnd();
  for (const CVertex* v : vertexes_)
    if (v->GetWidthStart() != w0 || v->GetWidthEnd() != w0) return false;
  w = w0;
  return true;
}

void CEntPolyline::setWidth(double w) {
  for (CVertex* v : vertexes_) {
    v->SetWidthStart(w);
    v->SetWidthEnd(w);
  }
  calcBdry();
}

// The curve or box is renewed even when the bit was already set (a cheap way to refresh both).
void CEntPolyline::close(IHandleGestor& g, CEntFactory& f, bool inTable) {
  flags_ = static_cast<short>(flags_ | kClosed);
  renewAfterClosing(g, f, inTable);
}

void CEntPolyline::open(IHandleGestor& g, CEntFactory& f, bool inTable) {
  flags_ = static_cast<short>(flags_ & ~kClosed);
  renewAfterClosing(g, f, inTable);
}

void CEntPolyline::renewAfterClosing(IHandleGestor& g, CEntFactory& f, bool inTable) {
  if (getNoVisibleVertexes() <= 0) return;
  if (isCurve())
    regen(g, f, inTable);
  else if (isWide())
    calcBdry();
}
