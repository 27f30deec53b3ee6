// tests/entities/polyline_silhouette_test.cpp: the outline of wide polylines (runs, joints, the
// closing joint), the line sequence and both nearest-segment searches with their numbering, the
// vertex sub-sequences, and polylines of 0 and 1 vertex through every operation.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"

namespace {

struct V {
  double x, y, z, ws, we;
};
struct WantRun {
  bool wide;
  std::vector<PNT_3D> pts;
};

class PolylineSilhouetteTest : public ::testing::Test {
 protected:
  // flags: bit 0 closed, 4 a curve whose first ctrl vertices are control points.
  std::unique_ptr<CEntPolyline> make(const std::vector<V>& vs, short flags = 0, int ctrl = 0) {
    CEntFactory& f = d->getEntFactory();
    IHandleGestor& g = d->getHandleGestor();
    std::unique_ptr<CEntPolyline> p(
        f.createEntPolyline(g, getCurLayer(*d), getCurLtype(*d), 7, flags, 0, 0));
    for (std::size_t i = 0; i < vs.size(); ++i) {
      const V& v = vs[i];
      CVertex* cv = f.createVertex(g, PNT_3D(v.x, v.y, v.z), v.ws, v.we, 0);
      if (static_cast<int>(i) < ctrl)
        p->addVertex(*cv);
      else
        p->addVisibleVertex(*cv);
    }
    return p;
  }

  DataPtr d = newDrawing();
};

void expectPoint(const PNT_3D& got, const PNT_3D& want, const std::string& what) {
  EXPECT_NEAR(got.getX(), want.getX(), 1e-12) << what;
  EXPECT_NEAR(got.getY(), want.getY(), 1e-12) << what;
  EXPECT_EQ(got.getZ(), want.getZ()) << what;
}

void expectRuns(const CPolylineSilhouette& s, const std::vector<WantRun>& want,
                const std::string& name) {
  ASSERT_EQ(s.GetNoRuns(), static_cast<int>(want.size())) << name;
  for (std::size_t r = 0; r < want.size(); ++r) {
    const CPolylineSilhouette::CPolylineSilhouetteRun* run = s.GetRunNo(static_cast<int>(r));
    EXPECT_EQ(run->IsWideRun(), want[r].wide) << name << " run " << r;
    const std::vector<PNT_3D>& pts = run->GetSegmentList();
    ASSERT_EQ(pts.size(), want[r].pts.size()) << name << " run " << r;
    for (std::size_t i = 0; i < pts.size(); ++i)
      expectPoint(pts[i], want[r].pts[i],
                  name + " run " + std::to_string(r) + " point " + std::to_string(i));
  }
}

PNT_3D P(double x, double y, double z = 0) {
  return PNT_3D(x, y, z);
}

TEST_F(PolylineSilhouetteTest, OutlineRunsAndJoints) {
  struct Case {
    const char* name;
    std::vector<V> vs;
    short flags;
    std::vector<WantRun> runs;
  };
  const std::vector<Case> cases = {
      {"thin, duplicates dropped",
       {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {5, 0, 0, 0, 0}, {5, 5, 0, 0, 0}},
       0,
       {{false, {P(0, 0), P(5, 0), P(5, 5)}}}},
      {"of equal positions the last vertex counts",
       {{0, 0, 0, 0, 0}, {0, 0, 0, 2, 2}, {10, 0, 0, 0, 0}},
       0,
       {{true, {P(0, 1), P(0, -1), P(10, 1), P(10, -1)}}}},
      {"thin end point takes the start vertex's Z",
       {{0, 0, 1, 0, 0}, {10, 0, 5, 0, 0}},
       0,
       {{false, {P(0, 0, 1), P(10, 0, 1)}}}},
      {"collinear constant width: parallel joint",
       {{0, 0, 0, 2, 2}, {5, 0, 0, 2, 2}, {10, 0, 0, 2, 2}},
       0,
       {{true, {P(0, 1), P(0, -1), P(5, 1), P(5, -1), P(10, 1), P(10, -1)}}}},
      {"right angle mitre",
       {{0, 0, 0, 2, 2}, {10, 0, 0, 2, 2}, {10, 10, 0, 2, 2}},
       0,
       {{true, {P(0, 1), P(0, -1), P(9, 1), P(11, -1), P(9, 10), P(11, 10)}}}},
      {"width end 0 closes the run",
       {{0, 0, 0, 2, 0}, {10, 0, 0, 2, 2}, {20, 0, 0, 0, 0}},
       0,
       {{true, {P(0, 1), P(0, -1), P(10, 0), P(10, 0)}},
        {true, {P(10, 1), P(10, -1), P(20, 1), P(20, -1)}}}},
      {"wide then thin",
       {{0, 0, 0, 2, 2}, {10, 0, 0, 0, 0}, {20, 0, 0, 0, 0}, {30, 0, 0, 0, 0}},
       0,
       {{true, {P(0, 1), P(0, -1), P(10, 1), P(10, -1)}}, {false, {P(10, 0), P(20, 0), P(30, 0)}}}},
      {"thin then wide, Z per segment",
       {{0, 0, 0, 0, 0}, {10, 0, 3, 2, 2}, {20, 0, 4, 0, 0}},
       0,
       {{false, {P(0, 0), P(10, 0, 3)}},
        {true, {P(10, 1, 3), P(10, -1, 3), P(20, 1, 3), P(20, -1, 3)}}}},
      {"closed thin, last repeats first: no closing segment",
       {{0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {10, 10, 0, 0, 0}, {0, 0, 0, 0, 0}},
       1,
       {{false, {P(0, 0), P(10, 0), P(10, 10), P(0, 0)}}}},
      // The outer edges of the closing joint meet behind the first run's start (t < 0), so
      // the first vertex keeps its square ends.
      {"closed square",
       {{0, 0, 0, 2, 2}, {10, 0, 0, 2, 2}, {10, 10, 0, 2, 2}, {0, 10, 0, 2, 2}},
       1,
       {{true,
         {P(0, 1), P(0, -1), P(9, 1), P(11, -1), P(9, 9), P(11, 11), P(1, 9), P(-1, 11), P(1, 0),
          P(-1, 0)}}}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CEntPolyline> p = make(c.vs, c.flags);
    expectRuns(CPolylineSilhouette(*p), c.runs, c.name);
  }
}

TEST_F(PolylineSilhouetteTest, SharpJointBreaksTheRun) {
  std::unique_ptr<CEntPolyline> p = make({{0, 0, 0, 2, 2}, {10, 0, 0, 2, 2}, {0, 0.1, 0, 2, 2}});
  CPolylineSilhouette s(*p);
  ASSERT_EQ(s.GetNoRuns(), 2);
  EXPECT_EQ(s.GetRunNo(0)->GetSegmentList(),
            (std::vector<PNT_3D>{P(0, 1), P(0, -1), P(10, 1), P(10, -1)}));
  // The second run is the new segment's own cross-sections, at its start and its end.
  const std::vector<PNT_3D>& second = s.GetRunNo(1)->GetSegmentList();
  ASSERT_EQ(second.size(), 4u);
  EXPECT_TRUE(s.GetRunNo(1)->IsWideRun());
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(second[static_cast<std::size_t>(i)].dist(P(10, 0)), 1.0, 1e-12);
    EXPECT_NEAR(second[static_cast<std::size_t>(i) + 2].dist(P(0, 0.1)), 1.0, 1e-12);
  }
}

TEST_F(PolylineSilhouetteTest, CopiesOwnTheirRuns) {
  std::unique_ptr<CEntPolyline> p = make({{0, 0, 0, 2, 2}, {10, 0, 0, 2, 2}});
  auto s = std::make_unique<CPolylineSilhouette>(*p);
  CPolylineSilhouette copy(*s);
  CPolylineSilhouette assigned(*make({{0, 0, 0, 0, 0}, {1, 1, 0, 0, 0}}));
  assigned = copy;
  s.reset();
  expectRuns(copy, {{true, {P(0, 1), P(0, -1), P(10, 1), P(10, -1)}}}, "copy");
  expectRuns(assigned, {{true, {P(0, 1), P(0, -1), P(10, 1), P(10, -1)}}}, "assigned");
  EXPECT_EQ(copy.GetRunNo(1), nullptr);
}

TEST_F(PolylineSilhouetteTest, LineSequenceClosesLast) {
  const std::vector<V> square = {
      {0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {10, 10, 0, 0, 0}, {0, 10, 0, 0, 0}};
  std::unique_ptr<CEntPolyline> closed = make(square, 1);
  CPolylineLineSeq seq(*closed);
  EXPECT_EQ(seq.GetNoLines(), 4);
  ASSERT_EQ(seq.GetNoVertexes(), 5);
  EXPECT_EQ(seq.GetVertex(4), seq.GetVertex(0));
  EXPECT_EQ(seq.GetLine(3), LINE_3D(0, 10, 0, 0, 0, 0));
  EXPECT_EQ(seq.GetVertex(5), nullptr);
  EXPECT_EQ(CPolylineLineSeq(*make(square)).GetNoLines(), 3);
}

TEST_F(PolylineSilhouetteTest, NearestSegmentNumbering) {
  const std::vector<V> square = {
      {0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {10, 10, 0, 0, 0}, {0, 10, 0, 0, 0}};
  const std::vector<V> curve = {{50, 50, 0, 0, 0}, {60, 60, 0, 0, 0}, {0, 0, 0, 0, 0},
                                {10, 0, 0, 0, 0},  {10, 10, 0, 0, 0}, {0, 10, 0, 0, 0}};
  struct Case {
    const char* name;
    std::vector<V> vs;
    short flags;
    int ctrl;
    PNT_2D p;
    int polyIndex;  // the free function, in the polyline's numbering
    int seqIndex;   // the line sequence
    double t;
  };
  const std::vector<Case> cases = {
      {"open: bottom", square, 0, 0, PNT_2D(3, -1), 0, 0, 0.3},
      {"open: beyond the end", square, 0, 0, PNT_2D(-2, 12), 2, 2, 1.2},
      {"closed: closing side is -1", square, 1, 0, PNT_2D(-1, 4), -1, 3, 0.6},
      {"closed: tie keeps the closing side", square, 1, 0, PNT_2D(5, 5), -1, 0, 0.5},
      {"closed curve: closing side is firstVisible - 1", curve, 5, 2, PNT_2D(-1, 4), 1, 3, 0.6},
      {"closed curve: right side", curve, 5, 2, PNT_2D(11, 4), 3, 1, 0.4},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CEntPolyline> p = make(c.vs, c.flags, c.ctrl);
    int index = 99;
    double t = 0;
    CalcNearestLine(*p, c.p, index, t);
    EXPECT_EQ(index, c.polyIndex) << c.name;
    const double polyT = t;
    CPolylineLineSeq(*p).CalcNearestLine(c.p, index, t);
    EXPECT_EQ(index, c.seqIndex) << c.name;
    EXPECT_NEAR(polyT, c.t, 1e-12) << c.name;
    EXPECT_NEAR(t, c.t, 1e-12) << c.name;
  }
}

// From (i1, t1) to (i2, t2) in line numbers and parameters; a bad line number gives nothing.
TEST_F(PolylineSilhouetteTest, SubSequences) {
  const std::vector<V> row = {
      {0, 0, 0, 0, 1}, {10, 0, 0, 1, 2}, {20, 0, 0, 2, 3}, {30, 0, 0, 3, 4}};
  const std::vector<V> sq = {
      {0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {10, 10, 0, 0, 0}, {0, 10, 0, 0, 0}};
  const struct {
    const char* name;
    const std::vector<V>& vs;
    short flags;
    int i1;
    double t1;
    int i2;
    double t2;
    std::vector<PNT_3D> pts;
  } cases[] = {
      {"across lines", row, 0, 0, 0.5, 2, 0.5, {P(5, 0), P(10, 0), P(20, 0), P(25, 0)}},
      // At a line's start, a start or an end counts as the previous line's end.
      {"start at a line's start", row, 0, 2, 0.0, 2, 0.5, {P(20, 0), P(20, 0), P(25, 0)}},
      {"within one line", row, 0, 1, 0.2, 1, 0.7, {P(12, 0), P(17, 0)}},
      {"end at a line's start", row, 0, 0, 0.5, 2, 0.0, {P(5, 0), P(10, 0), P(20, 0)}},
      {"wrap copies vertex n and 0", sq, 1, 3, 0.5, 0, 0.5, {P(0, 5), P(0, 0), P(0, 0), P(5, 0)}},
      {"wrap to exactly vertex 0", sq, 1, 2, 0.5, 0, 0.0, {P(5, 10), P(0, 10), P(0, 0), P(0, 0)}},
      {"line number past the end", row, 0, 0, 0.5, 3, 0.5, {}},
      {"negative line number", row, 0, -1, 0.5, 1, 0.5, {}},
  };
  for (const auto& c : cases) {
    std::unique_ptr<CEntPolyline> p = make(c.vs, c.flags);
    CPolylineVertexSubSequence sub(d->getEntFactory(), d->getHandleGestor(), *p, c.i1, c.t1, c.i2,
                                   c.t2);
    ASSERT_EQ(sub.GetNoVertexes(), static_cast<int>(c.pts.size())) << c.name;
    for (int i = 0; i < sub.GetNoVertexes(); ++i) {
      expectPoint(sub.GetVertex(i)->getPnt(), c.pts[static_cast<std::size_t>(i)],
                  std::string(c.name) + " vertex " + std::to_string(i));
      EXPECT_NE(sub.GetVertex(i)->GetHandle(), 0) << c.name;
    }
  }
}

TEST_F(PolylineSilhouetteTest, SubSequenceWidthsAndHandles) {
  std::unique_ptr<CEntPolyline> p = make({{0, 0, 0, 1, 3}, {10, 0, 0, 5, 6}, {20, 0, 0, 0, 0}});
  CPolylineLineSeq seq(*p);
  CPolylineVertexSubSequence sub(d->getEntFactory(), d->getHandleGestor(), seq, 0, 0.25, 1, 0.5);
  ASSERT_EQ(sub.GetNoVertexes(), 3);
  EXPECT_DOUBLE_EQ(sub.GetVertex(0)->GetWidthStart(), 1.5);
  EXPECT_EQ(sub.GetVertex(0)->GetWidthEnd(), 3);
  EXPECT_EQ(sub.GetVertex(1)->GetWidthStart(), 5);
  EXPECT_NE(sub.GetVertex(1)->GetHandle(), (*p)[1].GetHandle());
  EXPECT_DOUBLE_EQ(sub.GetVertex(2)->GetWidthStart(), 5.5);
  std::vector<CVertex*> taken = sub.TakeVertexes();
  EXPECT_EQ(sub.GetNoVertexes(), 0);
  for (CVertex* v : taken) delete v;
}

TEST_F(PolylineSilhouetteTest, EmptyAndSingleVertexPolylines) {
  for (short flags : {0, 1}) {
    for (std::size_t n : {0u, 1u}) {
      std::unique_ptr<CEntPolyline> p = make(std::vector<V>(n, V{1, 2, 3, 2, 2}), flags);
      const std::string name = "flags " + std::to_string(flags) + ", vertices " + std::to_string(n);
      EXPECT_EQ(CPolylineSilhouette(*p).GetNoRuns(), 0) << name;
      CPolylineLineSeq seq(*p);
      EXPECT_EQ(seq.GetNoVertexes(), static_cast<long>(flags == 1 && n == 1 ? 2 : n)) << name;
      int index = 7;
      double t = 0;
      CalcNearestLine(*p, PNT_2D(0, 0), index, t);
      // A single closed vertex has a closing segment of no length, numbered -1 all the same.
      EXPECT_EQ(index, -1) << name;
      EXPECT_EQ(t == 1.7e+200, !(flags == 1 && n == 1)) << name;
      seq.CalcNearestLine(PNT_2D(0, 0), index, t);
      EXPECT_EQ(index, flags == 1 && n == 1 ? 0 : -1) << name;
      CPolylineVertexSubSequence sub(d->getEntFactory(), d->getHandleGestor(), *p, 0, 0.5, 0, 0.7);
      EXPECT_EQ(sub.GetNoVertexes(), flags == 1 && n == 1 ? 2 : 0) << name;
    }
  }
}

}  // namespace
