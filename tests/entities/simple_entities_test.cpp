// tests/entities/simple_entities_test.cpp: the point, line, circle, arc and 3D face entities:
// boxes after every setter; the face's triangle mark, flag rules, edges and wrapped indices
// (snapshots and copies of every class are in cast_visitors_test.cpp). The face's whole flags word
// is read through its snapshot, the only place it is visible.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
const PNT_3D p0(0, 0, 0), p1(4, 0, 0), p2(4, 3, 0), p3(0, 3, 2);

long flagsWord(const CEnt3DFace& f) {
  const std::unique_ptr<IEntDerivedMemento> m(f.createDerivedMemento());
  return static_cast<const CEnt3DFaceMemento&>(*m).getFlagsWord();
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

  // A face on p0, p1, p2 and v3.
  std::unique_ptr<CEnt3DFace> makeFace(const PNT_3D& v3, long flags) {
    return std::unique_ptr<CEnt3DFace>(createEnt3DFace(*d, p0, p1, p2, v3, flags, 0));
  }
};

}  // namespace

TEST_F(SimpleEntitiesTest, EverySetterRenewsTheBox) {
  const struct {
    const char* what;
    CEnt* e;
    std::function<void()> change;
    RECT_3D want;
  } steps[] = {
      {"point built", pnt.get(), [] {}, {1, 2, 3, 1, 2, 3}},
      {"setPnt(PNT_3D)", pnt.get(), [&] { pnt->setPnt(PNT_3D(-4, 5, 6)); }, {-4, 5, 6, -4, 5, 6}},
      {"setPnt(x, y, z)", pnt.get(), [&] { pnt->setPnt(7, 8, 9); }, {7, 8, 9, 7, 8, 9}},
      {"line built", line.get(), [] {}, {0, 0, 0, 1, 1, 1}},
      {"setLine(6)", line.get(), [&] { line->setLine(0, 0, 0, 10, 5, -2); }, {0, 0, -2, 10, 5, 0}},
      {"setLine(LINE_3D)",
       line.get(),
       [&] {
         line->setLine({3, -1, 4, -3, 1, 4});
       },
       {-3, -1, 4, 3, 1, 4}},
      {"circle built", circle.get(), [] {}, {-1, -1, 0, 1, 1, 0}},
      {"setCircle(4)", circle.get(), [&] { circle->setCircle(1, 2, 3, 4); }, {-3, -2, 3, 5, 6, 3}},
      {"setCircle(CIRCLE_3D)",
       circle.get(),
       [&] {
         circle->setCircle({0, 0, -1, 0.5});
       },
       {-0.5, -0.5, -1, 0.5, 0.5, -1}},
      {"arc built", arc.get(), [] {}, {0, 0, 0, 1, 1, 0}},
      {"setArc(6), half turn",
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
  for (const auto& s : steps) {
    s.change();
    double got[6], want[6];
    s.e->getBdry().get(got[0], got[1], got[2], got[3], got[4], got[5]);
    s.want.get(want[0], want[1], want[2], want[3], want[4], want[5]);
    // Ends on the axes come from cos and sin, so corners are compared within rounding.
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << s.what << ", " << i;
  }
  // The six-value form keeps the angles in range, as the arc value does.
  arc->setArc(0, 0, 0, 1, -kPi / 2, 5 * kPi);
  EXPECT_NEAR(arc->getArc().start, 3 * kPi / 2, 1e-12);
  EXPECT_NEAR(arc->getArc().end, kPi, 1e-12);
}

// The mark follows vertices 2 and 3 through the setters that renew it (not a vertex written by
// reference, nor vertex 1); every setter renews the box; indices wrap.
TEST_F(SimpleEntitiesTest, FaceTriangleMarkFollowsVerticesTwoAndThreeAndTheBoxEverySetter) {
  const auto f = makeFace(p2, 0);
  const PNT_3D away(-1, 5, -3);
  const PNT_3D row[4] = {p0, p1, p2, p2};
  const RECT_3D flat(0, 0, 0, 4, 3, 0), out(-1, 0, -3, 4, 5, 0), high(0, 0, 0, 4, 3, 2);
  const struct {
    const char* what;
    std::function<void()> change;
    bool triangular;
    RECT_3D box;
  } steps[] = {
      {"built with vertex 3 on vertex 2", [] {}, true, flat},
      {"vertex 3 moved away", [&] { f->setVertex(3, away); }, false, out},
      {"vertex 3 put back by reference", [&] { f->getVertex(3) = p2, f->calcBdry(); }, false, flat},
      {"vertex 1 set", [&] { f->setVertex(1, away); }, false, out},
      {"vertex 1 back", [&] { f->setVertex(1, p1); }, false, flat},
      {"vertex 2 set to itself renews", [&] { f->setVertex(2, p2); }, true, flat},
      {"vertex 2 moved", [&] { f->setVertex(2, away); }, false, out},
      {"setTriangular", [&] { f->setTriangular(); }, true, out},
      {"setVertexes, four corners", [&] { f->setVertexes(p0, p1, p2, p3); }, false, high},
      {"setVertexes from a row", [&] { f->setVertexes(row); }, true, flat},
      {"index 7 is vertex 3", [&] { f->setVertex(7, p3); }, false, high},
      {"index -2 is vertex 2", [&] { f->setVertex(-2, p3); }, true, high},
  };
  for (const auto& s : steps) {
    s.change();
    EXPECT_EQ(f->isTriangular(), s.triangular) << s.what;
    EXPECT_EQ(f->getBdry(), s.box) << s.what;
  }
}

TEST_F(SimpleEntitiesTest, FaceFlagRules) {
  std::unique_ptr<IEntDerivedMemento> m;
  const struct {
    const char* what;
    PNT_3D v3;
    long built;
    std::function<void(CEnt3DFace&)> change;
    long flags, word;
    bool triangular;
  } cases[] = {
      {"other bits kept as built", p3, 0x105, [](CEnt3DFace&) {}, 5, 0x105, false},
      {"mark given to four corners is dropped", p3, 0xFF, [](CEnt3DFace&) {}, 15, 0x7F, false},
      {"mark derived for a triangle", p2, 0, [](CEnt3DFace&) {}, 0, 0x80, true},
      {"setFlags(0xFF) on a triangle", p2, 0, [](CEnt3DFace& f) { f.setFlags(0xFF); }, 15, 0x8F,
       true},
      {"setFlags(0) on four corners", p3, 0, [](CEnt3DFace& f) { f.setFlags(0); }, 0, 0, false},
      {"setFlags clears other bits", p3, 0x100, [](CEnt3DFace& f) { f.setFlags(0x205); }, 5, 5,
       false},
      {"an edge hidden keeps other bits", p3, 0x100,
       [](CEnt3DFace& f) { f.setEdgeVisib(2, false); }, 4, 0x104, false},
      {"setTriangular sets only the mark", p3, 0x103, [](CEnt3DFace& f) { f.setTriangular(); }, 3,
       0x183, true},
      // A flags change alone is a difference; the restore brings back the whole word.
      {"snapshot restored", p2, 0x101,
       [&](CEnt3DFace& f) {
         m.reset(f.createDerivedMemento());
         f.setEdgeVisib(0, true);
         EXPECT_TRUE(f != *m);
         f.setVertex(3, PNT_3D(9, 9, 9));
         f.setFlags(0);
         f.setMemento(*d, m.get());
         EXPECT_EQ(f.getVertex(3), p2);
       },
       1, 0x181, true},
  };
  for (const auto& c : cases) {
    const auto f = makeFace(c.v3, c.built);
    c.change(*f);
    EXPECT_EQ(f->getFlags(), c.flags) << c.what;
    EXPECT_EQ(flagsWord(*f), c.word) << c.what;
    EXPECT_EQ(f->isTriangular(), c.triangular) << c.what;
  }
}

// One bit per edge; edge i runs from vertex i to the next; indices wrap like vertex indices.
TEST_F(SimpleEntitiesTest, FaceEdges) {
  const auto f = makeFace(p3, 0);
  for (long i = 0; i < 4; ++i) {
    f->setEdgeVisib(i, false);
    for (long j = 0; j < 4; ++j) EXPECT_EQ(f->isEdgeVisib(j), i != j) << i << ", " << j;
    EXPECT_EQ(f->getFlags(), 1L << i);
    f->setEdgeVisib(i, true);
  }
  f->setEdgeVisib(5, false);
  f->setEdgeVisib(-1, false);
  EXPECT_EQ(f->getFlags(), 0b1010);
  EXPECT_FALSE(f->isEdgeVisib(-3));
  const PNT_3D v[4] = {p0, p1, p2, p3};
  for (const auto& [i, from] : {std::pair{0L, 0}, {1L, 1}, {2L, 2}, {3L, 3}, {4L, 0}, {-1L, 3}}) {
    PNT_3D a, b;
    f->getPoints(i, a, b);
    LINE_3D l;
    f->getLine(i, l);
    EXPECT_EQ(l, LINE_3D(v[from], v[(from + 1) % 4])) << i;
    EXPECT_EQ(LINE_3D(a, b), l) << i;
    EXPECT_EQ(f->getVertex(i), v[from]) << i;
  }
}
