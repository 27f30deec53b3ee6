// entities/poly_adder_visitor.cpp: CEntPolyAdderVisitor, chaining lines and open polylines onto
// a target polyline by exact end matches. The first end of the target is tested before the last,
// and a piece that meets both ends closes the target. New vertices enter the target in one step.
#include <veltcore/entities/poly_adder_visitor.h>

#include <cstdlib>
#include <new>
#include <vector>

#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/polyline.h>

namespace {

// New vertices on their way into the target. Until they are in, they belong here: dropped on a
// failure, they give their handles back and are deleted.
class CVertexRun {
 public:
  CVertexRun(IHandleGestor& g, CEntFactory& f, std::size_t size) : g_(g), f_(f) {
    run_.reserve(size);
  }
  ~CVertexRun() {
    for (CVertex* v : run_) {
      f_.unbookHandle(g_, v);
      delete v;
    }
  }
  CVertexRun(const CVertexRun&) = delete;
  CVertexRun& operator=(const CVertexRun&) = delete;

  // Room for every vertex was reserved at construction, so the append cannot throw.
  void add(const PNT_3D& p, double widthStart, double widthEnd) {
    CVertex* v = f_.createVertex(g_, p, widthStart, widthEnd, 0);
    if (v == nullptr) throw std::bad_alloc();
    run_.push_back(v);
  }
  // The target owns the vertices once this returns.
  void insertInto(CEntPolyline& target, bool inTable, long at) {
    target.insertVertexes(inTable ? &g_ : nullptr, run_, at);
    run_.clear();
  }

 private:
  IHandleGestor& g_;
  CEntFactory& f_;
  std::vector<CVertex*> run_;
};

}  // namespace

CEntPolyAdderVisitor::CEntPolyAdderVisitor(IHandleGestor& g, CEntFactory& f, CEntPolyline& target,
                                           bool inTable)
    : g_(g), f_(f), inTable_(inTable), target_(target), first_(nullptr), last_(nullptr), count_(0) {
  takeEnds();
}

long CEntPolyAdderVisitor::visit(CEnt* e) {
  count_ = 0;
  e->accept(*this);
  return count_;
}

void CEntPolyAdderVisitor::visit(CEntLine& e) {
  const PNT_3D& a = e.getLine().start;
  const PNT_3D& b = e.getLine().end;
  if (first_ == nullptr) {
    openTarget();
    addVertexAhead(a, 0, 0);
    addVertexTail(b, 0, 0);
    takeEnds();
    count_ = 1;
    return;
  }
  const PNT_3D& f = *first_;
  const PNT_3D& l = *last_;
  if ((f == a && l == b) || (f == b && l == a)) {
    if (target_.isClosed()) return;
    closeTarget();
    count_ = 1;
  } else if (f == a || f == b) {
    openTarget();
    addVertexAhead(f == a ? b : a, 0, 0);
    takeEnds();
    count_ = 1;
  } else if (l == a || l == b) {
    openTarget();
    addVertexTail(l == a ? b : a, 0, 0);
    takeEnds();
    count_ = 1;
  }
}

// Only the control points are chained; a closed polyline has no ends to meet.
void CEntPolyAdderVisitor::visit(CEntPolyline& e) {
  const long n = e.getNoCtrlPnts();
  if (e.isClosed() || n < 2) return;
  const PNT_3D& p0 = e.GetVertexPos(static_cast<int>(e.getFirstCtrlPnt()));
  const PNT_3D& pn = e.GetVertexPos(static_cast<int>(e.getLastCtrlPnt() - 1));
  if (first_ == nullptr) {
    addPolyAhead(e, 0, n - 1);
    openTarget();
    takeEnds();
    count_ = target_.getNoTotalVertexes() - 1;
    return;
  }
  const PNT_3D& f = *first_;
  const PNT_3D& l = *last_;
  if ((f == p0 && l == pn) || (f == pn && l == p0)) {
    // The piece's inner vertices go ahead, running from the target's last end back to its
    // first, and the closing segment joins the two.
    if (target_.isClosed()) return;
    if (n > 2) {
      if (f == p0)
        addPolyAhead(e, n - 2, 1);
      else
        addPolyAhead(e, 1, n - 2);
      takeEnds();
    }
    closeTarget();
    ++count_;
  } else if (f == p0 || f == pn) {
    if (f == p0)
      addPolyAhead(e, n - 1, 1);
    else
      addPolyAhead(e, 0, n - 2);
    takeEnds();
    openTarget();
  } else if (l == pn || l == p0) {
    if (l == pn)
      addPolyTail(e, n - 2, 0);
    else
      addPolyTail(e, 1, n - 1);
    takeEnds();
    openTarget();
  }
}

void CEntPolyAdderVisitor::addVertexAhead(const PNT_3D& p, double widthStart, double widthEnd) {
  CVertexRun run(g_, f_, 1);
  run.add(p, widthStart, widthEnd);
  run.insertInto(target_, inTable_, 0);
}

void CEntPolyAdderVisitor::addVertexTail(const PNT_3D& p, double widthStart, double widthEnd) {
  CVertexRun run(g_, f_, 1);
  run.add(p, widthStart, widthEnd);
  run.insertInto(target_, inTable_, target_.getNoTotalVertexes());
}

void CEntPolyAdderVisitor::addPolyAhead(const CEntPolyline& p, long i, long j) {
  insertRun(p, i, j, 0);
}

void CEntPolyAdderVisitor::addPolyTail(const CEntPolyline& p, long i, long j) {
  insertRun(p, i, j, target_.getNoTotalVertexes());
}

// The copies are all made before the target changes, so p may even be the target itself.
void CEntPolyAdderVisitor::insertRun(const CEntPolyline& p, long i, long j, long at) {
  const long step = i <= j ? 1 : -1;
  const long size = std::labs(i - j) + 1;
  CVertexRun run(g_, f_, static_cast<std::size_t>(size));
  for (long k = i;; k += step) {
    const CVertex& v = p[static_cast<int>(k)];
    run.add(v.getPnt(), v.GetWidthStart(), v.GetWidthEnd());
    if (k == j) break;
  }
  run.insertInto(target_, inTable_, at);
  count_ = size;
}

void CEntPolyAdderVisitor::takeEnds() {
  const long n = target_.getNoCtrlPnts();
  if (n <= 0) {
    first_ = last_ = nullptr;
    return;
  }
  first_ = &target_.GetVertexPos(static_cast<int>(target_.getFirstCtrlPnt()));
  last_ = &target_.GetVertexPos(static_cast<int>(target_.getLastCtrlPnt() - 1));
}

void CEntPolyAdderVisitor::openTarget() {
  target_.open(g_, f_, inTable_);
}

void CEntPolyAdderVisitor::closeTarget() {
  target_.close(g_, f_, inTable_);
}
