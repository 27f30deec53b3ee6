// tests/entities/exploder_visitor_test.cpp: CEntExploderVisitor on polylines (open, closed,
// curve, too short) and block references: placement, skipped circles and arcs, attribute
// options, by-block properties, nested references and hatches, fresh handles, untouched sources.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "support/handle_probe.h"

namespace {

const double kPi = std::acos(-1.0);

std::vector<double> scales(const CEntInsert& i) {
  double sx, sy, sz;
  i.getScale(sx, sy, sz);
  return {sx, sy, sz};
}

void expectPnt(const PNT_3D& got, double x, double y, double z, const std::string& what) {
  EXPECT_NEAR(got.getX(), x, 1e-12) << what;
  EXPECT_NEAR(got.getY(), y, 1e-12) << what;
  EXPECT_NEAR(got.getZ(), z, 1e-12) << what;
}

class ExploderTest : public ::testing::Test {
 protected:
  // The results as their caller takes them: gives their handles back and deletes them.
  struct Results {
    Results(CData& d, const CEntExploderVisitor& x) : d(d) {
      for (int i = 0; i < x.GetNoEnt(); ++i) ents.push_back(x.GetEntNo(i));
    }
    ~Results() {
      for (CEnt* e : ents) {
        d.getEntFactory().unbookHandle(d.getHandleGestor(), e);
        delete e;
      }
    }
    template <class T>
    T& at(std::size_t i) const {
      return static_cast<T&>(*ents.at(i));
    }
    std::string types() const {
      std::string s;
      for (const CEnt* e : ents) s += std::to_string(e->getType()) + " ";
      return s;
    }
    CData& d;
    std::vector<CEnt*> ents;
  };

  ExploderTest() {
    walls_ = d->getLayerFactory().create("WALLS", &d->getLtypeContinuous(), 1, 0);
    addLayer(*d, walls_);
  }
  CLtype* byBlock() { return &d->getLtypeByBlock(); }
  CLtype* continuous() { return &d->getLtypeContinuous(); }
  CEntLine* line(double x1, double y1, double x2, double y2, CLtype* lt = nullptr, short c = 3) {
    return createEntLine(*d, walls_, lt ? lt : continuous(), c, LINE_3D(x1, y1, 0, x2, y2, 0), 0);
  }
  CEntPolyline* polyline(const std::vector<PNT_3D>& pts, long flags = 0, double width = 0) {
    CEntPolyline* p = createEntPolyline(*d, walls_, continuous(), 4, flags, 0, 0);
    for (const PNT_3D& q : pts) p->addVertex(*createVertex(*d, q, width, width, 0));
    return p;
  }
  CBlock* block(const char* name, const std::vector<CEnt*>& ents) {
    CBlock* b = d->getBlockFactory().create(name, PNT_3D(0, 0, 0), 0);
    for (CEnt* e : ents) b->add(e);
    d->getBlockTable().add(b);
    return b;
  }
  std::unique_ptr<CEntInsert> ref(CBlock& b, const PNT_3D& at, double sx, double sy, double rotate,
                                  long columns = 1) {
    return std::unique_ptr<CEntInsert>(createEntInsert(*d, getLayer0(*d), continuous(), 5, b, at,
                                                       sx, sy, 1, rotate, 1, columns, 5, 0, 0));
  }

  DataPtr d = newDrawing();
  CLayer* walls_;
};

}  // namespace

TEST_F(ExploderTest, PolylineGivesOneLinePerVisibleSegment) {
  const std::vector<PNT_3D> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const struct {
    const char* what;
    long flags;
    std::vector<std::vector<double>> lines;  // x1, y1, x2, y2
  } cases[] = {
      {"open", 0, {{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}}},
      // The closing segment comes first, from the last vertex to the first.
      {"closed", 1, {{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}}},
  };
  CEntExploderVisitor x(*d, false, false, false, false);
  for (const auto& c : cases) {
    const std::unique_ptr<CEntPolyline> p(polyline(square, c.flags));
    ASSERT_EQ(x.Explode(p.get()), 0) << c.what;
    const Results r(*d, x);
    ASSERT_EQ(r.ents.size(), c.lines.size()) << c.what;
    for (std::size_t i = 0; i < r.ents.size(); ++i) {
      const CEntLine& l = r.at<CEntLine>(i);
      const std::vector<double>& w = c.lines[i];
      EXPECT_EQ(l.getLine(), LINE_3D(w[0], w[1], 0, w[2], w[3], 0)) << c.what << " " << i;
      EXPECT_TRUE(l.getLayer() == walls_ && l.getLtype() == continuous() && l.getColor() == 4);
    }
  }
  // A curve gives lines through its generated vertices only, from the first visible one.
  const std::unique_ptr<CEntPolyline> curve(polyline({{0, 0, 0}, {5, 5, 0}, {10, 0, 0}}));
  curve->gener(d->getHandleGestor(), d->getEntFactory(), 4, 3, false);
  ASSERT_EQ(x.Explode(curve.get()), 0);
  const Results r(*d, x);
  ASSERT_EQ(x.GetNoEnt(), curve->getNoVisibleVertexes() - 1);
  EXPECT_EQ(r.at<CEntLine>(0).getLine().start, curve->GetVertexPos(3));
}

TEST_F(ExploderTest, NothingToExplodeGivesMinusOne) {
  CEntExploderVisitor x(*d, true, true, true, true);
  const std::unique_ptr<CEntPolyline> single(polyline({{1, 1, 0}}));
  const std::unique_ptr<CEntLine> l(line(0, 0, 1, 1));
  const std::unique_ptr<CEntInsert> empty(ref(*block("EMPTY", {}), PNT_3D(0, 0, 0), 1, 1, 0));
  for (CEnt* e : std::vector<CEnt*>{single.get(), l.get(), empty.get()}) {
    EXPECT_EQ(x.Explode(e), -1) << e->getType();
    EXPECT_EQ(x.GetNoEnt(), 0);
  }
}

TEST_F(ExploderTest, ReferenceMapsEveryKindThroughItsFirstCopy) {
  CBlock* b = block(
      "PARTS", {createEntPnt(*d, walls_, continuous(), 1, PNT_3D(1, 0, 1), 0), line(0, 0, 1, 1),
                createEntCircle(*d, walls_, continuous(), 1, CIRCLE_3D(1, 0, 0, 1), 0),
                createEntArc(*d, walls_, continuous(), 1, ARC_3D(1, 0, 0, 1, kPi, 3 * kPi / 2), 0),
                createEnt3DFace(*d, walls_, continuous(), 1, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0),
                                PNT_3D(1, 1, 0), PNT_3D(0, 1, 0), 5, 0),
                polyline({{0, 0, 0}, {1, 0, 0}}, 0, 0.5),
                createEntText(*d, walls_, continuous(), 1,
                              TEXT_3D("T", nullptr, 1, 0, 1, 0.5, 1, 0, 0, 0), 0)});
  // Scale 2, turned 3/4 of a round (so the arc's angles go past 2*pi once), in an array of 3.
  const std::unique_ptr<CEntInsert> ins(ref(*b, PNT_3D(10, 20, 0), 2, 2, 3 * kPi / 2, 3));
  CEntExploderVisitor x(*d, false, false, false, false);
  ASSERT_EQ(x.Explode(ins.get()), 0);
  const Results r(*d, x);
  ASSERT_EQ(r.types(), "1 2 3 4 11 5 6 ");
  for (const CEnt* e : r.ents) EXPECT_EQ(e->getLayer(), walls_);
  // (x, y) goes to (10 + 2y, 20 - 2x).
  expectPnt(r.at<CEntPnt>(0).getPnt(), 10, 18, 1, "point");
  EXPECT_EQ(r.at<CEntLine>(1).getLine().start, PNT_3D(10, 20, 0));
  expectPnt(r.at<CEntLine>(1).getLine().end, 12, 18, 0, "line end");
  expectPnt(r.at<CEntCircle>(2).getCircle().centre, 10, 18, 0, "circle centre");
  EXPECT_DOUBLE_EQ(r.at<CEntCircle>(2).getCircle().radius, 2);
  EXPECT_NEAR(r.at<CEntArc>(3).getArc().start, kPi / 2, 1e-12);
  EXPECT_NEAR(r.at<CEntArc>(3).getArc().end, kPi, 1e-12);
  EXPECT_EQ(r.at<CEnt3DFace>(4).getFlags(), 5);
  expectPnt(r.at<CEnt3DFace>(4).getVertex(2), 12, 18, 0, "face vertex 2");
  const CEntPolyline& p = r.at<CEntPolyline>(5);
  ASSERT_EQ(p.getNoTotalVertexes(), 2);
  expectPnt(p.GetVertexPos(1), 10, 18, 0, "polyline vertex 1");
  EXPECT_EQ(p[1].GetWidthStart(), 0.5);  // widths are not scaled
  const TEXT_3D& t = r.at<CEntText>(6).getText();
  EXPECT_STREQ(t.getContext().getString().c_str(), "T");
  expectPnt(t.getPnt(), 10, 18, 0, "text");
  EXPECT_DOUBLE_EQ(t.getContext().getHeight(), 2);
  EXPECT_NEAR(t.getContext().getRotate(), 0.5 + 3 * kPi / 2, 1e-12);
}

TEST_F(ExploderTest, CirclesAndArcsNeedASimilarity) {
  CBlock* b =
      block("ROUND", {line(0, 0, 1, 1),
                      createEntCircle(*d, walls_, continuous(), 1, CIRCLE_3D(1, 0, 0, 1), 0),
                      createEntArc(*d, walls_, continuous(), 1, ARC_3D(1, 0, 0, 1, 0, 1), 0)});
  CEntExploderVisitor x(*d, false, false, false, false);
  const std::unique_ptr<CEntInsert> stretched(ref(*b, PNT_3D(0, 0, 0), 1, 2, 0));
  ASSERT_EQ(x.Explode(stretched.get()), 0);
  {
    const Results r(*d, x);
    ASSERT_EQ(r.types(), "2 ");
    EXPECT_EQ(r.at<CEntLine>(0).getLine().end, PNT_3D(1, 2, 0));
  }
  // Mirrored through the origin: still a similarity; the radius stays positive and the arc turns
  // half round.
  const std::unique_ptr<CEntInsert> mirrored(ref(*b, PNT_3D(0, 0, 0), -1, -1, 0));
  ASSERT_EQ(x.Explode(mirrored.get()), 0);
  const Results r(*d, x);
  ASSERT_EQ(r.types(), "2 3 4 ");
  EXPECT_EQ(r.at<CEntCircle>(1).getCircle(), CIRCLE_3D(-1, 0, 0, 1));
  EXPECT_NEAR(r.at<CEntArc>(2).getArc().start, kPi, 1e-12);
  EXPECT_NEAR(r.at<CEntArc>(2).getArc().end, kPi + 1, 1e-12);
}

TEST_F(ExploderTest, AttributesAndDefinitionsFollowTheOptions) {
  const TEXT_3D tag("TAG", nullptr, 1, 0, 1, 0, 1, 0, 0, 0);
  CEntAttdef* def = createEntAttdef(*d, walls_, continuous(), 1, tag, "dflt", "ask", 2, 0);
  const std::unique_ptr<CEntInsert> ins(ref(*block("FIELDS", {def}), PNT_3D(10, 20, 0), 1, 1, 0));
  ins->add(createEntAttrib(*d, "VAL", *def, *ins, 0));
  const struct {
    bool attribs, defTexts, defDefs;
    const char* types;
    std::vector<const char*> strings;
  } cases[] = {
      {false, false, false, "", {}},
      {true, false, false, "6 ", {"VAL"}},
      {false, true, false, "6 ", {"TAG"}},
      {false, false, true, "7 ", {"TAG"}},
      {true, true, true, "6 7 6 ", {"TAG", "TAG", "VAL"}},
  };
  for (const auto& c : cases) {
    CEntExploderVisitor x(*d, false, c.attribs, c.defTexts, c.defDefs);
    EXPECT_EQ(x.Explode(ins.get()), c.strings.empty() ? -1 : 0);
    const Results r(*d, x);
    ASSERT_EQ(r.types(), c.types);
    for (std::size_t i = 0; i < r.ents.size(); ++i) {
      const CEntText& t = r.at<CEntText>(i);
      EXPECT_STREQ(t.getText().getContext().getString().c_str(), c.strings[i]) << c.types << i;
      EXPECT_EQ(t.getText().getPnt(), PNT_3D(11, 20, 0));
      if (t.getType() != 7) continue;
      const CEntAttdef& a = r.at<CEntAttdef>(i);
      EXPECT_EQ(std::string(a.getValue().c_str()) + a.getPrompt().c_str(), "dfltask");
      EXPECT_EQ(a.getFlags(), 2);
    }
  }
}

TEST_F(ExploderTest, ByBlockPropertiesResolveOnlyWithTheOption) {
  CBlock* b = block("BYB", {line(0, 0, 1, 0, byBlock(), 0), line(0, 0, 0, 1, continuous(), 3)});
  const std::unique_ptr<CEntInsert> ins(ref(*b, PNT_3D(0, 0, 0), 1, 1, 0));
  for (const bool on : {false, true}) {
    CEntExploderVisitor x(*d, on, false, false, false);
    ASSERT_EQ(x.Explode(ins.get()), 0);
    const Results r(*d, x);
    ASSERT_EQ(r.ents.size(), 2u);
    EXPECT_EQ(r.ents[0]->getLtype(), on ? continuous() : byBlock());
    EXPECT_EQ(r.ents[0]->getColor(), on ? 5 : 0);
    EXPECT_EQ(r.ents[1]->getColor(), 3);
    for (const CEnt* e : r.ents) EXPECT_EQ(e->getLayer(), walls_);  // never the reference's
  }
}

TEST_F(ExploderTest, NestedReferencesCombineWithTheOuterOne) {
  CBlock* inner = block("INNER", {line(0, 0, 1, 0)});
  CEntInsert* turned = createEntInsert(*d, walls_, continuous(), 2, *inner, PNT_3D(1, 0, 0), 2, 2,
                                       1, 3 * kPi / 2, 1, 2, 3, 0, 0);
  turned->add(d->getEntFactory().createEntAttrib(d->getHandleGestor(), walls_, continuous(), 2,
                                                 TEXT_3D("V", nullptr, 1, 0, 1, 0, 4, 5, 0, 0),
                                                 "TAG", 0, 0));
  CEntInsert* straight = createEntInsert(*d, walls_, continuous(), 2, *inner, PNT_3D(0, 1, 0), 1, 3,
                                         1, 0, 1, 1, 0, 0, 0);
  CBlockXRef* xref = d->getBlockFactory().createXRef(d->getLtypeContinuous(), d->getLtypeByLayer(),
                                                     d->getLtypeByBlock(), d->getLayer0(), "PLAN");
  d->getBlockXRefTable().add(xref);
  CEntInsertXRef* plan = createEntInsertXRef(*d, walls_, continuous(), 2, xref, PNT_3D(0, 0, 0), 1,
                                             1, 1, 0, 1, 1, 0, 0, 0);
  CBlock* outer = block("OUTER", {turned, straight, plan});
  // Rotations 3*pi and 3*pi/2 add up to more than two rounds: 9*pi/2 comes down to pi/2.
  const std::unique_ptr<CEntInsert> iso(ref(*outer, PNT_3D(10, 0, 0), 3, 3, 3 * kPi));
  CEntExploderVisitor x(*d, false, false, false, false);
  ASSERT_EQ(x.Explode(iso.get()), 0);
  {
    const Results r(*d, x);
    ASSERT_EQ(r.types(), "8 8 8 ");
    const CEntInsert& a = r.at<CEntInsert>(0);
    EXPECT_EQ(a.getBlock(), inner);
    expectPnt(a.getPnt(), 7, 0, 0, "nested point");
    EXPECT_EQ(scales(a), std::vector<double>({6, 6, 1}));
    EXPECT_NEAR(a.getRotate(), kPi / 2, 1e-12);
    long rows, columns;
    double cs, rs;
    a.getArray(rows, columns, cs, rs);
    EXPECT_TRUE(columns == 2 && cs == 3);
    ASSERT_EQ(a.size(), 1);  // the attribute is a copy, in the nested reference's coordinates
    EXPECT_NE(&a[0], &(*turned)[0]);
    EXPECT_NE(a[0].GetHandle(), (*turned)[0].GetHandle());
    EXPECT_EQ(a[0].getText(), (*turned)[0].getText());
    EXPECT_NE(dynamic_cast<const CEntInsertXRef*>(r.ents[2]), nullptr);
    EXPECT_EQ(r.at<CEntInsert>(2).getBlock(), xref);
  }
  // A non-isotropic outer reference keeps the unturned nested ones (scales per axis) only.
  const std::unique_ptr<CEntInsert> stretched(ref(*outer, PNT_3D(0, 0, 0), 2, 5, 0));
  ASSERT_EQ(x.Explode(stretched.get()), 0);
  const Results r(*d, x);
  ASSERT_EQ(r.types(), "8 8 ");
  EXPECT_EQ(scales(r.at<CEntInsert>(0)), std::vector<double>({2, 15, 1}));
}

TEST_F(ExploderTest, NestedHatchMakesANewHatchWithItsOwnBlock) {
  const HATCH_TYPE& pattern = *getHatch(String("ANSI31"));
  const std::vector<PNT_3D> square = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
  CEntHatch* hatch = createEntHatch(*d, walls_, continuous(), 1, pattern, 1.5, 0.25, square, 0);
  ASSERT_NE(hatch, nullptr);
  const std::unique_ptr<CEntInsert> ins(
      ref(*block("HATCHED", {hatch}), PNT_3D(100, 0, 0), 2, 2, kPi / 2));
  const long blocks = d->getBlockTable().size();
  CEntExploderVisitor x(*d, false, false, false, false);
  ASSERT_EQ(x.Explode(ins.get()), 0);
  {
    const Results r(*d, x);
    ASSERT_EQ(r.types(), "10 ");
    const CEntHatch& h = r.at<CEntHatch>(0);
    EXPECT_EQ(d->getBlockTable().size(), blocks + 1);
    EXPECT_NE(h.getBlock(), hatch->getBlock());
    EXPECT_EQ(d->getBlockTable().get(h.getBlock()->getName()), h.getBlock());
    EXPECT_EQ(&h.getHatchType(), &pattern);
    // The combined X scale and rotation: the reference's, the pattern's own 1.5 and 0.25 dropped.
    EXPECT_DOUBLE_EQ(h.getHatchScale(), 2);
    EXPECT_NEAR(h.getHatchRotate(), kPi / 2, 1e-12);
    ASSERT_EQ(h.getNoPnts(), hatch->getNoPnts());
    for (long i = 0; i < h.getNoPnts(); ++i) {  // (x, y) goes to (100 - 2y, 2x)
      const PNT_3D& q = hatch->getPnt(i);
      expectPnt(h.getPnt(i), 100 - 2 * q.getY(), 2 * q.getX(), 0, "boundary");
    }
  }
  // Exploding the hatch itself gives copies of its block's entities.
  ASSERT_EQ(x.Explode(hatch), 0);
  const Results r(*d, x);
  EXPECT_EQ(x.GetNoEnt(), hatch->getBlock()->size());
}

TEST_F(ExploderTest, ResultsAreNewUnlistedAndTheSourceIsUnchanged) {
  CEntPolyline* p = polyline({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  d->getEntTable().add(p);
  const std::unique_ptr<CEntInsert> ins(
      ref(*block("ONE", {line(0, 0, 1, 1)}), PNT_3D(1, 1, 0), 1, 1, 0));
  const std::unique_ptr<IEntDerivedMemento> before[] = {
      std::unique_ptr<IEntDerivedMemento>(p->createDerivedMemento()),
      std::unique_ptr<IEntDerivedMemento>(ins->createDerivedMemento())};
  CEntExploderVisitor x(*d, true, true, true, true);
  std::vector<long> handles = {p->GetHandle(), p->operator[](0).GetHandle(), ins->GetHandle()};
  {
    std::vector<std::unique_ptr<Results>> kept;
    for (CEnt* source : std::vector<CEnt*>{p, ins.get()}) {
      ASSERT_EQ(x.Explode(source), 0);
      kept.push_back(std::make_unique<Results>(*d, x));
      for (const CEnt* e : kept.back()->ents) {
        EXPECT_NE(e->GetHandle(), 0);
        EXPECT_FALSE(handleFree(d->getHandleGestor(), e->GetHandle()));  // booked
        EXPECT_EQ(d->getEntTable().get(e->GetHandle()), nullptr);
        for (long h : handles) EXPECT_NE(e->GetHandle(), h);
        handles.push_back(e->GetHandle());
      }
    }
    EXPECT_EQ(handles.size(), 3u + 2u + 1u);
  }
  for (std::size_t i = 3; i < handles.size(); ++i)
    EXPECT_TRUE(handleFree(d->getHandleGestor(), handles[i]));  // given back
  EXPECT_EQ(d->getEntTable().getEntityTbl().size(), 1u);
  EXPECT_TRUE(*p == *before[0]);
  EXPECT_TRUE(*ins == *before[1]);
}
