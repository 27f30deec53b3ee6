// entities/polyline_curve.cpp: curve generation of CEntPolyline: the padded control points, the
// cubic bases (uniform B-spline for spline fit, Catmull-Rom otherwise) and the stepped evaluation
// that appends the visible vertices with linearly interpolated widths.
#include <cmath>
#include <cstddef>
#include <new>

#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/polyline.h>

namespace {

// Group j: coefficients of t^3, t^2, t, 1 of the weight of the j-th of four consecutive points.
constexpr double kBSpline[16] = {-1.0 / 6, 0.5, -0.5, 1.0 / 6, 0.5,     -1.0, 0.0, 2.0 / 3,
                                 -0.5,     0.5, 0.5,  1.0 / 6, 1.0 / 6, 0.0,  0.0, 0.0};
constexpr double kCatmullRom[16] = {-0.5, 1.0, -0.5, 0.0, 1.5, -2.5, 0.0, 1.0,
                                    -1.5, 2.0, 0.5,  0.0, 0.5, -0.5, 0.0, 0.0};
constexpr short kSplineFit = 2;
constexpr double kEps = 1e-12;

PNT_3D scaled(const PNT_3D& p, double k) {
  return PNT_3D(p.getX() * k, p.getY() * k, p.getZ() * k);
}

}  // namespace

void CEntPolyline::gener(IHandleGestor& g, CEntFactory& f, short curve, short degree,
                         bool inTable) {
  if (curve == getCurve() && (curve == 0 || degree == degree_)) return;
  const bool wasCurve = isCurve();
  degree_ = degree;
  flags_ = static_cast<short>((flags_ & ~kCurveMask) | curve);
  if (curve != 0) {
    if (!wasCurve) firstVisible_ = static_cast<std::int32_t>(getNoTotalVertexes());
    regen(g, f, inTable);
    return;
  }
  deleteVertexVisible(inTable ? &g : nullptr);
  firstVisible_ = 0;
  calcBdry();
}

void CEntPolyline::regen(IHandleGestor& g, CEntFactory& f, bool inTable) {
  if (!isCurve()) return;
  deleteVertexVisible(inTable ? &g : nullptr);
  std::vector<PNT_3D> p;
  createPartition(p);
  makeCurve(g, f, inTable, p, getCurve() == kSplineFit ? kBSpline : kCatmullRom, 0.1);
  calcBdry();
}

void CEntPolyline::Rectify() {
  if (!isCurve()) return;
  for (std::size_t i = static_cast<std::size_t>(firstVisible_); i-- > 0;) delete vertexes_[i];
  vertexes_.erase(vertexes_.begin(), vertexes_.begin() + firstVisible_);
  firstVisible_ = 0;
  degree_ = 0;
  flags_ = static_cast<short>(flags_ & ~kCurveMask);
  calcBdry();
}

void CEntPolyline::deleteVertexVisible(IHandleGestor* g) {
  for (std::size_t i = static_cast<std::size_t>(firstVisible_); i < vertexes_.size(); ++i) {
    if (g != nullptr) g->release(vertexes_[i]->GetHandle());
    delete vertexes_[i];
  }
  vertexes_.resize(static_cast<std::size_t>(firstVisible_));
  getBdry().initRegion();
  dropAppendBox();
}

// A closed curve needs two control points and an open one one (the padding reads c0, c1 and
// c(n-1)); with fewer the partition stays empty. Open curves of a type other than spline fit
// are padded as curve fit (the end points doubled), so the curve still runs from c0 to c(n-1).
void CEntPolyline::createPartition(std::vector<PNT_3D>& p) const {
  p.clear();
  const std::size_t n = static_cast<std::size_t>(firstVisible_);
  auto c = [this](std::size_t i) -> const PNT_3D& { return vertexes_[i]->getPnt(); };
  if (isClosed()) {
    if (n < 2) return;
    p.push_back(c(n - 1));
    for (std::size_t i = 0; i < n; ++i) p.push_back(c(i));
    p.push_back(c(0));
    p.push_back(c(1));
    return;
  }
  if (n < 1) return;
  const int pad = getCurve() == kSplineFit ? 2 : 1;
  for (int k = 0; k < pad; ++k) p.push_back(c(0));
  for (std::size_t i = 0; i < n; ++i) p.push_back(c(i));
  for (int k = 0; k < pad; ++k) p.push_back(c(n - 1));
}

void CEntPolyline::makeCurve(IHandleGestor& g, CEntFactory& f, bool inTable,
                             const std::vector<PNT_3D>& p, const double* m, double step) {
  if (p.size() < 4) return;
  double w0 = 0.0;
  double w1 = 0.0;
  if (firstVisible_ >= 2) {
    w0 = vertexes_[0]->GetWidthStart();
    w1 = vertexes_[static_cast<std::size_t>(firstVisible_ - 2)]->GetWidthEnd();
  }
  const double k = std::floor(1.0 / step);
  const double dw = (w1 - w0) / (k * static_cast<double>(p.size() - 3));
  double w = w0;
  for (std::size_t s = 3; s < p.size(); ++s) {
    PNT_3D coef[4];
    for (int r = 0; r < 4; ++r) {
      coef[r] = PNT_3D(0, 0, 0);
      for (int j = 0; j < 4; ++j) coef[r] = coef[r] + scaled(p[s - 3 + j], m[4 * j + r]);
    }
    for (double t = 0.0; t <= 1.0 + 2 * kEps; t += step) {
      if (std::fabs(t) <= kEps && s != 3) continue;
      const PNT_3D pt =
          scaled(coef[0], t * t * t) + scaled(coef[1], t * t) + scaled(coef[2], t) + coef[3];
      CVertex* v = f.createVertex(g, pt, w, w + dw, 0);
      if (v == nullptr) throw std::bad_alloc();
      if (inTable) g.reserve(v);
      vertexes_.push_back(v);
      w += dw;
    }
  }
}
