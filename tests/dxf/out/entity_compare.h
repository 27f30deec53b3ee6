// tests/dxf/out/entity_compare.h: a drawing holding every kind of entity, and the comparison of
// an entity with the one read back from the DXF text written for it: same class, handle and
// (converted) table names, lengths within what six decimals carry, angles within what the
// reader's degree factor keeps. Attributes turned half a turn or slanted come back as the reader
// can store them and are compared by tag, value and flags.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"

namespace roundtrip {

// "%.6f" rounds to within 5e-7; the sum that rounding is measured on adds a few units of the
// last place of numbers of this size.
constexpr double kLength = 5e-7 + 1e-12;
// Degrees with six decimals times the reader's factor 0.01745329251994, which is not the exact
// inverse of the writer's.
constexpr double kAngle = 1e-8;
const double kTwoPi = 2 * std::acos(-1.0);

// The names of the original as its file carries them (through the converter), or those read
// back as held.
struct Names {
  const CNameAcadConverter* converter;
  std::string operator()(const CLayer* l) const {
    return (converter ? converter->GetName(l) : l->getFullName()).c_str();
  }
  std::string operator()(const CLtype* l) const {
    return (converter ? converter->GetName(l) : l->getFullName()).c_str();
  }
  std::string operator()(const CStyle* s) const {
    return (converter ? converter->GetName(s) : s->getName()).c_str();
  }
  std::string operator()(const CBlock* b) const {
    return (converter ? converter->GetName(b) : b->getName()).c_str();
  }
};

// What is compared of an entity: exact fields as text, lengths and angles as numbers.
struct Shape {
  std::ostringstream exact;
  std::vector<double> lengths, angles;
  void add(const PNT_3D& p) { lengths.insert(lengths.end(), {p.getX(), p.getY(), p.getZ()}); }
  void common(const CEnt& e, const Names& name) {
    exact << std::hex << e.GetHandle() << std::dec << ' ' << e.getType() << ' '
          << name(e.getLayer()) << ' ' << name(e.getLtype()) << ' ' << e.getColor() << '|';
  }
  void text(const TEXT_3D& t, const Names& name) {
    const CTextContext& c = t.getContext();
    exact << c.getString().c_str() << ' ' << t.getAlign() << ' ' << name(t.getStyle()) << '|';
    lengths.insert(lengths.end(), {c.getHeight(), c.getWidthScale()});
    angles.insert(angles.end(), {c.getOblique(), c.getRotate()});
    add(t.getPnt());
  }
};

// Whether the attribute's placement survives: not slanted, not read leftwards.
inline bool placementKept(const CEntAttrib& a) {
  const double r = a.getText().getContext().getRotate();
  return a.getText().getContext().getOblique() == 0.0 && !(r > kTwoPi / 4 && r < 3 * kTwoPi / 4);
}

// The shape of e; what the reader cannot carry is left out as the original tells.
inline void shapeOf(const CEnt& e, const CEnt& original, const Names& name, Shape& s) {
  s.common(e, name);
  switch (e.getType()) {
    case 1:
      s.add(static_cast<const CEntPnt&>(e).getPnt());
      break;
    case 2:
      s.add(static_cast<const CEntLine&>(e).getLine().start);
      s.add(static_cast<const CEntLine&>(e).getLine().end);
      break;
    case 3:
      s.add(static_cast<const CEntCircle&>(e).getCircle().centre);
      s.lengths.push_back(static_cast<const CEntCircle&>(e).getCircle().radius);
      break;
    case 4: {
      const ARC_3D& arc = static_cast<const CEntArc&>(e).getArc();
      s.add(arc.centre);
      s.lengths.push_back(arc.radius);
      s.angles.insert(s.angles.end(), {arc.start, arc.end});
      break;
    }
    case 5: {  // fitted vertices of a curve fit are made afresh, under handles of their own
      const auto& p = static_cast<const CEntPolyline&>(e);
      const auto& o = static_cast<const CEntPolyline&>(original);
      s.exact << (p.getFlags() & (&e == &original ? 1 | 14 | 128 : -1)) << ' '
              << (o.getCurve() == 2 ? p.getDegree() : 0) << ' ' << p.getFirstVisibleVertex() << ' '
              << p.getNoTotalVertexes() << '|';
      for (int i = 0; i < p.getNoTotalVertexes(); ++i) {
        s.add(p[i].getPnt());
        s.lengths.insert(s.lengths.end(), {p[i].GetWidthStart(), p[i].GetWidthEnd()});
        if (o.getCurve() == 2 || !o.isCurve() || i < o.getFirstVisibleVertex())
          s.exact << std::hex << p[i].GetHandle() << std::dec << ' ';
      }
      break;
    }
    case 6:
      s.text(static_cast<const CEntText&>(e).getText(), name);
      break;
    case 7: {
      const auto& a = static_cast<const CEntAttdef&>(e);
      s.text(a.getText(), name);
      s.exact << a.getValue().c_str() << ' ' << a.getPrompt().c_str() << ' ' << a.getFlags();
      break;
    }
    case 8:
    case 10: {
      const auto& ins = static_cast<const CEntInsert&>(e);
      double scale[3], spacing[2];
      long array[2];
      ins.getScale(scale[0], scale[1], scale[2]);
      ins.getArray(array[0], array[1], spacing[0], spacing[1]);
      s.exact << name(ins.getBlock()) << ' ' << array[0] << ' ' << array[1] << ' ' << ins.size()
              << '|';
      s.add(ins.getPnt());
      s.lengths.insert(s.lengths.end(), {scale[0], scale[1], scale[2], spacing[0], spacing[1]});
      s.angles.push_back(ins.getRotate());
      const auto& o = static_cast<const CEntInsert&>(original);
      for (int i = 0; i < ins.size() && i < o.size(); ++i) {
        s.common(ins[i], name);
        s.exact << ins[i].getTag().c_str() << ' ' << ins[i].getValue().c_str() << ' '
                << ins[i].getFlags() << '|';
        if (placementKept(o[i])) s.text(ins[i].getText(), name);
      }
      if (e.getType() == 8) break;
      // Both travel in radians or plain units with six decimals.
      const auto& h = static_cast<const CEntHatch&>(e);
      s.exact << h.getHatchType().name << ' ' << h.getNoPnts();
      s.lengths.insert(s.lengths.end(), {h.getHatchScale(), h.getHatchRotate()});
      for (long i = 0; i < h.getNoPnts(); ++i) s.add(h.getPnt(i));
      break;
    }
    case 11:
      for (long i = 0; i < 4; ++i) s.add(static_cast<const CEnt3DFace&>(e).getVertex(i));
      s.exact << static_cast<const CEnt3DFace&>(e).getFlags();
      break;
    default:
      ADD_FAILURE() << "no comparison for type " << e.getType();
  }
}

// The distance between two angles around the circle, so that 2*pi - tiny is near 0.
inline double angleGap(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), kTwoPi);
  return std::min(d, kTwoPi - d);
}

inline void expectSame(const CEnt& a, const CEnt& b, const CNameAcadConverter& converter) {
  SCOPED_TRACE(testing::Message() << "entity " << std::hex << a.GetHandle());
  Shape sa, sb;
  shapeOf(a, a, Names{&converter}, sa);
  if (a.getType() == b.getType()) shapeOf(b, a, Names{nullptr}, sb);
  ASSERT_EQ(sa.exact.str(), sb.exact.str());
  ASSERT_EQ(sa.lengths.size(), sb.lengths.size());
  for (std::size_t i = 0; i < sa.lengths.size(); ++i)
    EXPECT_NEAR(sa.lengths[i], sb.lengths[i], kLength) << "length " << i;
  for (std::size_t i = 0; i < sa.angles.size(); ++i)
    EXPECT_LE(angleGap(sa.angles[i], sb.angles[i]), kAngle) << "angle " << i;
}

inline void expectSameBlock(const CBlock& a, const CBlock& b, const CNameAcadConverter& c) {
  EXPECT_EQ(a.getFlags() & 255, b.getFlags());
  EXPECT_EQ(b.getPnt(), PNT_3D(0, 0, 0));
  ASSERT_EQ(a.size(), b.size());
  for (int i = 0; i < a.size(); ++i) expectSame(*a[i], *b[i], c);
}

// A drawing holding every kind of entity, with explicit handles from 0x100 (vertices and hatch
// lines take booked ones): simple entities, texts of every justification, polylines plain,
// closed, 3D, wide and fitted, inserts arrayed and stretched with attributes, nested blocks, an
// insert of a reference to a drawing that is not there, and hatches.
class EveryKind {
 public:
  explicit EveryKind(const ICADFont* font) {
    CData& d = *d_;
    addLayer(d, walls_);
    addLayer(d, ab_);
    dashed_->AddDashDouble(0.5);
    dashed_->AddDashDouble(-0.25);
    addLtype(d, dashed_);
    slant_ = d.getStyleFactory().create("SLANT 2", font, 0, 0.8, 0, 2.5, 0);
    addStyle(d, slant_);
    add(createEntPnt(d, ab_, byLayer(), 4, PNT_3D(1.5, 2.5, 0.25), next_++));
    add(createEntLine(d, walls_, dashed_, 256, LINE_3D(0, 0, 0, 1.1234567, 2, 3), next_++));
    add(createEntCircle(d, ab_, &d.getLtypeByBlock(), 0, CIRCLE_3D(1, 1, 0, 2.75), next_++));
    add(createEntArc(d, walls_, byLayer(), 256, ARC_3D(0, 0, 0, 3, 0.3, 4.1), next_++));
    add(createEnt3DFace(d, ab_, byLayer(), 256, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0.5), PNT_3D(1, 1, 0),
                        PNT_3D(0, 1, 0), 6, next_++));
    // Every justification, with rotations, widths and obliques that are not whole degrees.
    for (long align = 0; align < TEXT_3D::kAlignCount; ++align) {
      const TEXT_3D t(String((std::string("T ") + TEXT_3D::getAlignName(align)).c_str()),
                      align % 2 == 0 ? standard() : slant_, 2.5 + align * 0.1,
                      align % 3 == 0 ? 0.2 : -0.1, align % 4 == 0 ? 1 : 0.75, 0.55 * align,
                      10 + align, 5, 0.5, align);
      add(createEntText(d, align % 2 == 0 ? walls_ : ab_, byLayer(), 256, t, next_++));
    }
    const TEXT_3D tag("ROOM", slant_, 1.5, 0, 1, 0.3, 2, 3, 0, 10);
    add(createEntAttdef(d, ab_, byLayer(), 256, tag, "101", "Room number?", 3, next_++));
    polylines();
    inserts();
    add(createEntHatch(d, walls_, byLayer(), 256, *getHatch(String("ANSI31")), 1.5, 0.5,
                       {PNT_3D(0, 0, 0), PNT_3D(40, 0, 0), PNT_3D(40, 30, 0), PNT_3D(0, 30, 0)},
                       next_++));
    add(createEntHatch(d, ab_, byLayer(), 256, *getHatch(String("BRICK")), 0.75, kTwoPi / 12,
                       {PNT_3D(100, 0, 0), PNT_3D(160, 0, 0), PNT_3D(130, 45.5, 0)}, next_++));
    // Last, so that the handles the reader gives its fitted vertices are free ones.
    CEntPolyline* fit = polyline(0, {PNT_3D(0, 0, 0), PNT_3D(3, 4, 0), PNT_3D(8, 1, 0)});
    fit->gener(d.getHandleGestor(), d.getEntFactory(), 4, 0, false);
    add(fit);
  }
  CData& data() const { return *d_; }

 private:
  DataPtr d_ = newDrawing();
  CLayer* walls_ = d_->getLayerFactory().create("WALLS", &d_->getLtypeContinuous(), 3, 0);
  CLayer* ab_ = d_->getLayerFactory().create("A B", &d_->getLtypeContinuous(), 1, 0);
  CLtype* dashed_ = d_->getLtypeFactory().create("DASHED", "- -", nullptr, 0, 0);
  CStyle* slant_;
  long next_ = 0x100;

  CLtype* byLayer() const { return &d_->getLtypeByLayer(); }
  CStyle* standard() const { return &d_->getStyleTable().getStyleStandard(); }
  void add(CEnt* e) const { d_->getEntTable().add(e); }

  // Vertex i starts step * i wider than ws and ends at we.
  CEntPolyline* polyline(long flags, const std::vector<PNT_3D>& points, double ws = 0,
                         double we = 0, double step = 0) {
    CEntPolyline* p = createEntPolyline(*d_, walls_, byLayer(), 256, flags, 0, next_++);
    for (std::size_t i = 0; i < points.size(); ++i)
      p->addVertex(*createVertex(*d_, points[i], ws + step * static_cast<double>(i), we, 0));
    return p;
  }

  // Plain, closed with linetype generation, 3D, of one width, of varying widths, and splines.
  void polylines() {
    const std::vector<PNT_3D> zigzag = {PNT_3D(0, 0, 1.5), PNT_3D(2, 1, 1.5), PNT_3D(4, 0, 1.5),
                                        PNT_3D(6, 1, 1.5)};
    add(polyline(0, zigzag));
    add(polyline(129, zigzag));
    add(polyline(0, {PNT_3D(0, 0, 0), PNT_3D(1, 0, 2), PNT_3D(1, 1, -3)}));
    add(polyline(0, zigzag, 0.5, 0.5));
    add(polyline(1, zigzag, 0.5, 1.25, 0.25));
    for (short degree : {3, 2}) {
      CEntPolyline* spline = polyline(degree == 2, zigzag);
      spline->gener(d_->getHandleGestor(), d_->getEntFactory(), 2, degree, false);
      add(spline);
    }
  }

  CEntAttrib* attrib(const TEXT_3D& t, long flags) {
    return d_->getEntFactory().createEntAttrib(d_->getHandleGestor(), ab_, byLayer(), 256, t,
                                               "NAME", flags, next_++);
  }

  // A block of attribute definitions, inserted arrayed with attributes read rightwards,
  // leftwards and slanted, stretched, and through a block that inserts it.
  void inserts() {
    CData& d = *d_;
    CBlock* tag = d.getBlockFactory().create("TAG", 0);
    tag->add(createEntLine(d, walls_, byLayer(), 256, LINE_3D(0, 0, 0, 4, 0, 0), next_++));
    tag->add(createEntAttdef(d, ab_, byLayer(), 256,
                             TEXT_3D("NAME", slant_, 1, 0, 1, 0, 0, 1, 0, 1), "", "Name?", 0,
                             next_++));
    d.getBlockTable().add(tag);
    CEntInsert* arrayed = createEntInsert(d, walls_, byLayer(), 256, *tag, PNT_3D(50, 40, 1), 2, 2,
                                          2, 0.4, 2, 3, 10.5, -5, next_++);
    // Right, down, leftwards and slanted: rotation, oblique, width, justification.
    const double attribs[][4] = {
        {0.3, 0, 1, 1}, {5.5, 0, 0.9, 7}, {2.0, 0, 1, 2}, {0.1, 0.2, 1, 0}};
    for (const auto& a : attribs)
      arrayed->add(attrib(TEXT_3D("v", slant_, 1.25, a[1], a[2], a[0], 1, 2, 0, long(a[3])), 1));
    add(arrayed);
    CEntInsert* stretched = createEntInsert(d, ab_, dashed_, 2, *tag, PNT_3D(-5, 0, 0), 2, 1, 1,
                                            0.2, 1, 1, 0, 0, next_++);
    stretched->add(attrib(TEXT_3D("wide", standard(), 1, 0, 1, 0, 0, 1, 0, 6), 0));
    add(stretched);
    CBlock* outer = d.getBlockFactory().create("OUTER 1", 0);
    outer->add(createEntInsert(d, walls_, byLayer(), 256, *tag, PNT_3D(1, 1, 0), 1, 1, 1, 0, 1, 1,
                               0, 0, next_++));
    outer->add(createEntCircle(d, walls_, byLayer(), 256, CIRCLE_3D(0, 0, 0, 1), next_++));
    d.getBlockTable().add(outer);
    add(createEntInsert(d, walls_, byLayer(), 256, *outer, PNT_3D(20, 20, 0), 1, 1, 1, 0, 1, 1, 0,
                        0, next_++));
    CBlockXRef* plan = d.getBlockFactory().createXRef(d.getLtypeContinuous(), d.getLtypeByLayer(),
                                                      d.getLtypeByBlock(), d.getLayer0(), "PLAN",
                                                      "/nowhere/plan.dxf", PNT_3D(0, 0, 0), 4);
    d.getBlockXRefTable().add(plan);
    add(createEntInsertXRef(d, walls_, byLayer(), 256, plan, PNT_3D(5, 5, 0), 1, 1, 1, 0, 1, 1, 0,
                            0, next_++));
  }
};

}  // namespace roundtrip
