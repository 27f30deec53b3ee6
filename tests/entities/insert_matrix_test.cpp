// tests/entities/insert_matrix_test.cpp: the insert matrix (copies of an array, inverse, base
// point form, composition and its iso fields) checked against the geometry it stands for, and
// the stack that walks nested inserts (matrix, layer, exact restore on Pop).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"

namespace {

const double kPi = std::acos(-1.0);

struct Placement {
  PNT_3D pnt;
  double sx, sy, sz, rotate;
  long rows, columns;
  double columnSpacing, rowSpacing;
};

class InsertMatrixTest : public ::testing::Test {
 protected:
  InsertMatrixTest() : block_(d->getBlockFactory().create("B", 0)) {
    d->getBlockTable().add(block_);
  }

  std::unique_ptr<CEntInsert> insert(const Placement& p, CLayer* layer = nullptr) {
    return std::unique_ptr<CEntInsert>(
        createEntInsert(*d, layer, nullptr, 256, *block_, p.pnt, p.sx, p.sy, p.sz, p.rotate, p.rows,
                        p.columns, p.columnSpacing, p.rowSpacing, 0));
  }

  DataPtr d = newDrawing(false);
  CBlock* block_;
};

// Where the copy in (row, column) puts block point q, built from the meaning of the placement:
// scale, shift by the array offset along the unrotated axes, turn about the origin, then move to
// the insertion point. Independent of the matrix coefficients.
PNT_3D expectedCopyPoint(const Placement& p, int row, int column, const PNT_3D& q) {
  PNT_2D xy(q.getX() * p.sx + (column - 1) * p.columnSpacing,
            q.getY() * p.sy + (row - 1) * p.rowSpacing);
  xy.rotate(PNT_2D(0, 0), p.rotate);
  return PNT_3D(xy.getX() + p.pnt.getX(), xy.getY() + p.pnt.getY(), q.getZ() * p.sz + p.pnt.getZ());
}

void expectNear(const PNT_3D& got, const PNT_3D& want, double tol, const std::string& what) {
  EXPECT_NEAR(got.getX(), want.getX(), tol) << what;
  EXPECT_NEAR(got.getY(), want.getY(), tol) << what;
  EXPECT_NEAR(got.getZ(), want.getZ(), tol) << what;
}

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every field bit for bit (NaN iso fields included).
bool sameBits(const CEntInsertMatrix& a, const CEntInsertMatrix& b) {
  for (int i = 0; i < 8; ++i)
    if (!sameBits(a.GetM(i), b.GetM(i))) return false;
  return a.IsIsotropicXY() == b.IsIsotropicXY() && sameBits(a.GetIsoScale(), b.GetIsoScale()) &&
         sameBits(a.GetIsoRotate(), b.GetIsoRotate());
}

}  // namespace

// Rows and columns from 0: when both are below 2 the copy is the first one (bit for bit the
// plain matrix); otherwise row or column 0 lies one spacing before 1.
TEST_F(InsertMatrixTest, EachCopyOfAnArrayMapsBlockPointsWhereItsPlacementSays) {
  const Placement cases[] = {
      {PNT_3D(10, 20, 0), 1, 1, 1, 0, 1, 1, 0, 0},
      {PNT_3D(10, 20, 3), 2, 3, 4, kPi / 2, 3, 4, 5, 7},
      {PNT_3D(-1, 2, -3), -1, 0.5, -2, 5 * kPi / 4, 2, 3, -5, -7},
      {PNT_3D(0, 0, 0), 1.5, 1.5, 1, -kPi / 3, 4, 2, 2.5, -1},
  };
  const PNT_3D qs[] = {PNT_3D(0, 0, 0), PNT_3D(1, 0, 0), PNT_3D(0, 1, 0), PNT_3D(3, -2, 5)};
  for (const Placement& p : cases) {
    const auto ins = insert(p);
    EXPECT_TRUE(sameBits(CEntInsertMatrix(*ins, 1, 1), CEntInsertMatrix(*ins, false)));
    for (int row = 0; row <= 3; ++row)
      for (int column = 0; column <= 3; ++column) {
        const CEntInsertMatrix m(*ins, row, column);
        const bool first = row < 2 && column < 2;
        for (const PNT_3D& q : qs) {
          PNT_3D out;
          m.transform(q, out);
          expectNear(out, expectedCopyPoint(p, first ? 1 : row, first ? 1 : column, q), 1e-12,
                     "row " + std::to_string(row) + " column " + std::to_string(column));
        }
      }
  }
}

// Random placements, mirrored ones among them; the array has no part in the inverse.
TEST_F(InsertMatrixTest, InverseUndoesThePlacementOverManyRandomInserts) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> coord(-1e3, 1e3), scale(0.1, 10), turn(-2 * kPi, 4 * kPi);
  std::bernoulli_distribution flip(0.3);
  auto signedScale = [&] { return flip(rng) ? -scale(rng) : scale(rng); };
  for (int i = 0; i < 2000; ++i) {
    const Placement p{PNT_3D(coord(rng), coord(rng), coord(rng)),
                      signedScale(),
                      signedScale(),
                      signedScale(),
                      turn(rng),
                      1 + static_cast<long>(i % 3),
                      1 + static_cast<long>(i % 4),
                      coord(rng),
                      coord(rng)};
    const auto ins = insert(p);
    const CEntInsertMatrix forward(*ins, false), inverse(*ins, true);
    ASSERT_FALSE(inverse.IsIsotropicXY());
    // The inverse ignores the array.
    Placement single = p;
    single.rows = single.columns = 1;
    ASSERT_TRUE(sameBits(inverse, CEntInsertMatrix(*insert(single), true)));
    const PNT_3D q(coord(rng), coord(rng), coord(rng));
    PNT_3D there, back;
    forward.transform(q, there);
    inverse.transform(there, back);
    // The intermediate point may be ~1e4 from the origin; allow for its rounding.
    expectNear(back, q, 1e-8, "placement " + std::to_string(i));
  }
}

TEST_F(InsertMatrixTest, ZeroScaleGivesInfinitiesInTheInverseWithoutFailing) {
  const auto ins = insert({PNT_3D(1, 2, 3), 0, 1, 0, 0, 1, 1, 0, 0});
  const CEntInsertMatrix inverse(*ins, true);
  EXPECT_TRUE(std::isinf(inverse.GetM(0)) && std::isinf(inverse.GetM(4)));
  PNT_3D out;
  inverse.transform(PNT_3D(5, 5, 5), out);
  EXPECT_FALSE(std::isfinite(out.getX()) || std::isfinite(out.getZ()));
  EXPECT_TRUE(std::isfinite(out.getY()));  // the Y scale is 1
}

TEST_F(InsertMatrixTest, IsoFieldsFollowTheScalesAndAreNotANumberOtherwise) {
  const struct {
    double sx, sy, rotate;
    bool isotropic;
  } cases[] = {
      {2, 2, 0.5, true}, {-3, -3, 4.0, true}, {2, 2.0000001, 0.5, false}, {1, -1, 0, false}};
  for (const auto& c : cases) {
    const auto ins = insert({PNT_3D(0, 0, 0), c.sx, c.sy, 1, c.rotate, 1, 1, 0, 0});
    const CEntInsertMatrix fromInsert(*ins, false);
    const CEntInsertMatrix fromBase(PNT_3D(1, 1, 1), c.sx, c.sy, 1, c.rotate, PNT_3D(0, 0, 0));
    for (const CEntInsertMatrix* m : {&fromInsert, &fromBase}) {
      EXPECT_EQ(m->IsIsotropicXY(), c.isotropic) << c.sx << " " << c.sy;
      EXPECT_TRUE(c.isotropic ? m->GetIsoScale() == c.sx : std::isnan(m->GetIsoScale()));
      EXPECT_TRUE(c.isotropic ? m->GetIsoRotate() == c.rotate : std::isnan(m->GetIsoRotate()));
    }
    // The inverse is never isotropic, whatever the scales.
    EXPECT_TRUE(std::isnan(CEntInsertMatrix(*ins, true).GetIsoScale()));
  }
}

TEST_F(InsertMatrixTest, BasePointFormMovesBaseToTargetAndMatchesSet) {
  const PNT_3D base(4, -2, 1), at(-7, 3, 2);
  const CEntInsertMatrix m(base, 2, 3, 4, kPi / 6, at);
  CEntInsertMatrix viaSet;
  viaSet.set(base, 2, 3, 4, kPi / 6, at);
  EXPECT_TRUE(sameBits(m, viaSet));
  PNT_3D out;
  m.transform(base, out);
  expectNear(out, at, 1e-12, "base");
  // One unit along X from the base becomes sx units along the rotated X axis.
  m.transform(PNT_3D(5, -2, 2), out);
  expectNear(out, PNT_3D(-7 + 2 * std::cos(kPi / 6), 3 + 2 * std::sin(kPi / 6), 6), 1e-12, "x");
  // Transforming in place gives the same point.
  PNT_3D inPlace(5, -2, 2);
  m.transform(inPlace, inPlace);
  EXPECT_EQ(inPlace, out);
}

TEST_F(InsertMatrixTest, CompositionAppliesTheRightOperandFirst) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-50, 50), scale(0.2, 5), turn(0, 2 * kPi);
  for (int i = 0; i < 200; ++i) {
    const CEntInsertMatrix a(PNT_3D(coord(rng), coord(rng), coord(rng)), scale(rng), scale(rng),
                             scale(rng), turn(rng), PNT_3D(coord(rng), coord(rng), coord(rng)));
    const CEntInsertMatrix b(PNT_3D(coord(rng), coord(rng), coord(rng)), scale(rng), scale(rng),
                             scale(rng), turn(rng), PNT_3D(coord(rng), coord(rng), coord(rng)));
    const PNT_3D q(coord(rng), coord(rng), coord(rng));
    PNT_3D viaB, twoSteps, oneStep;
    b.transform(q, viaB);
    a.transform(viaB, twoSteps);
    (a * b).transform(q, oneStep);
    expectNear(oneStep, twoSteps, 1e-9, "pair " + std::to_string(i));
  }
}

TEST_F(InsertMatrixTest, IsotropicCompositionMultipliesScalesAndNormalisesRotationOnce) {
  const PNT_3D o(0, 0, 0);
  const struct {
    double scaleA, rotateA, scaleB, rotateB, scale, rotate;
  } cases[] = {
      {2, 3 * kPi / 2, 3, kPi, 6, kPi / 2},        // above 2*pi: one turn off
      {1, -kPi / 2, 1, -kPi, 1, kPi / 2},          // below 0: one turn on
      {1, 2 * kPi, 1, 0, 1, 2 * kPi},              // exactly 2*pi stays
      {1, -3 * kPi, 1, -2 * kPi, 1, -3 * kPi},     // one step only, even when not enough
      {-1, kPi / 4, 0.5, kPi / 4, -0.5, kPi / 2},  // plain sum in range
  };
  for (const auto& c : cases) {
    const CEntInsertMatrix a(o, c.scaleA, c.scaleA, 1, c.rotateA, o);
    const CEntInsertMatrix b(o, c.scaleB, c.scaleB, 1, c.rotateB, o);
    const CEntInsertMatrix r = a * b;
    ASSERT_TRUE(r.IsIsotropicXY());
    EXPECT_DOUBLE_EQ(r.GetIsoScale(), c.scale);
    EXPECT_NEAR(r.GetIsoRotate(), c.rotate, 1e-12) << c.rotateA << " + " << c.rotateB;
  }
  // One non-isotropic operand makes the result non-isotropic, with no iso values.
  const CEntInsertMatrix iso(o, 2, 2, 1, 1, o), aniso(o, 2, 1, 1, 1, o);
  for (const CEntInsertMatrix& r : {iso * aniso, aniso * iso, aniso * aniso})
    EXPECT_TRUE(!r.IsIsotropicXY() && std::isnan(r.GetIsoScale()) && std::isnan(r.GetIsoRotate()));
}

TEST_F(InsertMatrixTest, StackComposesNestedInsertsTracksTheLayerAndRestoresExactly) {
  CLayer* walls = d->getLayerFactory().create("WALLS", &d->getLtypeContinuous(), 1, 0);
  d->getLayerTable().add(walls);
  CLayer* layer0 = &d->getLayer0();
  const Placement outerP{PNT_3D(100, 50, 0), 2, 2, 1, kPi / 2, 2, 2, 10, 20};
  const Placement middleP{PNT_3D(5, 0, 1), 1, 3, 2, 0.3, 1, 1, 0, 0};
  const Placement innerP{PNT_3D(-1, 1, 0), 0.5, 0.5, 1, 1.2, 3, 1, 0, 4};
  const auto outer = insert(outerP, layer0);
  const auto middle = insert(middleP, walls);
  const auto inner = insert(innerP, layer0);

  // A new stack: no insert, the identity, no layer; popping it changes nothing.
  CEntInsertStack stack;
  stack.Pop();
  EXPECT_EQ(stack.GetNoInsert(), 0);
  EXPECT_EQ(stack.GetBaseInsert(), nullptr);
  PNT_3D same;
  stack.GetCurMatrix().transform(PNT_3D(3, -4, 5), same);
  EXPECT_EQ(same, PNT_3D(3, -4, 5));
  const CEntInsertStackState empty = stack.GetState();

  stack.Push(outer.get(), 2, 1);
  EXPECT_EQ(stack.GetCurLayer(), layer0);  // the first insert gives its own layer, even "0"
  const CEntInsertStackState afterOuter = stack.GetState();
  stack.Push(middle.get(), 1, 1);
  EXPECT_EQ(stack.GetCurLayer(), walls);
  const CEntInsertStack afterMiddle = stack;
  stack.Push(inner.get(), 3, 1);
  EXPECT_EQ(stack.GetCurLayer(), walls);  // an insert on "0" keeps the layer around it
  EXPECT_EQ(stack.GetNoInsert(), 3);
  EXPECT_EQ(stack.GetBaseInsert(), outer.get());
  EXPECT_EQ(stack.GetTopMostInsert(), inner.get());
  EXPECT_EQ(stack.GetInsert(1), middle.get());

  // A point of the innermost block goes through each copy from the inside out.
  const PNT_3D q(1, 2, 3);
  const PNT_3D want = expectedCopyPoint(
      outerP, 2, 1, expectedCopyPoint(middleP, 1, 1, expectedCopyPoint(innerP, 3, 1, q)));
  PNT_3D got;
  stack.GetCurMatrix().transform(q, got);
  expectNear(got, want, 1e-9, "three deep");

  // Each Pop brings back the matrix bit for bit, the layer and the depth; so does a copy of the
  // stack, which carries the saved pairs.
  auto expectState = [](const CEntInsertStack& s, const CEntInsertStackState& want, CLayer* layer,
                        long depth) {
    EXPECT_TRUE(sameBits(s.GetCurMatrix(), want.GetCurMatrix())) << depth;
    EXPECT_EQ(s.GetCurLayer(), layer) << depth;
    EXPECT_EQ(s.GetNoInsert(), depth);
  };
  CEntInsertStack copy = afterMiddle;
  stack.Pop();
  expectState(stack, afterMiddle.GetState(), walls, 2);
  EXPECT_EQ(stack.GetTopMostInsert(), middle.get());
  stack.Pop();
  expectState(stack, afterOuter, layer0, 1);
  stack.Pop();
  expectState(stack, empty, nullptr, 0);
  copy.Pop();
  expectState(copy, afterOuter, layer0, 1);
}
