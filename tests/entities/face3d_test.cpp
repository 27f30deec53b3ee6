// tests/entities/face3d_test.cpp: the 3D face's triangle mark, flag rules, edges, wrapped
// indices, box after every setter, and its snapshot of the whole flags word.
// The whole flags word is read through the snapshot, the only place it is visible.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <veltcore/database/data.h>
#include <veltcore/entities/create_calls.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/geometry/line.h>

#include "database/test_drawing.h"

namespace {

const PNT_3D p0(0, 0, 0), p1(4, 0, 0), p2(4, 3, 0), p3(0, 3, 2);

class Face3DTest : public ::testing::Test {
 protected:
  DataPtr d = newDrawing();

  std::unique_ptr<CEnt3DFace> make(const PNT_3D& v3, long flags) {
    return std::unique_ptr<CEnt3DFace>(createEnt3DFace(*d, p0, p1, p2, v3, flags, 0));
  }
};

long flagsWord(const CEnt3DFace& f) {
  const std::unique_ptr<IEntDerivedMemento> m(f.createDerivedMemento());
  return static_cast<const CEnt3DFaceMemento&>(*m).getFlagsWord();
}

}  // namespace

TEST_F(Face3DTest, TriangleMarkFollowsVerticesTwoAndThreeAndTheBoxEverySetter) {
  const auto face = make(p2, 0);
  const PNT_3D away(-1, 5, -3);
  const PNT_3D row[4] = {p0, p1, p2, p2};
  struct Step {
    const char* what;
    std::function<void()> change;
    bool triangular;
    RECT_3D box;
  };
  const Step steps[] = {
      {"built with vertex 3 on vertex 2", [] {}, true, {0, 0, 0, 4, 3, 0}},
      {"vertex 3 moved away", [&] { face->setVertex(3, away); }, false, {-1, 0, -3, 4, 5, 0}},
      {"vertex 3 put on vertex 2 by reference: no renewal",
       [&] { face->getVertex(3) = p2, face->calcBdry(); },
       false,
       {0, 0, 0, 4, 3, 0}},
      {"vertex 1 set: no renewal", [&] { face->setVertex(1, away); }, false, {-1, 0, -3, 4, 5, 0}},
      {"vertex 1 back", [&] { face->setVertex(1, p1); }, false, {0, 0, 0, 4, 3, 0}},
      {"vertex 2 set to itself: renewed",
       [&] { face->setVertex(2, p2); },
       true,
       {0, 0, 0, 4, 3, 0}},
      {"vertex 2 moved", [&] { face->setVertex(2, away); }, false, {-1, 0, -3, 4, 5, 0}},
      {"setTriangular", [&] { face->setTriangular(); }, true, {-1, 0, -3, 4, 5, 0}},
      {"setVertexes, four corners",
       [&] { face->setVertexes(p0, p1, p2, p3); },
       false,
       {0, 0, 0, 4, 3, 2}},
      {"setVertexes from a row", [&] { face->setVertexes(row); }, true, {0, 0, 0, 4, 3, 0}},
      {"index 7 is vertex 3", [&] { face->setVertex(7, p3); }, false, {0, 0, 0, 4, 3, 2}},
      {"index -2 is vertex 2", [&] { face->setVertex(-2, p3); }, true, {0, 0, 0, 4, 3, 2}},
  };
  for (const Step& s : steps) {
    s.change();
    EXPECT_EQ(face->isTriangular(), s.triangular) << s.what;
    EXPECT_EQ(face->getBdry(), s.box) << s.what;
  }
  EXPECT_EQ(face->getVertex(3), face->getVertex(2));
}

TEST_F(Face3DTest, FlagRules) {
  struct Case {
    const char* what;
    PNT_3D v3;
    long built;
    std::function<void(CEnt3DFace&)> change;
    long flags, word;
    bool triangular;
  };
  const Case cases[] = {
      {"other bits kept as built", p3, 0x105, [](CEnt3DFace&) {}, 5, 0x105, false},
      {"mark given to a four-cornered face is dropped", p3, 0xFF, [](CEnt3DFace&) {}, 15, 0x7F,
       false},
      {"mark derived for a triangle", p2, 0, [](CEnt3DFace&) {}, 0, 0x80, true},
      {"setFlags(0xFF) on a triangle", p2, 0, [](CEnt3DFace& f) { f.setFlags(0xFF); }, 15, 0x8F,
       true},
      {"setFlags(0) on a four-cornered face", p3, 0, [](CEnt3DFace& f) { f.setFlags(0); }, 0, 0,
       false},
      {"setFlags clears other bits, given or kept", p3, 0x100,
       [](CEnt3DFace& f) { f.setFlags(0x205); }, 5, 5, false},
      {"an edge hidden keeps other bits", p3, 0x100,
       [](CEnt3DFace& f) { f.setEdgeVisib(2, false); }, 4, 0x104, false},
      {"setTriangular sets only the mark", p3, 0x103, [](CEnt3DFace& f) { f.setTriangular(); }, 3,
       0x183, true},
  };
  for (const Case& c : cases) {
    const auto face = make(c.v3, c.built);
    c.change(*face);
    EXPECT_EQ(face->getFlags(), c.flags) << c.what;
    EXPECT_EQ(flagsWord(*face), c.word) << c.what;
    EXPECT_EQ(face->isTriangular(), c.triangular) << c.what;
  }
}

TEST_F(Face3DTest, EdgeVisibilityOneBitPerEdge) {
  const auto face = make(p3, 0);
  for (long i = 0; i < 4; ++i) {
    face->setEdgeVisib(i, false);
    for (long j = 0; j < 4; ++j) EXPECT_EQ(face->isEdgeVisib(j), i != j) << i << ", " << j;
    EXPECT_EQ(face->getFlags(), 1L << i);
    face->setEdgeVisib(i, true);
    EXPECT_EQ(face->getFlags(), 0);
  }
  // Indices wrap like vertex indices: 5 is edge 1, -1 is edge 3.
  face->setEdgeVisib(5, false);
  face->setEdgeVisib(-1, false);
  EXPECT_EQ(face->getFlags(), 0b1010);
  EXPECT_FALSE(face->isEdgeVisib(-3));
}

TEST_F(Face3DTest, EdgesRunFromEachVertexToTheNext) {
  const auto face = make(p3, 0);
  const PNT_3D v[4] = {p0, p1, p2, p3};
  const struct {
    long i;
    int from, to;
  } cases[] = {{0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {3, 3, 0}, {4, 0, 1}, {-1, 3, 0}};
  for (const auto& c : cases) {
    PNT_3D a, b;
    face->getPoints(c.i, a, b);
    EXPECT_EQ(a, v[c.from]) << c.i;
    EXPECT_EQ(b, v[c.to]) << c.i;
    LINE_3D l;
    face->getLine(c.i, l);
    EXPECT_EQ(l, LINE_3D(v[c.from], v[c.to])) << c.i;
    EXPECT_EQ(face->getVertex(c.i), v[c.from]) << c.i;
  }
}

TEST_F(Face3DTest, SnapshotRestoresVerticesAndTheWholeFlagsWord) {
  const auto face = make(p2, 0x101);
  const std::unique_ptr<IEntDerivedMemento> m(face->createDerivedMemento());
  const RECT_3D box = face->getBdry();
  face->setEdgeVisib(0, true);
  // A flags change alone is a difference.
  EXPECT_TRUE(*face != *m);
  face->setVertex(3, PNT_3D(9, 9, 9));
  face->setFlags(0);
  face->setMemento(*d, m.get());
  EXPECT_TRUE(*face == *m);
  EXPECT_EQ(flagsWord(*face), 0x181);
  EXPECT_TRUE(face->isTriangular());
  EXPECT_EQ(face->getVertex(3), p2);
  EXPECT_EQ(face->getBdry(), box);
}
