// tools/velt/render/scene.cpp: drawing each kind of entity. Geometry goes to pixels through the
// transform of the block copy being drawn, so nested references, arrays, mirrors and uneven
// scales need nothing of their own; circles and arcs stay semantic (<circle>, arcs) while they
// stay circular and solid, and become chains of chords otherwise.
#include "render/scene.h"

#include <veltcore/database/block.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/layer.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/entities/polyline.h>
#include <veltcore/entities/polyline_silhouette.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/linetypes/linetype.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "io/progress.h"
#include "render/curves.h"
#include "render/layer_rules.h"
#include "render/text_layout.h"

namespace velt {

namespace {

constexpr double kTwoPi = 6.283185307179586476925;
// Block references nested deeper than this are not followed (the block graph refuses cycles,
// so this only bounds the work).
constexpr int kMaxDepth = 64;
// The rows and the columns of an array drawn at most.
constexpr long kMaxArray = 2048;
// A text whose cell is lower than this many pixels cannot be read and is drawn as a line.
constexpr double kReadableText = 3.0;
// A polyline whose widths are all narrower than this many pixels is drawn along its centre
// line.
constexpr double kFillableWidth = 1.0;
constexpr long kInvisibleAttribute = 1;
constexpr short kHatchType = 10;

PixelPoint centreOf(const PixelBox& b) {
  return {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
}

PixelPoint midpoint(PixelPoint a, PixelPoint b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

}  // namespace

SceneWalker::SceneWalker(const CData& data, const CWndVpt& view, Canvas& canvas,
                         const LayerRules& rules, bool blackBackground, const FreeTypeFont* font)
    : data_(data),
      view_(view),
      canvas_(canvas),
      rules_(rules),
      font_(font),
      black_(blackBackground),
      context_{PixelTransform(view)} {
  long width = 0, height = 0;
  view.get(width, height);
  visible_ = {-2.0, -2.0, static_cast<double>(width) + 1, static_cast<double>(height) + 1};
}

void SceneWalker::drawModelSpace(ProgressBar* bar) {
  double done = 0;
  for (CEnt* e : data_.getEntTable().getEntityTbl()) {
    e->accept(*this);
    if (bar != nullptr) bar->update(++done);
  }
}

// Layers, colours, linetypes, culling.

const CLayer* SceneWalker::layerOf(const CEnt& e) const {
  const CLayer* layer = e.getLayer();
  // A hatch's lines belong to the hatch, whichever layer was current when they were made.
  if (context_.insertLayer != nullptr && (layer == nullptr || layer->is0() || context_.hatch))
    return context_.insertLayer;
  return layer;
}

bool SceneWalker::prepare(const CEnt& e, const char* kind, Look& look) {
  return prepare(e, e.getBdry(), kind, look);
}

bool SceneWalker::prepare(const CEnt& e, const RECT_3D& box, const char* kind, Look& look) {
  const CLayer* layer = layerOf(e);
  if (!rules_.shown(layer)) return false;
  look.box = context_.transform.boxOf(box);
  if (!look.box.empty() && outside(look.box)) return false;
  look.colour = colourOf(e.getColor(), layer);
  look.ltype = ltypeOf(e.getLtype(), layer);
  if (!canvas_.raster() || look.box.empty() || !belowPixel(look.box)) return true;
  canvas_.beginEntity(kind);
  canvas_.dot(centreOf(look.box), look.colour);
  canvas_.endEntity();
  return false;
}

Rgb SceneWalker::colourOf(short colour, const CLayer* layer) const {
  short number = colour;
  if (colour == 256 && layer == nullptr) {
    number = 7;
  } else {
    number = getColor(colour, layer, context_.blockColour);
  }
  // An off layer may keep its colour negative, as the file writes it.
  return velt::colourOf(std::abs(number), black_);
}

const CLtype* SceneWalker::ltypeOf(const CLtype* lt, const CLayer* layer) const {
  if (lt != nullptr && lt->isByBlock()) return context_.blockLtype;
  if (lt != nullptr && lt->isByLayer()) lt = layer != nullptr ? layer->getLtype() : nullptr;
  if (lt == nullptr || lt->isContinuous() || lt->isByLayer() || lt->isByBlock()) return nullptr;
  return lt;
}

bool SceneWalker::outside(const PixelBox& b) const {
  return b.right < visible_.left || b.left > visible_.right || b.bottom < visible_.top ||
         b.top > visible_.bottom || !std::isfinite(b.left + b.right + b.top + b.bottom);
}

bool SceneWalker::belowPixel(const PixelBox& b) const {
  return b.width() < 1.0 && b.height() < 1.0;
}

// Block references and hatches.

void SceneWalker::visit(CEntInsert& e) {
  drawInsert(e, "insert");
}

void SceneWalker::visit(CEntInsertXRef& e) {
  drawInsert(e, "insert");
}

void SceneWalker::visit(CEntHatch& e) {
  drawInsert(e, "hatch");
}

void SceneWalker::drawInsert(CEntInsert& e, const char* kind) {
  const CLayer* layer = layerOf(e);
  if (LayerRules::frozen(layer) || e.getBlock() == nullptr || context_.depth >= kMaxDepth) return;
  const PixelBox box = context_.transform.boxOf(e.getBdry());
  if (!box.empty() && outside(box)) return;
  const short colour = e.getColor() == 256 && layer == nullptr
                           ? short{7}
                           : getColor(e.getColor(), layer, context_.blockColour);
  if (canvas_.raster() && !box.empty() && belowPixel(box)) {
    if (rules_.shown(layer)) canvas_.dot(centreOf(box), velt::colourOf(std::abs(colour), black_));
    return;
  }
  const Context outer = context_;
  context_.blockColour = static_cast<short>(std::abs(colour));
  context_.blockLtype = ltypeOf(e.getLtype(), layer);
  ++context_.depth;
  context_.hatch = e.getType() == kHatchType;
  canvas_.beginGroup(kind);
  drawCopies(e);
  drawAttributes(e, outer.transform);
  canvas_.endGroup();
  context_ = outer;
}

void SceneWalker::drawCopies(CEntInsert& e) {
  const CBlock& block = *e.getBlock();
  long rows = 1, columns = 1;
  double columnSpacing = 0, rowSpacing = 0;
  e.getArray(rows, columns, columnSpacing, rowSpacing);
  rows = std::clamp(rows, 1L, kMaxArray);
  columns = std::clamp(columns, 1L, kMaxArray);
  for (long r = 1; r <= rows; ++r) {
    for (long c = 1; c <= columns; ++c) {
      inserts_.Push(&e, static_cast<int>(r), static_cast<int>(c));
      context_.transform = PixelTransform(view_, inserts_.GetCurMatrix());
      context_.insertLayer = inserts_.GetCurLayer();
      const PixelBox copy = context_.transform.boxOf(block.getBdry());
      if (copy.empty() || !outside(copy)) {
        if (canvas_.raster() && !copy.empty() && belowPixel(copy)) {
          if (rules_.shown(context_.insertLayer))
            canvas_.dot(centreOf(copy), velt::colourOf(context_.blockColour, black_));
        } else {
          for (int i = 0; i < block.size(); ++i) block[i]->accept(*this);
        }
      }
      inserts_.Pop();
    }
  }
}

void SceneWalker::drawAttributes(CEntInsert& e, const PixelTransform& around) {
  if (e.size() == 0) return;
  // An attribute is stored in the reference's own coordinates; the library places it in the
  // coordinates the reference lies in (unmirrored, as the file gives it), and it is drawn
  // from there. Its layer "0" is the reference's.
  inserts_.Push(&e, 1, 1);
  context_.insertLayer = inserts_.GetCurLayer();
  context_.transform = around;
  const CEntInsert* outer = attributesOf_;
  attributesOf_ = &e;
  for (int i = 0; i < e.size(); ++i) e[i].accept(*this);
  attributesOf_ = outer;
  inserts_.Pop();
}

// Texts.

void SceneWalker::visit(CEntText& e) {
  Look look;
  if (!prepare(e, "text", look)) return;
  canvas_.beginEntity("text");
  drawText(e.getText(), look);
  canvas_.endEntity();
}

void SceneWalker::visit(CEntAttdef& e) {
  // Inside a block the definitions are fields: their references' attributes show instead.
  Look look;
  if (context_.depth > 0 || !prepare(e, "attdef", look)) return;
  canvas_.beginEntity("attdef");
  drawText(e.getText(), look);
  canvas_.endEntity();
}

void SceneWalker::visit(CEntAttrib& e) {
  if ((e.getFlags() & kInvisibleAttribute) != 0 || attributesOf_ == nullptr) return;
  PNT_3D pos;
  double height = 0, rotation = 0, oblique = 0, widthScale = 0;
  transform_attrib_logic_2_phisic(*attributesOf_, e, pos, height, rotation, oblique, widthScale);
  if (!std::isfinite(pos.getX() + pos.getY() + height + rotation + oblique + widthScale)) return;
  const TEXT_3D& logical = e.getText();
  const TEXT_3D placed(
      CTextContext(logical.getContext().getString(), height, oblique, widthScale, rotation),
      logical.getStyle(), pos.getX(), pos.getY(), pos.getZ(), logical.getAlign());
  RECT_3D box;
  placed.calc_bdry(box);
  Look look;
  if (!prepare(e, box, "attrib", look)) return;
  canvas_.beginEntity("attrib");
  drawText(placed, look);
  canvas_.endEntity();
}

void SceneWalker::drawText(const TEXT_3D& t, const Look& look) {
  if (!placeText(t, context_.transform, font_, run_)) return;
  if (canvas_.raster() && pixelHeight(run_) < kReadableText) {
    // Too small to read: a line along the middle of the text's cell.
    PixelPoint c[4];
    textCorners(t, context_.transform, c);
    path_.clear();
    path_.moveTo(midpoint(c[0], c[3]));
    path_.lineTo(midpoint(c[1], c[2]));
    canvas_.strokePath(path_, look.colour);
    return;
  }
  displayText(t.getContext().getString().c_str(), run_.utf8);
  canvas_.text(run_, look.colour);
}

// Curves and lines.

void SceneWalker::visit(CEntLine& e) {
  Look look;
  if (!prepare(e, "line", look)) return;
  const LINE_3D& l = e.getLine();
  points_.assign({context_.transform.apply(l.start), context_.transform.apply(l.end)});
  canvas_.beginEntity("line");
  strokeChain(false, false, look);
  canvas_.endEntity();
}

void SceneWalker::visit(CEntCircle& e) {
  Look look;
  if (!prepare(e, "circle", look)) return;
  const CIRCLE_3D& c = e.getCircle();
  canvas_.beginEntity("circle");
  if (look.ltype == nullptr && context_.transform.conformal()) {
    canvas_.strokeCircle(context_.transform.apply(c.centre), c.radius * context_.transform.scale(),
                         look.colour);
  } else {
    path_.clear();
    addArc(path_, context_.transform, c.centre, c.radius, 0, kTwoPi);
    strokeCurve(look);
  }
  canvas_.endEntity();
}

void SceneWalker::visit(CEntArc& e) {
  Look look;
  if (!prepare(e, "arc", look)) return;
  const ARC_3D& a = e.getArc();
  double s = 0, end = 0;
  a.getSafeAngles(s, end);
  canvas_.beginEntity("arc");
  const PixelTransform& t = context_.transform;
  if (look.ltype == nullptr && t.conformal()) {
    // In pixels, where y grows downward, the arc runs the other way round unless a mirror
    // turns it back: its pixel angles then start at the drawing's end point.
    PNT_3D ps, pe;
    a.end_points(ps, pe);
    const PixelPoint c = t.apply(a.centre);
    const PixelPoint from = t.apply(t.flipsOrientation() ? pe : ps);
    const double a0 = std::atan2(from.y - c.y, from.x - c.x);
    canvas_.strokeArc(c, a.radius * t.scale(), a0, a0 + (end - s), look.colour);
  } else {
    path_.clear();
    addArc(path_, t, a.centre, a.radius, s, end);
    strokeCurve(look);
  }
  canvas_.endEntity();
}

void SceneWalker::visit(CEntPnt& e) {
  Look look;
  if (!prepare(e, "point", look)) return;
  canvas_.beginEntity("point");
  canvas_.dot(context_.transform.apply(e.getPnt()), look.colour);
  canvas_.endEntity();
}

void SceneWalker::visit(CEnt3DFace& e) {
  // Seen from above: the visible edges, joined where they meet.
  Look look;
  if (!prepare(e, "face", look)) return;
  bool all = true;
  for (long i = 0; i < 4; ++i) all = all && e.isEdgeVisib(i);
  canvas_.beginEntity("face");
  if (all) {
    points_.clear();
    for (long i = 0; i < 4; ++i) points_.push_back(context_.transform.apply(e.getVertex(i)));
    strokeChain(true, false, look);
  } else {
    // Start after a hidden edge so that every run of visible edges is one chain.
    long start = 0;
    while (e.isEdgeVisib(start)) ++start;
    points_.clear();
    for (long k = 1; k <= 4; ++k) {
      const long i = (start + k) % 4;
      if (!e.isEdgeVisib(i)) {
        if (points_.size() > 1) strokeChain(false, false, look);
        points_.clear();
        continue;
      }
      if (points_.empty()) points_.push_back(context_.transform.apply(e.getVertex(i)));
      points_.push_back(context_.transform.apply(e.getVertex(i + 1)));
    }
    if (points_.size() > 1) strokeChain(false, false, look);
  }
  canvas_.endEntity();
}

// Polylines.

void SceneWalker::visit(CEntPolyline& e) {
  Look look;
  if (e.getNoVisibleVertexes() < 1 || !prepare(e, "polyline", look)) return;
  canvas_.beginEntity("polyline");
  if (e.getNoVisibleVertexes() == 1) {
    canvas_.dot(
        context_.transform.apply(e.GetVertexPos(static_cast<int>(e.getFirstVisibleVertex()))),
        look.colour);
  } else if (e.isWide()) {
    drawWidePolyline(e, look);
  } else {
    drawThinPolyline(e, look);
  }
  canvas_.endEntity();
}

void SceneWalker::drawThinPolyline(const CEntPolyline& e, const Look& look) {
  points_.clear();
  for (long i = e.getFirstVisibleVertex(); i < e.getLastVisibleVertex(); ++i)
    points_.push_back(context_.transform.apply(e.GetVertexPos(static_cast<int>(i))));
  // The pattern runs through the vertices of a curve, or of a polyline that asks for it;
  // otherwise it starts again on every segment.
  strokeChain(e.isClosed(), !e.IsLtGen() && !e.isCurve(), look);
}

void SceneWalker::drawWidePolyline(const CEntPolyline& e, const Look& look) {
  // The widths the vertices give decide whether there is anything to fill: the outline's
  // cross-sections are no guide, as a mitred joint at a sharp turn reaches far out.
  double widest = 0;
  for (long i = e.getFirstVisibleVertex(); i < e.getLastVisibleVertex(); ++i) {
    const CVertex& v = e[static_cast<int>(i)];
    widest = std::max({widest, std::fabs(v.GetWidthStart()), std::fabs(v.GetWidthEnd())});
  }
  if (widest * context_.transform.scale() < kFillableWidth) {
    drawThinPolyline(e, look);
    return;
  }
  const CPolylineSilhouette outline(e);
  fills_.clear();
  for (int r = 0; r < outline.GetNoRuns(); ++r) {
    const std::vector<PNT_3D>& run = outline.GetRunNo(r)->GetSegmentList();
    points_.clear();
    if (outline.GetRunNo(r)->IsWideRun()) {
      // Cross-sections: left and right points in turn.
      for (std::size_t i = 0; i + 1 < run.size(); i += 2) {
        points_.push_back(context_.transform.apply(run[i]));
        points_.push_back(context_.transform.apply(run[i + 1]));
      }
      fillWideRun(!e.IsLtGen(), look);
    } else {
      for (const PNT_3D& p : run) points_.push_back(context_.transform.apply(p));
      strokeChain(false, !e.IsLtGen(), look);
    }
  }
  if (!fills_.empty()) canvas_.fillPath(fills_, look.colour);
}

void SceneWalker::fillWideRun(bool restart, const Look& look) {
  // One quadrilateral per segment (or per dash of it), all turning the same way: their
  // non-zero union is the outline, whatever the joints do.
  const std::size_t sections = points_.size() / 2;
  const auto quad = [&](std::size_t i, double from, double to) {
    const PixelPoint l0 = points_[2 * i], r0 = points_[2 * i + 1];
    const PixelPoint l1 = points_[2 * i + 2], r1 = points_[2 * i + 3];
    const auto at = [](PixelPoint a, PixelPoint b, double t) {
      return PixelPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    };
    fills_.moveTo(at(l0, l1, from));
    fills_.lineTo(at(l0, l1, to));
    fills_.lineTo(at(r0, r1, to));
    fills_.lineTo(at(r0, r1, from));
    fills_.close();
  };
  if (!dashed(look)) {
    for (std::size_t i = 0; i + 1 < sections; ++i) quad(i, 0, 1);
    return;
  }
  // The pattern is laid along the centre line; each dash fills its stretch of the outline.
  centre_.clear();
  for (std::size_t i = 0; i < sections; ++i)
    centre_.push_back(midpoint(points_[2 * i], points_[2 * i + 1]));
  dashes_.dashes(centre_.data(), centre_.size(), false, restart, visible_, dashList_);
  for (const DashPattern::Dash& d : dashList_) quad(d.segment, d.from, d.to);
}

void SceneWalker::strokeChain(bool closed, bool restart, const Look& look) {
  path_.clear();
  const std::size_t n = points_.size();
  if (n < 2) return;
  if (dashed(look)) {
    dashes_.apply(points_.data(), n, closed, restart, visible_, path_);
  } else {
    path_.moveTo(points_[0]);
    for (std::size_t i = 1; i < n; ++i) path_.lineTo(points_[i]);
    if (closed) path_.close();
  }
  canvas_.strokePath(path_, look.colour);
}

void SceneWalker::strokeCurve(const Look& look) {
  if (dashed(look)) {
    points_.assign(path_.points().begin(), path_.points().end());
    path_.clear();
    dashes_.apply(points_.data(), points_.size(), false, false, visible_, path_);
  }
  canvas_.strokePath(path_, look.colour);
}

bool SceneWalker::dashed(const Look& look) {
  if (look.ltype == nullptr) return false;
  dashes_.set(look.ltype, getLtypeScale(data_) * context_.transform.scale());
  return !dashes_.solid();
}

}  // namespace velt
