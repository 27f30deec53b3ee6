// tests/entities/simple_entities_test.cpp: the point, line, circle and arc entities (and the 3D
// face where all five share a rule): boxes after every setter, value order of the plain getters,
// type codes and visits, snapshots, and copies that are fresh and unlisted.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/handle.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>

#include "database/test_drawing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Ends on the axes come from cos and sin, so corners are compared within rounding.
void expectBox(const RECT_3D& got, const RECT_3D& want, const std::string& what) {
  double g[6], w[6];
  got.get(g[0], g[1], g[2], g[3], g[4], g[5]);
  want.get(w[0], w[1], w[2], w[3], w[4], w[5]);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(g[i], w[i], 1e-12) << what << ", coordinate " << i;
}

class SimpleEntitiesTest : public ::testing::Test {
 protected:
  DataPtr d = newDrawing();
  std::unique_ptr<CEntPnt> pnt{createEntPnt(*d, PNT_3D(1, 2, 3), 0)};
  std::unique_ptr<CEntLine> line{createEntLine(*d, LINE_3D(0, 0, 0, 1, 1, 1), 0)};
  std::unique_ptr<CEntCircle> circle{createEntCircle(*d, CIRCLE_3D(0, 0, 0, 1), 0)};
  std::unique_ptr<CEntArc> arc{createEntArc(*d, ARC_3D(0, 0, 0, 1, 0, kPi / 2), 0)};
  std::unique_ptr<CEnt3DFace> face{createEnt3DFace(*d, PNT_3D(0, 0, 0), PNT_3D(1, 0, 0),
                                                   PNT_3D(1, 1, 0), PNT_3D(0, 1, 1), 0x100, 0)};
  const std::vector<CEnt*> all{pnt.get(), line.get(), circle.get(), arc.get(), face.get()};
};

}  // namespace

TEST_F(SimpleEntitiesTest, EverySetterRenewsTheBox) {
  struct Step {
    const char* what;
    CEnt* e;
    std::function<void()> change;
    RECT_3D want;
  };
  const Step steps[] = {
      {"point built", pnt.get(), [] {}, {1, 2, 3, 1, 2, 3}},
      {"setPnt(PNT_3D)", pnt.get(), [&] { pnt->setPnt(PNT_3D(-4, 5, 6)); }, {-4, 5, 6, -4, 5, 6}},
      {"setPnt(x, y, z)", pnt.get(), [&] { pnt->setPnt(7, 8, 9); }, {7, 8, 9, 7, 8, 9}},
      {"line built", line.get(), [] {}, {0, 0, 0, 1, 1, 1}},
      {"setLine(six)",
       line.get(),
       [&] { line->setLine(0, 0, 0, 10, 5, -2); },
       {0, 0, -2, 10, 5, 0}},
      {"setLine(LINE_3D)",
       line.get(),
       [&] { line->setLine(LINE_3D(3, -1, 4, -3, 1, 4)); },
       {-3, -1, 4, 3, 1, 4}},
      {"line by reference",
       line.get(),
       [&] { line->getLine().end.setZ(8), line->calcBdry(); },
       {-3, -1, 4, 3, 1, 8}},
      {"circle built", circle.get(), [] {}, {-1, -1, 0, 1, 1, 0}},
      {"setCircle(four)",
       circle.get(),
       [&] { circle->setCircle(1, 2, 3, 4); },
       {-3, -2, 3, 5, 6, 3}},
      {"setCircle(CIRCLE_3D)",
       circle.get(),
       [&] { circle->setCircle(CIRCLE_3D(0, 0, -1, 0.5)); },
       {-0.5, -0.5, -1, 0.5, 0.5, -1}},
      {"arc built", arc.get(), [] {}, {0, 0, 0, 1, 1, 0}},
      {"setArc(six), half turn",
       arc.get(),
       [&] { arc->setArc(1, 1, 5, 2, 0, kPi); },
       {-1, 1, 5, 3, 3, 5}},
      {"setArc(ARC_3D) through angle 0",
       arc.get(),
       [&] { arc->setArc(ARC_3D(0, 0, 0, 1, 3 * kPi / 2, kPi / 2)); },
       {0, -1, 0, 1, 1, 0}},
      {"arc by reference",
       arc.get(),
       [&] { arc->getArc().radius = 3, arc->calcBdry(); },
       {0, -3, 0, 3, 3, 0}},
      {"face built", face.get(), [] {}, {0, 0, 0, 1, 1, 1}},
  };
  for (const Step& s : steps) {
    s.change();
    expectBox(s.e->getBdry(), s.want, s.what);
  }
}

TEST_F(SimpleEntitiesTest, PlainGettersGiveTheValuesInTheSettersOrder) {
  double v[6];
  pnt->setPnt(1, 2, 3);
  pnt->getPnt(v[0], v[1], v[2]);
  EXPECT_EQ(std::vector<double>(v, v + 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(pnt->getPnt(), PNT_3D(1, 2, 3));

  line->setLine(1, 2, 3, 4, 5, 6);
  line->getLine(v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_EQ(std::vector<double>(v, v + 6), (std::vector<double>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(line->getLine().start, PNT_3D(1, 2, 3));

  circle->setCircle(1, 2, 3, 4);
  circle->getCircle(v[0], v[1], v[2], v[3]);
  EXPECT_EQ(std::vector<double>(v, v + 4), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(circle->getCircle().radius, 4);

  arc->setArc(1, 2, 3, 4, 0.5, 1.5);
  arc->getArc(v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_EQ(std::vector<double>(v, v + 6), (std::vector<double>{1, 2, 3, 4, 0.5, 1.5}));
  EXPECT_EQ(arc->getArc().end, 1.5);
  // The six-value form keeps the angles in range, as the arc value does.
  arc->setArc(0, 0, 0, 1, -kPi / 2, 5 * kPi);
  EXPECT_NEAR(arc->getArc().start, 3 * kPi / 2, 1e-12);
  EXPECT_NEAR(arc->getArc().end, kPi, 1e-12);
}

namespace {

// Records the overload each entity's accept reached.
class Recorder : public IEntVisitor {
 public:
  std::string seen;
  void visit(CEnt3DFace&) override { seen += 'F'; }
  void visit(CEntHatch&) override { seen += 'H'; }
  void visit(CEntAttrib&) override { seen += 'b'; }
  void visit(CEntInsertXRef&) override { seen += 'X'; }
  void visit(CEntInsert&) override { seen += 'I'; }
  void visit(CEntAttdef&) override { seen += 'd'; }
  void visit(CEntText&) override { seen += 'T'; }
  void visit(CEntPolyline&) override { seen += 'Y'; }
  void visit(CEntArc&) override { seen += 'A'; }
  void visit(CEntCircle&) override { seen += 'C'; }
  void visit(CEntLine&) override { seen += 'L'; }
  void visit(CEntPnt&) override { seen += 'P'; }
};

class LinesOnly : public IEntFooVisitor {
 public:
  using IEntFooVisitor::visit;
  int lines = 0;
  void visit(CEntLine&) override { ++lines; }
};

}  // namespace

TEST_F(SimpleEntitiesTest, TypeCodesAndVisits) {
  Recorder r;
  LinesOnly lines;
  std::vector<short> types;
  for (CEnt* e : all) {
    types.push_back(e->getType());
    e->accept(r);
    e->accept(lines);
  }
  EXPECT_EQ(types, (std::vector<short>{1, 2, 3, 4, 11}));
  EXPECT_EQ(r.seen, "PLCAF");
  EXPECT_EQ(lines.lines, 1);
}

TEST_F(SimpleEntitiesTest, SnapshotsCompareExactlyAndRestoreGeometryAndBox) {
  struct Case {
    CEnt* e;
    std::function<void()> change;
    long size;
  };
  const Case cases[] = {
      {pnt.get(), [&] { pnt->setPnt(1, 2, 3.5); }, sizeof(CEntPntMemento)},
      {line.get(), [&] { line->setLine(0, 0, 0, 1, 1, 1 + 1e-15); }, sizeof(CEntLineMemento)},
      {circle.get(), [&] { circle->setCircle(0, 0, 0, 2); }, sizeof(CEntCircleMemento)},
      {arc.get(), [&] { arc->setArc(0, 0, 0, 1, 0, kPi); }, sizeof(CEntArcMemento)},
      {face.get(), [&] { face->setVertex(1, PNT_3D(2, 0, 0)); }, sizeof(CEnt3DFaceMemento)},
  };
  std::vector<std::unique_ptr<IEntDerivedMemento>> snaps;
  for (const Case& c : cases) {
    const std::string what = "type " + std::to_string(c.e->getType());
    snaps.emplace_back(c.e->createDerivedMemento());
    IEntDerivedMemento& m = *snaps.back();
    const RECT_3D before = c.e->getBdry();
    EXPECT_EQ(m.size(), c.size) << what;
    EXPECT_TRUE(*c.e == m && !(*c.e != m)) << what;
    c.change();
    EXPECT_TRUE(*c.e != m && !(*c.e == m)) << what;
    EXPECT_NE(c.e->getBdry(), before) << what;
    c.e->setMemento(*d, &m);
    EXPECT_TRUE(*c.e == m) << what;
    EXPECT_EQ(c.e->getBdry(), before) << what;
  }
  // A snapshot never equals an entity of another class.
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::size_t j = 0; j < all.size(); ++j) {
      if (i == j) continue;
      EXPECT_TRUE(*snaps[i] != *all[j] && !(*snaps[i] == *all[j])) << i << ", " << j;
    }
  }
}

TEST_F(SimpleEntitiesTest, CopiesAndClonesAreFreshUnlistedAndAlike) {
  CEntFactory& f = d->getEntFactory();
  IHandleGestor& g = d->getHandleGestor();
  CEntTable& table = d->getEntTable();
  struct Case {
    CEnt* src;
    std::function<CEnt*()> copy;
  };
  const Case cases[] = {
      {pnt.get(), [&] { return f.createEntPnt(g, *pnt); }},
      {line.get(), [&] { return f.createEntLine(g, *line); }},
      {circle.get(), [&] { return f.createEntCircle(g, *circle); }},
      {arc.get(), [&] { return f.createEntArc(g, *arc); }},
      {face.get(), [&] { return f.createEnt3DFace(g, *face); }},
      {pnt.get(), [&] { return cloneEnt(*d, *pnt); }},
      {line.get(), [&] { return cloneEnt(*d, *line); }},
      {circle.get(), [&] { return cloneEnt(*d, *circle); }},
      {arc.get(), [&] { return cloneEnt(*d, *arc); }},
      {face.get(), [&] { return cloneEnt(*d, *face); }},
  };
  for (CEnt* e : all) {
    e->setUserInfo(11, 12);
    e->setColor(5);
  }
  for (const Case& c : cases) {
    const std::string what = "type " + std::to_string(c.src->getType());
    const std::unique_ptr<IEntDerivedMemento> geometry(c.src->createDerivedMemento());
    const std::unique_ptr<CEntBaseMemento> base(c.src->createBaseMemento());
    table.add(c.src);
    table.select(c.src);
    const long layerCount = c.src->getLayer()->getEntities();
    const std::unique_ptr<CEnt> copy(c.copy());
    ASSERT_NE(copy, nullptr) << what;
    const CEnt& copied = *copy;
    EXPECT_EQ(typeid(copied), typeid(*c.src)) << what;
    EXPECT_TRUE(*copy == *geometry && *copy == *base) << what;
    EXPECT_EQ(copy->getBdry(), c.src->getBdry()) << what;
    EXPECT_EQ(copy->getUserType() * 100 + copy->getUserData(), 1112) << what;
    EXPECT_NE(copy->GetHandle(), c.src->GetHandle()) << what;
    EXPECT_FALSE(copy->isSelected()) << what;
    EXPECT_EQ(table.get(copy->GetHandle()), nullptr) << what;
    EXPECT_EQ(c.src->getLayer()->getEntities(), layerCount) << what;
    // The copy's handle is booked, not free.
    EXPECT_THROW(g.bookHandle(copy->GetHandle()), IHandleGestor::HandleAlreadyUsedException);
    f.unbookHandle(g, copy.get());
    table.remove(c.src);
  }
}
