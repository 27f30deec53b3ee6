// entities/exploder_block_visitor.cpp: CEntExploderBlockVisitor, the copy of one block entity
// (or one attribute of the reference) in drawing coordinates, made through the drawing-level
// create calls with fresh handles. Entities the placement cannot carry are skipped.
#include "entities/exploder_block_visitor.h"

#include <cmath>

#include <veltcore/database/data.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/linetypes/linetype.h>

#include "geometry/arc_angles.h"

using veltcore::detail::CUnlisted;
using veltcore::geom::kPi;
using veltcore::geom::kTwoPi;
using veltcore::geom::normAngle;

namespace veltcore::detail {

void unbookUnlisted(CData& d, IHandleEnt* e) {
  d.getEntFactory().unbookHandle(d.getHandleGestor(), e);
}

void keepResult(CData& d, std::vector<CEnt*>& results, CEnt* e) {
  CUnlisted<CEnt> held(d, e);
  if (!held) return;
  results.push_back(e);
  held.release();
}

}  // namespace veltcore::detail

namespace {

// One step towards [0, 2*pi]: arc angles arrive at most one turn outside it.
double turnOnce(double a) {
  if (a < 0) return a + kTwoPi;
  if (a > kTwoPi) return a - kTwoPi;
  return a;
}

}  // namespace

CEntExploderBlockVisitor::CEntExploderBlockVisitor(CData& d, std::vector<CEnt*>& results,
                                                   const CEntInsert& ref,
                                                   const CEntInsertMatrix& matrix, CLtype* refLtype,
                                                   short refColor, bool byBlock,
                                                   bool attribsAsTexts, bool attdefsAsTexts,
                                                   bool attdefsAsAttdefs)
    : d_(d),
      results_(results),
      ref_(ref),
      matrix_(matrix),
      refLtype_(refLtype),
      refColor_(refColor),
      byBlock_(byBlock),
      attribsAsTexts_(attribsAsTexts),
      attdefsAsTexts_(attdefsAsTexts),
      attdefsAsAttdefs_(attdefsAsAttdefs) {}

CLtype* CEntExploderBlockVisitor::ltypeOf(const CEnt& e) const {
  CLtype* own = e.getLtype();
  return byBlock_ && own != nullptr && own->isByBlock() ? refLtype_ : own;
}

short CEntExploderBlockVisitor::colorOf(const CEnt& e) const {
  return byBlock_ && e.getColor() == 0 ? refColor_ : e.getColor();
}

PNT_3D CEntExploderBlockVisitor::map(const PNT_3D& p) const {
  PNT_3D out;
  matrix_.transform(p, out);
  return out;
}

void CEntExploderBlockVisitor::keep(CEnt* e) {
  veltcore::detail::keepResult(d_, results_, e);
}

void CEntExploderBlockVisitor::visit(CEntPnt& e) {
  keep(createEntPnt(d_, e.getLayer(), ltypeOf(e), colorOf(e), map(e.getPnt()), 0));
}

void CEntExploderBlockVisitor::visit(CEntLine& e) {
  const LINE_3D l(map(e.getLine().start), map(e.getLine().end));
  keep(createEntLine(d_, e.getLayer(), ltypeOf(e), colorOf(e), l, 0));
}

void CEntExploderBlockVisitor::visit(CEnt3DFace& e) {
  keep(createEnt3DFace(d_, e.getLayer(), ltypeOf(e), colorOf(e), map(e.getVertex(0)),
                       map(e.getVertex(1)), map(e.getVertex(2)), map(e.getVertex(3)), e.getFlags(),
                       0));
}

// Circles and arcs stay circles only under a similarity in XY. A negative common scale turns
// the plane half round: the radius keeps its length and the angles gain pi.
void CEntExploderBlockVisitor::visit(CEntCircle& e) {
  if (!matrix_.IsIsotropicXY()) return;
  const PNT_3D c = map(e.getCircle().centre);
  const double r = e.getCircle().radius * std::fabs(matrix_.GetIsoScale());
  keep(createEntCircle(d_, e.getLayer(), ltypeOf(e), colorOf(e),
                       CIRCLE_3D(c.getX(), c.getY(), c.getZ(), r), 0));
}

void CEntExploderBlockVisitor::visit(CEntArc& e) {
  if (!matrix_.IsIsotropicXY()) return;
  const ARC_3D& a = e.getArc();
  const PNT_3D c = map(a.centre);
  const double r = a.radius * std::fabs(matrix_.GetIsoScale());
  const double turn = matrix_.GetIsoRotate() + (matrix_.GetIsoScale() < 0 ? kPi : 0.0);
  const ARC_3D out(c.getX(), c.getY(), c.getZ(), r, turnOnce(a.start + turn),
                   turnOnce(a.end + turn));
  keep(createEntArc(d_, e.getLayer(), ltypeOf(e), colorOf(e), out, 0));
}

// Control points go in with addVertex, the generated vertices after them with addVisibleVertex,
// so that a curve keeps its control points and its curve as they were; widths are unchanged.
void CEntExploderBlockVisitor::visit(CEntPolyline& e) {
  CUnlisted<CEntPolyline> p(d_, createEntPolyline(d_, e.getLayer(), ltypeOf(e), colorOf(e),
                                                  e.getFlags(), e.getDegree(), 0));
  if (!p) return;
  const long lastCtrl = e.getLastCtrlPnt();
  for (long i = e.getFirstCtrlPnt(); i < e.getNoTotalVertexes(); ++i) {
    const CVertex& v = e[static_cast<int>(i)];
    CUnlisted<CVertex> nv(d_,
                          createVertex(d_, map(v.getPnt()), v.GetWidthStart(), v.GetWidthEnd(), 0));
    if (!nv) return;
    if (i >= lastCtrl)
      p->addVisibleVertex(*nv.get());
    else
      p->addVertex(*nv.get());
    nv.release();
  }
  // Vertex additions leave a curve's box alone.
  if (p->isCurve()) p->calcBdry();
  keep(p.release());
}

bool CEntExploderBlockVisitor::carry(const TEXT_3D& t, TEXT_3D& out) const {
  PNT_3D pos;
  double height, rotate, oblique, widthScale;
  if (!transform_text(ref_, t, pos, height, rotate, oblique, widthScale)) return false;
  out = TEXT_3D(t.getContext().getString(), t.getStyle(), height, oblique, widthScale, rotate,
                pos.getX(), pos.getY(), pos.getZ(), t.getAlign());
  return true;
}

void CEntExploderBlockVisitor::visit(CEntText& e) {
  TEXT_3D t;
  if (carry(e.getText(), t)) keep(createEntText(d_, e.getLayer(), ltypeOf(e), colorOf(e), t, 0));
}

// The definition's string is its tag: as a text it shows the tag; as a definition it keeps its
// default value, prompt and flags too.
void CEntExploderBlockVisitor::visit(CEntAttdef& e) {
  if (!attdefsAsTexts_ && !attdefsAsAttdefs_) return;
  TEXT_3D t;
  if (!carry(e.getText(), t)) return;
  if (attdefsAsTexts_) keep(createEntText(d_, e.getLayer(), ltypeOf(e), colorOf(e), t, 0));
  if (attdefsAsAttdefs_)
    keep(createEntAttdef(d_, e.getLayer(), ltypeOf(e), colorOf(e), t, e.getValue(), e.getPrompt(),
                         e.getFlags(), 0));
}

// The attribute's string is its value, which the text shows.
void CEntExploderBlockVisitor::visit(CEntAttrib& e) {
  if (!attribsAsTexts_) return;
  TEXT_3D t;
  if (carry(e.getText(), t)) keep(createEntText(d_, e.getLayer(), ltypeOf(e), colorOf(e), t, 0));
}

// Scales multiply per axis and rotations add. That is exact when the nested reference is not
// turned, and when it is, only if both scale X and Y alike, so that the turn and the scales
// commute; otherwise the nested reference cannot be one reference any more.
bool CEntExploderBlockVisitor::combine(const CEntInsert& nested, PNT_3D& pnt, double& sx,
                                       double& sy, double& sz, double& rotate) const {
  if (nested.getRotate() != 0 && !(ref_.IsIsotropicXY() && nested.IsIsotropicXY())) return false;
  double ox, oy, oz, nx, ny, nz;
  ref_.getScale(ox, oy, oz);
  nested.getScale(nx, ny, nz);
  sx = ox * nx;
  sy = oy * ny;
  sz = oz * nz;
  rotate = normAngle(ref_.getRotate() + nested.getRotate());
  pnt = map(nested.getPnt());
  return true;
}

// The array (rows, columns, spacings) is copied as it is. The attributes are in the nested
// reference's own coordinates, which the combined placement maps as before: they are cloned
// unchanged. A copy that cannot get all its attributes is dropped whole.
void CEntExploderBlockVisitor::copyReference(const CEntInsert& e, CBlockXRef* xref) {
  if (e.getBlock() == nullptr) return;
  PNT_3D pnt;
  double sx, sy, sz, rotate;
  if (!combine(e, pnt, sx, sy, sz, rotate)) return;
  long rows, columns;
  double columnSpacing, rowSpacing;
  e.getArray(rows, columns, columnSpacing, rowSpacing);
  CEntInsert* made =
      xref != nullptr
          ? createEntInsertXRef(d_, e.getLayer(), ltypeOf(e), colorOf(e), xref, pnt, sx, sy, sz,
                                rotate, rows, columns, columnSpacing, rowSpacing, 0)
          : createEntInsert(d_, e.getLayer(), ltypeOf(e), colorOf(e), *e.getBlock(), pnt, sx, sy,
                            sz, rotate, rows, columns, columnSpacing, rowSpacing, 0);
  CUnlisted<CEntInsert> copy(d_, made);
  if (!copy) return;
  for (int i = 0; i < e.size(); ++i) {
    // A clone is of its source's class, so the clone of an attribute is an attribute.
    CUnlisted<CEnt> a(d_, cloneEnt(d_, e[i]));
    if (!a) return;
    copy->add(static_cast<CEntAttrib*>(a.get()));
    a.release();
  }
  keep(copy.release());
}

void CEntExploderBlockVisitor::visit(CEntInsert& e) {
  copyReference(e, nullptr);
}

// An external reference stays one: the copy is an external-reference insert counted in the
// drawing's dependency record once it enters the drawing.
void CEntExploderBlockVisitor::visit(CEntInsertXRef& e) {
  copyReference(e, e.getXRef());
}

// A hatch is a reference whose insert part is always the identity; combined with the outer
// reference, its new hatch takes the combined X scale as its scale and the combined rotation as
// its angle: the outer reference's own, since the insert part adds nothing. The pattern's own
// scale and angle are not carried over, which is the rule this explode has always followed. The
// boundary is mapped point by point, and the new hatch generates its own "*PAT" block, which
// enters the drawing's block table. A scale that comes out not positive (a mirroring reference)
// makes no hatch.
void CEntExploderBlockVisitor::visit(CEntHatch& e) {
  PNT_3D pnt;
  double sx, sy, sz, rotate;
  if (!combine(e, pnt, sx, sy, sz, rotate)) return;
  std::vector<PNT_3D> boundary;
  boundary.reserve(static_cast<std::size_t>(e.getNoPnts()));
  for (long i = 0; i < e.getNoPnts(); ++i) boundary.push_back(map(e.getPnt(i)));
  const double scale = sx;
  const double angle = rotate;
  keep(createEntHatch(d_, e.getLayer(), ltypeOf(e), colorOf(e), e.getHatchType(), scale, angle,
                      boundary, 0));
}
