// tests/entities/poly_adder_visitor_test.cpp: CEntPolyAdderVisitor: every line and polyline case
// with the exact vertex order it leaves, handles of new vertices in a listed target, and a ring
// rebuilt from shuffled, partly reversed pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <veltcore/veltcore.h>

#include "database/test_drawing.h"
#include "support/handle_probe.h"

namespace {

using Pts = std::vector<PNT_3D>;

class PolyAdderTest : public ::testing::Test {
 protected:
  // A plain polyline through pts; vertex k has widths (k, k + 0.5) when wide.
  std::unique_ptr<CEntPolyline> polyline(const Pts& pts, bool closed = false, bool wide = false) {
    std::unique_ptr<CEntPolyline> p(createEntPolyline(*d, closed ? 1 : 0, 0, 0));
    for (std::size_t k = 0; k < pts.size(); ++k) {
      const double w = wide ? static_cast<double>(k) : 0;
      p->addVertex(*createVertex(*d, pts[k], w, wide ? w + 0.5 : 0, 0));
    }
    return p;
  }
  std::unique_ptr<CEntLine> line(const PNT_3D& a, const PNT_3D& b) {
    return std::unique_ptr<CEntLine>(createEntLine(*d, LINE_3D(a, b), 0));
  }
  static Pts points(const CEntPolyline& p) {
    Pts out;
    for (int i = 0; i < p.getNoTotalVertexes(); ++i) out.push_back(p.GetVertexPos(i));
    return out;
  }
  // Adds e to a target through pts and checks the count, the vertices and the closed flag.
  void expectAdding(CEnt& e, const Pts& target, bool targetClosed, long count, const Pts& want,
                    bool closed, const std::string& what) {
    const std::unique_ptr<CEntPolyline> t(polyline(target, targetClosed));
    CEntPolyAdderVisitor adder(d->getHandleGestor(), d->getEntFactory(), *t, false);
    EXPECT_EQ(adder.visit(&e), count) << what;
    EXPECT_EQ(points(*t), want) << what;
    EXPECT_EQ(t->isClosed(), closed) << what;
    expectBoxCurrent(*t, what);
  }
  // The box kept through the insertions is the one a full recomputation gives.
  static void expectBoxCurrent(CEntPolyline& p, const std::string& what) {
    const RECT_3D kept = p.getBdry();
    p.calcBdry();
    EXPECT_EQ(kept, p.getBdry()) << what;
  }

  DataPtr d = newDrawing();
};

const PNT_3D a(0, 0, 0), b(1, 0, 0), c(2, 0, 0);
const Pts abc = {a, b, c};

}  // namespace

TEST_F(PolyAdderTest, LineCases) {
  const PNT_3D up(0, 1, 0), right(3, 0, 0), far(7, 7, 0);
  const struct {
    const char* what;
    PNT_3D from, to;
    Pts target;
    bool targetClosed;
    long count;
    Pts want;
    bool closed;
  } cases[] = {
      {"1: empty target", far, up, {}, true, 1, {far, up}, false},
      {"2: F = A, L = B closes", a, c, abc, false, 1, abc, true},
      {"2: F = B, L = A closes", c, a, abc, false, 1, abc, true},
      {"2: already closed", c, a, abc, true, 0, abc, true},
      {"3: F = A, other end ahead", a, up, abc, true, 1, {up, a, b, c}, false},
      {"3: F = B", up, a, abc, false, 1, {up, a, b, c}, false},
      {"3: F before L when both ends meet A", a, up, {a, b, a}, false, 1, {up, a, b, a}, false},
      {"4: L = A, other end at the tail", c, right, abc, true, 1, {a, b, c, right}, false},
      {"4: L = B", right, c, abc, false, 1, {a, b, c, right}, false},
      {"5: no end meets", far, up, abc, false, 0, abc, false},
  };
  for (const auto& k : cases) {
    const std::unique_ptr<CEntLine> l(line(k.from, k.to));
    expectAdding(*l, k.target, k.targetClosed, k.count, k.want, k.closed, k.what);
  }
}

TEST_F(PolyAdderTest, PolylineCasesAddRunsEitherWayRound) {
  const PNT_3D p(0, 1, 0), q(2, 1, 0), r(0, 2, 0), s(3, 0, 0), t(4, 0, 0), far(9, 9, 0);
  const struct {
    const char* what;
    Pts piece;
    Pts target;
    bool pieceClosed;
    long count;
    Pts want;
    bool closed;
  } cases[] = {
      {"1: empty target takes the piece", {far, p, q}, {}, false, 2, {far, p, q}, false},
      // The inner vertices go ahead (run n-2 down to 1, or 1 up to n-2), then the target closes.
      {"2: F = P0, L = Pn", {a, p, q, c}, abc, false, 3, {q, p, a, b, c}, true},
      {"2: F = Pn, L = P0", {c, q, p, a}, abc, false, 3, {q, p, a, b, c}, true},
      {"2: two points only close", {c, a}, abc, false, 1, abc, true},
      // addPolyAhead n-1 down to 1, and 0 up to n-2.
      {"3: F = P0", {a, p, r}, abc, false, 2, {r, p, a, b, c}, false},
      {"3: F = Pn", {r, p, a}, abc, false, 2, {r, p, a, b, c}, false},
      {"3: F before L when both ends are P0",
       {a, p, r},
       {a, b, a},
       false,
       2,
       {r, p, a, b, a},
       false},
      // addPolyTail n-2 down to 0, and 1 up to n-1.
      {"4: L = Pn", {t, s, c}, abc, false, 2, {a, b, c, s, t}, false},
      {"4: L = P0", {c, s, t}, abc, false, 2, {a, b, c, s, t}, false},
      {"5: no end meets", {far, p}, abc, false, 0, abc, false},
      {"closed pieces are not chained", {c, s, t}, abc, true, 0, abc, false},
      {"one point is not a piece", {c}, abc, false, 0, abc, false},
  };
  for (const auto& k : cases) {
    const std::unique_ptr<CEntPolyline> piece(polyline(k.piece, k.pieceClosed));
    expectAdding(*piece, k.target, false, k.count, k.want, k.closed, k.what);
  }
}

TEST_F(PolyAdderTest, CopiedVerticesKeepTheirWidths) {
  const std::unique_ptr<CEntPolyline> target(polyline(abc));
  const std::unique_ptr<CEntPolyline> tail(
      polyline({c, PNT_3D(3, 0, 0), PNT_3D(4, 0, 0)}, false, true));
  const std::unique_ptr<CEntPolyline> ahead(
      polyline({PNT_3D(0, 2, 0), PNT_3D(0, 1, 0), a}, false, true));
  CEntPolyAdderVisitor adder(d->getHandleGestor(), d->getEntFactory(), *target, false);
  ASSERT_EQ(adder.visit(tail.get()), 2);
  expectBoxCurrent(*target, "wide tail");
  ASSERT_EQ(adder.visit(ahead.get()), 2);
  expectBoxCurrent(*target, "wide run ahead");
  // Target vertices 0, 1 are copies of vertices 0, 1 of ahead; 5, 6 of vertices 1, 2 of tail.
  const int copyOf[] = {0, 1, -1, -1, -1, 1, 2};
  for (int i : {0, 1, 5, 6}) {
    EXPECT_EQ((*target)[i].GetWidthStart(), copyOf[i]) << i;
    EXPECT_EQ((*target)[i].GetWidthEnd(), copyOf[i] + 0.5) << i;
  }
}

// In a listed target the new vertices' handles are reserved, so they leave with the target.
TEST_F(PolyAdderTest, ListedTargetReservesNewVertexHandles) {
  for (const bool inTable : {false, true}) {
    CEntPolyline* target = polyline(abc).release();
    d->getEntTable().add(target);
    CEntPolyAdderVisitor adder(d->getHandleGestor(), d->getEntFactory(), *target, inTable);
    const std::unique_ptr<CEntLine> l(line(c, PNT_3D(5, 0, 0)));
    const std::unique_ptr<CEntPolyline> piece(polyline({PNT_3D(0, 3, 0), PNT_3D(0, 2, 0), a}));
    ASSERT_EQ(adder.visit(l.get()), 1);
    ASSERT_EQ(adder.visit(piece.get()), 2);
    const long added[] = {(*target)[0].GetHandle(), (*target)[1].GetHandle(),
                          (*target)[5].GetHandle()};
    d->getEntTable().remove(target);
    for (long h : added) EXPECT_EQ(handleFree(d->getHandleGestor(), h), inTable) << inTable;
    d->getEntFactory().unbookHandle(d->getHandleGestor(), target);
    delete target;
  }
}

// A ring cut into pieces of 1 to 4 segments (lines and polylines), shuffled and partly reversed,
// is rebuilt by adding the pieces left over and over until nothing more joins.
TEST_F(PolyAdderTest, ShuffledPiecesRebuildTheRing) {
  Pts ring;
  for (int i = 0; i < 10; ++i) ring.emplace_back(i, 0, 0);
  for (int i = 0; i < 10; ++i) ring.emplace_back(10, i, 0);
  for (int i = 10; i > 0; --i) ring.emplace_back(i, 10, 0);
  for (int i = 10; i > 0; --i) ring.emplace_back(0, i, 0);
  const std::size_t n = ring.size();
  std::mt19937 rng(20240611);
  for (int trial = 0; trial < 5; ++trial) {
    std::vector<std::unique_ptr<CEnt>> pieces;
    for (std::size_t from = 0; from < n;) {
      const std::size_t len = std::min<std::size_t>(1 + rng() % 4, n - from);
      Pts run;
      for (std::size_t k = from; k <= from + len; ++k) run.push_back(ring[k % n]);
      if (rng() % 2) std::reverse(run.begin(), run.end());
      if (len == 1)
        pieces.push_back(line(run[0], run[1]));
      else
        pieces.push_back(polyline(run));
      from += len;
    }
    std::shuffle(pieces.begin(), pieces.end(), rng);
    const std::unique_ptr<CEntPolyline> target(polyline({}));
    CEntPolyAdderVisitor adder(d->getHandleGestor(), d->getEntFactory(), *target, false);
    long segments = 0;
    for (long added = 1; added != 0;) {
      added = 0;
      for (auto it = pieces.begin(); it != pieces.end();) {
        const long count = adder.visit(it->get());
        added += count;
        it = count != 0 ? pieces.erase(it) : it + 1;
      }
      segments += added;
    }
    EXPECT_TRUE(pieces.empty());
    EXPECT_TRUE(target->isClosed());
    EXPECT_EQ(segments, static_cast<long>(n));
    const Pts got = points(*target);
    ASSERT_EQ(got.size(), n);
    const std::size_t at = std::find(ring.begin(), ring.end(), got[0]) - ring.begin();
    ASSERT_LT(at, n);
    const bool forward = got[1] == ring[(at + 1) % n];
    for (std::size_t i = 0; i < n; ++i)
      EXPECT_EQ(got[i], ring[forward ? (at + i) % n : (at + n - i) % n]) << trial << " " << i;
  }
}
