// dxf/out/visitor_polyline.cpp: the POLYLINE record with its VERTEX records and SEQEND. A curve
// is written as its control points and its generated vertices, flagged so that the reader
// tells them apart; a polyline whose vertices leave the plane of the first becomes a 3D one.
#include <veltcore/dxf/out/visitor.h>

#include <veltcore/core/point.h>
#include <veltcore/entities/polyline.h>

namespace {

// POLYLINE flags of the file (group 70).
constexpr long kFileClosed = 1;
constexpr long kFileCurveFit = 2;
constexpr long kFileSplineFit = 4;
constexpr long kFile3D = 8;
constexpr long kFileLtGen = 128;
// VERTEX flags (group 70).
constexpr long kFitVertex = 1;     // made by curve fitting
constexpr long kSplineVertex = 8;  // made by spline fitting
constexpr long kControlPoint = 16;
constexpr long k3DVertex = 32;
// Curve type 2 is the spline; every other one uses the basis of the curve fit (type 4).
constexpr short kSplineCurve = 2;
// Group 75 tells the spline's degree: 5 quadratic, 6 cubic.
constexpr long kQuadratic = 5;
constexpr long kCubic = 6;

// The header flags and the flags of the two kinds of vertex.
struct PolylineFlags {
  long header = 0;
  long control = 0;
  long fitted = 0;
};

// Exact comparison: one vertex off the plane of the first makes the polyline 3D.
bool zValuesDiffer(const CEntPolyline& p) {
  const long total = p.getNoTotalVertexes();
  for (long i = 1; i < total; ++i)
    if (p.GetVertexPos(static_cast<int>(i)).getZ() != p.GetVertexPos(0).getZ()) return true;
  return false;
}

PolylineFlags flagsOf(const CEntPolyline& p) {
  PolylineFlags f;
  if (p.isClosed()) f.header |= kFileClosed;
  if (p.IsLtGen()) f.header |= kFileLtGen;
  if (p.getCurve() == kSplineCurve) {
    f.header |= kFileSplineFit;
    f.control = kControlPoint;
    f.fitted = kSplineVertex;
  } else if (p.isCurve()) {
    // The system makes only type 4 besides the spline; any other type is fitted with the same
    // basis, so it reads back as a curve fit.
    f.header |= kFileCurveFit;
    f.control = kControlPoint;
    f.fitted = kFitVertex;
  }
  if (zValuesDiffer(p)) {
    f.header |= kFile3D;
    f.control |= k3DVertex;
    f.fitted |= k3DVertex;
  }
  return f;
}

// Whether every visible vertex has the same start width and the same end width (exactly).
bool visibleWidthsAgree(const CEntPolyline& p) {
  const int first = static_cast<int>(p.getFirstVisibleVertex());
  const int last = static_cast<int>(p.getLastVisibleVertex());
  for (int i = first + 1; i < last; ++i)
    if (p[i].GetWidthStart() != p[first].GetWidthStart() ||
        p[i].GetWidthEnd() != p[first].GetWidthEnd())
      return false;
  return true;
}

}  // namespace

void CFileDXFOVisitor::visit(CEntPolyline& e) {
  write(0, "POLYLINE");
  def_visit(e);
  const PolylineFlags flags = flagsOf(e);
  // A 3D polyline's vertices carry their own Z; a flat one stands at its first vertex's Z, or at
  // 0 when it has no vertex.
  const bool has3D = (flags.header & kFile3D) != 0;
  const double elevation = has3D || e.getNoTotalVertexes() == 0 ? 0.0 : e.GetVertexPos(0).getZ();
  writePoint(0, PNT_3D(0.0, 0.0, elevation));
  if (flags.header != 0) write(70, flags.header);
  if ((flags.header & kFileSplineFit) != 0) write(75, e.getDegree() == 2 ? kQuadratic : kCubic);
  // Without a visible vertex there is nothing to draw: no 66, no vertices, no SEQEND. The
  // reader refuses such a record (66 is required); the file keeps what the drawing holds.
  if (e.getNoVisibleVertexes() == 0) return;

  const bool widthsInHeader = visibleWidthsAgree(e);
  if (widthsInHeader) {
    const CVertex& v = e[static_cast<int>(e.getFirstVisibleVertex())];
    if (v.GetWidthStart() != 0.0) write(40, v.GetWidthStart());
    if (v.GetWidthEnd() != 0.0) write(41, v.GetWidthEnd());
  }
  write(66, 1L);

  const CLayer* layer = e.getLayer();
  // The first control point, then the drawn vertices, then the other control points: the
  // reader keeps each kind in file order.
  if (e.getNoCtrlPnts() > 0) vertex_visit(e[0], layer, flags.control, widthsInHeader);
  if (e.isCurve()) {
    for (long i = e.getFirstVisibleVertex(); i < e.getLastVisibleVertex(); ++i)
      vertex_visit(e[static_cast<int>(i)], layer, flags.fitted, widthsInHeader);
    for (long i = 1; i < e.getLastCtrlPnt(); ++i)
      vertex_visit(e[static_cast<int>(i)], layer, flags.control, widthsInHeader);
  } else {
    for (long i = 1; i < e.getNoTotalVertexes(); ++i)
      vertex_visit(e[static_cast<int>(i)], layer, flags.control, widthsInHeader);
  }
  seq_visit(e);
}

void CFileDXFOVisitor::vertex_visit(const CVertex& v, const CLayer* layer, long flags,
                                    bool noWidths) {
  write(0, "VERTEX");
  writeHex(5, v.GetHandle());
  write(8, layerName(layer).c_str());
  writePoint(0, v.getPnt());
  if (flags != 0) write(70, flags);
  if (noWidths) return;
  if (v.GetWidthStart() != 0.0) write(40, v.GetWidthStart());
  if (v.GetWidthEnd() != 0.0) write(41, v.GetWidthEnd());
}
