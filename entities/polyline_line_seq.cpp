// CPolylineLineSeq (a polyline's visible segments as lines with their vertices) and
// CPolylineVertexSubSequence (new vertices for the stretch between two positions on those lines).
#include <veltcore/entities/polyline_silhouette.h>

#include <cmath>
#include <cstddef>
#include <stdexcept>

#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>

CPolylineLineSeq::CPolylineLineSeq(const CEntPolyline& p) : polyline_(&p), closed_(p.isClosed()) {
  for (long i = p.getFirstVisibleVertex(); i < p.getNoTotalVertexes(); ++i)
    vertexes_.push_back(&p[static_cast<int>(i)]);
  if (closed_ && !vertexes_.empty()) vertexes_.push_back(vertexes_.front());
  for (std::size_t i = 1; i < vertexes_.size(); ++i)
    lines_.emplace_back(vertexes_[i - 1]->getPnt(), vertexes_[i]->getPnt());
}

const CVertex* CPolylineLineSeq::GetVertex(long i) const {
  if (i < 0 || i >= GetNoVertexes()) return nullptr;
  return vertexes_[static_cast<std::size_t>(i)];
}

LINE_3D& CPolylineLineSeq::GetLine(long i) {
  if (i < 0) throw std::out_of_range("CPolylineLineSeq::GetLine");
  return lines_.at(static_cast<std::size_t>(i));
}

const LINE_3D& CPolylineLineSeq::GetLine(long i) const {
  if (i < 0) throw std::out_of_range("CPolylineLineSeq::GetLine");
  return lines_.at(static_cast<std::size_t>(i));
}

// ---- CPolylineVertexSubSequence ---------------------------------------------------------

namespace {

// A position at the very start of a line (after the first) is the end of the previous one.
void reExpress(int& i, double& t) {
  if (std::fabs(t) <= 1e-12 && i >= 1) {
    --i;
    t = 1;
  }
}

}  // namespace

CPolylineVertexSubSequence::CPolylineVertexSubSequence(CEntFactory& f, IHandleGestor& g,
                                                       const CEntPolyline& p, int i1, double t1,
                                                       int i2, double t2)
    : factory_(f), gestor_(g) {
  build(CPolylineLineSeq(p), i1, t1, i2, t2);
}

CPolylineVertexSubSequence::CPolylineVertexSubSequence(CEntFactory& f, IHandleGestor& g,
                                                       const CPolylineLineSeq& seq, int i1,
                                                       double t1, int i2, double t2)
    : factory_(f), gestor_(g) {
  build(seq, i1, t1, i2, t2);
}

CPolylineVertexSubSequence::~CPolylineVertexSubSequence() {
  for (CVertex* v : vertexes_) delete v;
}

CVertex* CPolylineVertexSubSequence::GetVertex(int i) const {
  if (i < 0 || i >= GetNoVertexes()) return nullptr;
  return vertexes_[static_cast<std::size_t>(i)];
}

std::vector<CVertex*> CPolylineVertexSubSequence::TakeVertexes() {
  std::vector<CVertex*> out;
  out.swap(vertexes_);
  return out;
}

void CPolylineVertexSubSequence::build(const CPolylineLineSeq& seq, int i1, double t1, int i2,
                                       double t2) {
  reExpress(i1, t1);
  reExpress(i2, t2);
  const long n = seq.GetNoLines();
  if (i1 < 0 || i1 >= n || i2 < 0 || i2 >= n) return;
  addPoint(seq, i1, t1);
  if (i2 > i1) {
    for (long i = i1 + 1; i <= i2; ++i) copyVertex(seq, i);
  } else if (!(i2 == i1 && t2 > t1)) {
    // The end lies before the start: round through the last vertex and on from vertex 0.
    for (long i = i1 + 1; i <= n; ++i) copyVertex(seq, i);
    const long last = t2 == 0.0 ? i2 - 1 : i2;
    for (long i = 0; i <= last; ++i) copyVertex(seq, i);
  }
  addPoint(seq, i2, t2);
}

// A new vertex at parameter t of line i; its start width is interpolated along the line.
void CPolylineVertexSubSequence::addPoint(const CPolylineLineSeq& seq, int i, double t) {
  const LINE_3D& l = seq.GetLine(i);
  const CVertex& from = *seq.GetVertex(i);
  const PNT_3D p(l.start.getX() + (l.end.getX() - l.start.getX()) * t,
                 l.start.getY() + (l.end.getY() - l.start.getY()) * t,
                 l.start.getZ() + (l.end.getZ() - l.start.getZ()) * t);
  const double ws = from.GetWidthStart() + (from.GetWidthEnd() - from.GetWidthStart()) * t;
  CVertex* v = factory_.createVertex(gestor_, p, ws, from.GetWidthEnd(), 0);
  if (v) vertexes_.push_back(v);
}

void CPolylineVertexSubSequence::copyVertex(const CPolylineLineSeq& seq, long i) {
  CVertex* v = factory_.createVertex(gestor_, *seq.GetVertex(i));
  if (v) vertexes_.push_back(v);
}
